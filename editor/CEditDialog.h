#pragma once
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string_view>

#include "editor/CDialogBase.h"
#include "replay/CommentWriteBack.h"

constexpr int kEditDialogTemplate = 101;
constexpr int kCommentEditId = 1001;
constexpr int kCommentTextLimit = 30000;

// Bytes of text with a NUL behind them, on the heap. The editor does without
// std::string, which would link the C++ library's strings and its exception
// types into the plug-in: most of its size.
class ControlText {
public:
    // All the text the window holds, however long; a copy of `size` bytes.
    // False, and the text empty, when the memory for it is not there.
    bool Read(HWND window) noexcept;
    bool Assign(const char* bytes, size_t size) noexcept;
    // Takes out `count` bytes at `at`, which lie within the text.
    void Erase(size_t at, size_t count) noexcept;

    const char* Text() const noexcept { return m_bytes ? m_bytes.get() : ""; }
    std::string_view View() const noexcept { return {Text(), m_size}; }

private:
    // Room for `size` bytes and the NUL, all zero.
    bool Allocate(size_t size) noexcept;

    std::unique_ptr<char[]> m_bytes;
    size_t m_size = 0;
};

// The comment editor of a replay plug-in: dialog template 101 with the
// replay's comment in a multi-line edit control. Typing stops at 30000 bytes
// of Shift-JIS text; a longer stored comment is shown whole. OK writes the
// text back, cut to 30000 bytes on a whole character, and ends the dialog
// only once it is written; when the write fails, a message box owned by the
// dialog says why and the dialog stays open with the text as typed. Cancel,
// Esc and the close box end it with IDCANCEL and leave the file alone.
// Compiled into each replay plug-in with its own reader.
class CEditDialog : public CDialogBase {
public:
    explicit CEditDialog(const char* fileName) noexcept : m_fileName(fileName) {}

    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog(HWND hwnd);
    void OnCommand(HWND hwnd, int id);

    const char* m_fileName;               // the full path, borrowed from EditDialog
    int m_textLimit = kCommentTextLimit;  // longest comment the user can type

private:
    // The edit control's font: it must outlive the control, so the dialog
    // object owns it and deletes it when the object dies, after the dialog
    // has ended.
    class Font {
    public:
        Font() noexcept = default;
        ~Font() { if (m_font) DeleteObject(m_font); }
        Font(const Font&) = delete;
        Font& operator=(const Font&) = delete;
        void Reset(HFONT font) noexcept
        {
            if (m_font) DeleteObject(m_font);
            m_font = font;
        }
        HFONT Get() const noexcept { return m_font; }

    private:
        HFONT m_font = nullptr;
    };

    void ShowComment(HWND edit);
    void OnTextChanged(HWND edit);
    void ReportFailure(HWND hwnd, CommentFault fault);

    Font m_font;
    ControlText m_text;        // what the edit control held after the last change
    bool m_adjusting = false;  // the dialog itself is changing the text
};
