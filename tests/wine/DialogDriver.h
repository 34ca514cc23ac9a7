#pragma once
// Drives the comment editor's modal dialog from a helper thread while the
// test's thread runs it: finds it, types, presses its buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>

#include "wine/TestThread.h"

namespace dialog_driver {

constexpr int kEditId = 1001;
// Only a failing test waits this long for a window, or for it to close.
constexpr DWORD kPatienceMs = 30000;

inline std::string WindowText(HWND window)
{
    std::string text(size_t(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(size_t(GetWindowTextA(window, &text[0], int(text.size()))));
    return text;
}

inline bool IsDialogBox(HWND window)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::string(name) == "#32770";
}

using WindowSearch = std::pair<const std::function<bool(HWND)>*, HWND>;

// A CALLBACK function, not a lambda: on 32-bit x86 the two conventions differ.
inline BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM p)
{
    auto* search = reinterpret_cast<WindowSearch*>(p);
    if (IsWindowVisible(window) && (*search->first)(window)) search->second = window;
    return !search->second;
}

// A visible top-level window of the thread that matches, polled for; or null.
inline HWND WaitForWindow(DWORD thread, const std::function<bool(HWND)>& match,
                          const std::atomic<bool>* stop = nullptr, DWORD patienceMs = kPatienceMs)
{
    for (DWORD waited = 0;; waited += 10) {
        WindowSearch search{&match, nullptr};
        EnumThreadWindows(thread, MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.second || waited >= patienceMs || (stop && *stop)) return search.second;
        Sleep(10);
    }
}

inline bool IsEditDialog(HWND window) { return IsDialogBox(window) && GetDlgItem(window, kEditId); }

// What the helper thread works with while the dialog is up.
struct Dialog {
    HWND window;
    DWORD thread;

    HWND Edit() const { return GetDlgItem(window, kEditId); }
    std::string Text() const { return WindowText(Edit()); }
    void SetText(const std::string& text) const { SetWindowTextA(Edit(), text.c_str()); }
    // Keys as the edit control receives them; Enter is '\r'.
    void Type(const std::string& keys) const { for (unsigned char c : keys) SendMessageA(Edit(), WM_CHAR, c, 1); }
    // At the caret, as the clipboard would put it in.
    void Paste(const std::string& text) const { SendMessageA(Edit(), EM_REPLACESEL, TRUE, LPARAM(text.c_str())); }
    void Select(int from, int to) const { SendMessageA(Edit(), EM_SETSEL, WPARAM(from), to); }

    // Posted, so that a message box on the dialog's thread cannot block us.
    void Press(int id) const { PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
    void PressEscape() const { PostMessageA(Edit(), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }
    void CloseBox() const { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

    bool IsMessageBoxOver(HWND other) const { return IsDialogBox(other) && GetWindow(other, GW_OWNER) == window; }
    // The text of the message box that shows, dismissed; empty if none.
    std::wstring DismissMessageBox() const
    {
        const HWND box = WaitForWindow(thread, [&](HWND w) { return IsMessageBoxOver(w); });
        wchar_t text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (DWORD waited = 0; waited < kPatienceMs && IsWindow(box); waited += 10) Sleep(10);
        EXPECT_FALSE(box && IsWindow(box)) << "the message box did not close";
        return text;
    }
};

// Runs openDialog here while script drives the dialog from another thread;
// what the script leaves open is cancelled, so that a failing test ends.
inline int RunDialog(const std::function<int()>& openDialog, const std::function<void(const Dialog&)>& script,
                     bool mustShow = true)
{
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> ended{false};
    TestThread helper([&] {
        const HWND window = WaitForWindow(uiThread, IsEditDialog, &ended);
        if (!window) {
            if (mustShow) ADD_FAILURE() << "the dialog did not show";
            return;
        }
        const Dialog dialog{window, uiThread};
        script(dialog);
        for (DWORD waited = 0; waited < kPatienceMs && !ended; waited += 10) Sleep(10);
        while (!ended) {
            ADD_FAILURE() << "the dialog is still open; cancelling it";
            if (const HWND box = WaitForWindow(uiThread, [&](HWND w) { return dialog.IsMessageBoxOver(w); }, &ended, 0))
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
