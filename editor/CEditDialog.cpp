#include "editor/CEditDialog.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "common/LoadFile.h"
#include "common/PluginReader.h"
#include "common/ShiftJis.h"
#include "editor/TypedText.h"

namespace {

// "ＭＳ ゴシック"
const char kFontFace[] = "\x82l\x82r \x83S\x83V\x83" "b\x83N";
constexpr int kFontHeight = 14;

// "コメントの編集", the dialog's title, for the message box.
const char kCaption[] = "\x83R\x83\x81\x83\x93\x83g\x82\xCC\x95\xD2\x8FW";

// "コメントを保存できませんでした。"
const char kNotSaved[] =
    "\x83R\x83\x81\x83\x93\x83g\x82\xF0\x95\xDB\x91\xB6\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81" "B";

const char* Reason(CommentFault fault) noexcept
{
    switch (fault) {
    case CommentFault::ReadOnly:      // "ファイルが読み取り専用です。"
        return "\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x93\xC7\x82\xDD\x8E\xE6\x82\xE8\x90\xEA\x97p\x82\xC5\x82\xB7\x81" "B";
    case CommentFault::Vanished:      // "ファイルが見つかりません。"
        return "\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B";
    case CommentFault::NotThisGame:   // "このゲームのリプレイファイルではありません。"
        return "\x82\xB1\x82\xCC\x83Q\x81[\x83\x80\x82\xCC\x83\x8A\x83v\x83\x8C\x83" "C\x83t\x83@\x83"
               "C\x83\x8B\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B";
    case CommentFault::NotAFile:      // "フォルダはリプレイファイルではありません。"
        return "\x83t\x83H\x83\x8B\x83_\x82\xCD\x83\x8A\x83v\x83\x8C\x83" "C\x83t\x83@\x83"
               "C\x83\x8B\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B";
    case CommentFault::BadLayout:     // "このリプレイファイルの構造は書き換えられません。"
        return "\x82\xB1\x82\xCC\x83\x8A\x83v\x83\x8C\x83" "C\x83t\x83@\x83" "C\x83\x8B\x82\xCC\x8D\\\x91\xA2"
               "\x82\xCD\x8F\x91\x82\xAB\x8A\xB7\x82\xA6\x82\xE7\x82\xEA\x82\xDC\x82\xB9\x82\xF1\x81" "B";
    case CommentFault::Unreadable:    // "ファイルを読み込めませんでした。"
        return "\x83t\x83@\x83" "C\x83\x8B\x82\xF0\x93\xC7\x82\xDD\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81" "B";
    case CommentFault::OutOfMemory:   // "メモリが足りません。"
        return "\x83\x81\x83\x82\x83\x8A\x82\xAA\x91\xAB\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B";
    case CommentFault::None:
    case CommentFault::WriteFailed:   // "ファイルに書き込めませんでした。"
        break;
    }
    return "\x83t\x83@\x83" "C\x83\x8B\x82\xC9\x8F\x91\x82\xAB\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD\x81" "B";
}

// Where the caret stands after the text `head`: in the edit control's own
// units, which are bytes on Windows and UTF-16 units under Wine. The control
// measures them itself: it holds just that text for a moment.
LPARAM CaretAfter(HWND edit, const ControlText& head)
{
    SetWindowTextA(edit, head.Text());
    SendMessageA(edit, EM_SETSEL, WPARAM(INT_MAX), LPARAM(INT_MAX));   // clamped to the end
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
    return LPARAM(end);
}

// Marks the dialog's own changes of the text, on every way out.
class Adjusting {
public:
    explicit Adjusting(bool& flag) noexcept : m_flag(flag) { m_flag = true; }
    ~Adjusting() { m_flag = false; }
    Adjusting(const Adjusting&) = delete;
    Adjusting& operator=(const Adjusting&) = delete;

private:
    bool& m_flag;
};

}  // namespace

bool ControlText::Allocate(size_t size) noexcept
{
    m_bytes.reset(size < SIZE_MAX ? new (std::nothrow) char[size + 1]() : nullptr);
    m_size = m_bytes ? size : 0;
    return m_bytes != nullptr;
}

bool ControlText::Read(HWND window) noexcept
{
    const int length = GetWindowTextLengthA(window);   // may overstate, never understates
    if (!Allocate(size_t(length > 0 ? length : 0))) return false;
    if (length <= 0) return true;
    const int read = GetWindowTextA(window, m_bytes.get(), length + 1);
    m_size = read > 0 ? std::min(size_t(read), m_size) : 0;
    m_bytes[m_size] = '\0';
    return true;
}

bool ControlText::Assign(const char* bytes, size_t size) noexcept
{
    if (!Allocate(size)) return false;
    if (size) std::memcpy(m_bytes.get(), bytes, size);
    return true;
}

void ControlText::Erase(size_t at, size_t count) noexcept
{
    std::memmove(m_bytes.get() + at, m_bytes.get() + at + count, m_size - at - count + 1);
    m_size -= count;
}

INT_PTR CEditDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_CLOSE:
        EndDialog(m_hWnd, IDCANCEL);
        return 0;
    case WM_INITDIALOG:
        return OnInitDialog(m_hWnd);
    case WM_COMMAND:
        if (LOWORD(wParam) == kCommentEditId && HIWORD(wParam) == EN_CHANGE)
            OnTextChanged(GetDlgItem(m_hWnd, kCommentEditId));
        OnCommand(m_hWnd, LOWORD(wParam));
        return 0;
    default:
        return 0;
    }
}

BOOL CEditDialog::OnInitDialog(HWND hwnd)
{
    const HWND edit = GetDlgItem(hwnd, kCommentEditId);
    // Binds typing only: a longer stored comment is still shown whole. It
    // counts bytes in some controls, characters in others; OnTextChanged
    // makes it bytes everywhere.
    SendMessageA(edit, EM_LIMITTEXT, WPARAM(m_textLimit), 0);
    m_font.Reset(CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                             kFontFace));
    if (m_font.Get()) SendMessageA(edit, WM_SETFONT, WPARAM(m_font.Get()), TRUE);
    {
        const Adjusting shown(m_adjusting);
        ShowComment(edit);
    }
    m_text.Read(edit);
    return TRUE;   // the focus goes to the edit control
}

// After every change of the text: a change that takes it past the limit in
// bytes keeps only the whole characters that fit, and the caret stays behind
// them. The edit control's own limit lets twice the bytes of Japanese text
// in where it counts characters.
void CEditDialog::OnTextChanged(HWND edit)
{
    if (m_adjusting) return;
    // Out of memory, the change stays as it is, unmeasured.
    ControlText now;
    if (!now.Read(edit)) return;
    const FittedText fitted = FitTypedChange(m_text.View(), now.View(), size_t(m_textLimit));
    if (fitted.cut) {
        now.Erase(fitted.caret, fitted.dropped);
        ControlText head;
        if (!head.Assign(now.Text(), fitted.caret)) return;
        const Adjusting cutting(m_adjusting);
        const LPARAM caret = CaretAfter(edit, head);
        SetWindowTextA(edit, now.Text());
        SendMessageA(edit, EM_SETSEL, WPARAM(caret), caret);
        SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    }
    m_text = std::move(now);
}

// The stored comment up to its first NUL, and never past its section's end.
// A file that cannot be read or holds no comment section shows an empty
// control: OK then gives it its first comment.
void CEditDialog::ShowComment(HWND edit)
{
    smart_array<char> file;
    if (!LoadFile(m_fileName, file, 0)) return;
    const char* payload = nullptr;
    uint32_t size = 0;
    if (CPluginReader().GetCommentSection(file.data, file.size, &payload, &size) != 0) return;
    const void* end = std::memchr(payload, '\0', size);
    ControlText shown;
    if (shown.Assign(payload, end ? static_cast<const char*>(end) - payload : size)) SetWindowTextA(edit, shown.Text());
}

void CEditDialog::OnCommand(HWND hwnd, int id)
{
    if (id == IDCANCEL) {
        EndDialog(hwnd, IDCANCEL);
        return;
    }
    if (id != IDOK) return;

    // All the control holds (a longer stored comment is shown whole), then
    // its first m_textLimit bytes, cut on a whole character.
    const HWND edit = GetDlgItem(hwnd, kCommentEditId);
    const int held = GetWindowTextLengthA(edit);   // may overstate, never understates
    const size_t capacity = size_t(held > 0 ? held : 0) + 1;
    const std::unique_ptr<char[]> text(new (std::nothrow) char[capacity]);
    if (!text) {
        ReportFailure(hwnd, CommentFault::OutOfMemory);
        return;
    }
    const int read = GetWindowTextA(edit, text.get(), int(capacity));
    if (held > 0 && read <= 0) {
        // The text is there but could not be had: storing an empty comment
        // would lose it.
        ReportFailure(hwnd, CommentFault::OutOfMemory);
        return;
    }
    const size_t got = read > 0 ? std::min(size_t(read), capacity - 1) : 0;
    const size_t length = sjis::FitLength(text.get(), got, size_t(m_textLimit));
    text[length] = '\0';

    CommentFault fault = CommentFault::None;
    if (CPluginReader().WriteComment(m_fileName, text.get(), int(length + 1), &fault) != kCommentWritten) {
        ReportFailure(hwnd, fault);   // the dialog stays, and so does the text
        return;
    }
    EndDialog(hwnd, IDOK);
}

void CEditDialog::ReportFailure(HWND hwnd, CommentFault fault)
{
    // Every reason is well under 100 bytes.
    char message[sizeof kNotSaved + 2 + 100];
    std::strcpy(message, kNotSaved);
    std::strcat(message, "\r\n");
    std::strncat(message, Reason(fault), 100);
    MessageBoxA(hwnd, message, kCaption, MB_OK | MB_ICONWARNING);
}
