#pragma once
// Drives the comment editor's modal dialog from a helper thread while the
// test's thread runs it: finds it, types, presses its buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "wine/TestThread.h"

namespace dialog_driver {

constexpr int kEditId = 1001;

inline std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(size_t(length) + 1, '\0');
    text.resize(size_t(GetWindowTextA(window, &text[0], length + 1)));
    return text;
}

inline std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct WindowSearch {
    const std::function<bool(HWND)>* match;
    HWND found;
};

// A CALLBACK function, not a lambda: on 32-bit x86 the two conventions differ.
inline BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM p)
{
    auto* search = reinterpret_cast<WindowSearch*>(p);
    if (!IsWindowVisible(window) || !(*search->match)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// How long a window is waited for, or waited on to close: only a failing
// test waits that long, so it is ample for a machine under any load.
constexpr DWORD kPatienceMs = 30000;

// A visible top-level window of a thread that matches, or null.
inline HWND FindWindowOf(DWORD thread, const std::function<bool(HWND)>& match)
{
    WindowSearch search{&match, nullptr};
    EnumThreadWindows(thread, MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The same, polled until one shows up.
inline HWND WaitForWindow(DWORD thread, const std::function<bool(HWND)>& match)
{
    for (DWORD waited = 0; waited < kPatienceMs; waited += 10) {
        if (const HWND found = FindWindowOf(thread, match)) return found;
        Sleep(10);
    }
    return nullptr;
}

// Polls until the window is gone.
inline bool WaitUntilClosed(HWND window)
{
    for (DWORD waited = 0; waited < kPatienceMs && IsWindow(window); waited += 10) Sleep(10);
    return !IsWindow(window);
}

inline bool IsEditDialog(HWND window)
{
    return ClassOf(window) == "#32770" && GetDlgItem(window, kEditId) != nullptr;
}

// What the helper thread works with while the dialog is up.
struct Dialog {
    HWND window;
    DWORD thread;

    HWND Edit() const { return GetDlgItem(window, kEditId); }
    std::string Text() const { return WindowText(Edit()); }

    void SetText(const std::string& text) const { SetWindowTextA(Edit(), text.c_str()); }
    // Keys as the edit control receives them; Enter is '\r'.
    void Type(const std::string& keys) const
    {
        for (unsigned char c : keys) SendMessageA(Edit(), WM_CHAR, c, 1);
    }
    // Shift-JIS text as an input method hands it to an ANSI window: each
    // double-byte character in one WM_IME_CHAR, lead byte high.
    void TypeJapanese(const std::string& text) const
    {
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < text.size()) {
                SendMessageA(Edit(), WM_IME_CHAR, WPARAM(c) << 8 | static_cast<unsigned char>(text[++i]), 1);
            } else {
                SendMessageA(Edit(), WM_CHAR, c, 1);
            }
        }
    }
    // Pasted at the caret, as the clipboard would put it in.
    void Paste(const std::string& text) const
    {
        SendMessageA(Edit(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void SelectAll() const { SendMessageA(Edit(), EM_SETSEL, 0, -1); }
    void CaretToEnd() const
    {
        const LRESULT end = GetWindowTextLengthA(Edit());
        SendMessageA(Edit(), EM_SETSEL, WPARAM(end), end);
    }

    // Posted, so that a message box on the dialog's thread cannot block us.
    void Press(int id) const { PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
    void PressEscape() const
    {
        PostMessageA(Edit(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(Edit(), WM_KEYUP, VK_ESCAPE, 0xC0010001);
    }
    void CloseBox() const { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

    // A message box over the dialog, as a failed save shows one.
    bool IsMessageBoxOver(HWND other) const
    {
        return ClassOf(other) == "#32770" && GetWindow(other, GW_OWNER) == window;
    }
    // The message box that a failed save shows: its text, after which it is
    // dismissed. Empty if none appears.
    std::string DismissMessageBox() const
    {
        const HWND box = WaitForWindow(thread, [&](HWND w) { return IsMessageBoxOver(w); });
        if (!box) return "";
        const std::string text = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntilClosed(box)) << "the message box did not close";
        return text;
    }
};

// Runs the dialog on this thread while script drives the dialog from a helper
// thread. Whatever the script leaves open is cancelled once the dialog has
// had ample time to end, so that a failing test ends instead of hanging.
inline int RunDialog(const std::function<int()>& openDialog, const std::function<void(const Dialog&)>& script)
{
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> ended{false};
    TestThread helper([&] {
        const HWND window = WaitForWindow(uiThread, IsEditDialog);
        if (!window) {
            ADD_FAILURE() << "the dialog did not show";
            return;
        }
        script(Dialog{window, uiThread});
        for (DWORD waited = 0; waited < kPatienceMs && !ended; waited += 10) Sleep(10);
        const Dialog dialog{window, uiThread};
        while (!ended) {
            ADD_FAILURE() << "the dialog is still open; cancelling it";
            if (const HWND box = FindWindowOf(uiThread, [&](HWND w) { return dialog.IsMessageBoxOver(w); }))
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            Sleep(200);
        }
    });
    const int result = openDialog();
    ended = true;
    helper.join();
    return result;
}


}  // namespace dialog_driver
