// Shows the comment editor of a replay plug-in for the README's screenshot.
// Writes a replay with a Japanese comment, opens EditDialog on it, moves the
// dialog to the screen's corner and reports its size in READY; once DONE
// exists, the dialog is cancelled.
// Usage: ShowEditDialog PLUGIN.kvp REPLAY READY DONE
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/PluginExports.h"
#include "tests/wine/TestThread.h"

namespace {

void PutU32(std::string& out, unsigned value)
{
    for (int i = 0; i < 4; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

std::string Section(unsigned type, const std::string& payload)
{
    std::string s("USER");
    PutU32(s, unsigned(payload.size() + 12));
    PutU32(s, type);
    return s + payload;
}

// "夜明けの一面、ノーミスでした。", "ボムは三つ残し。", an empty line and
// "Stage 6 の最後は危なかった。", in Shift-JIS.
const char kComment[] =
    "\x96\xE9\x96\xBE\x82\xAF\x82\xCC\x88\xEA\x96\xCA\x81\x41\x83\x6D\x81\x5B\x83\x7E\x83\x58\x82\xC5\x82\xB5\x82\xBD"
    "\x81\x42\r\n"
    "\x83\x7B\x83\x80\x82\xCD\x8E\x4F\x82\xC2\x8E\x63\x82\xB5\x81\x42\r\n"
    "\r\n"
    "Stage 6 \x82\xCC\x8D\xC5\x8C\xE3\x82\xCD\x8A\xEB\x82\xC8\x82\xA9\x82\xC1\x82\xBD\x81\x42";

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// A CALLBACK function, not a lambda: on 32-bit x86 the two conventions differ.
BOOL CALLBACK FindEditDialog(HWND window, LPARAM found)
{
    if (!GetDlgItem(window, 1001)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: ShowEditDialog PLUGIN.kvp REPLAY READY DONE\n");
        return 2;
    }
    const HMODULE plugin = LoadLibraryA(argv[1]);
    const auto editDialog = plugin ? FindPluginExports(plugin).EditDialog : nullptr;
    if (!editDialog) return 3;

    std::string replay("kvor\x01\x02\x03\x04\x05\x06\x07\x08", 12);
    PutU32(replay, 16);
    replay += Section(0, std::string("Version 1.00a\r\nName Alice\r\n") + '\0');
    replay += Section(1, std::string(kComment) + '\0');
    if (FILE* file = std::fopen(argv[2], "wb")) {
        std::fwrite(replay.data(), 1, replay.size(), file);
        std::fclose(file);
    }

    const DWORD uiThread = GetCurrentThreadId();
    TestThread helper([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 1000 && !dialog; ++i) {
            EnumThreadWindows(uiThread, FindEditDialog, reinterpret_cast<LPARAM>(&dialog));
            Sleep(10);
        }
        if (!dialog) return;
        SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        SendMessageA(dialog, WM_NCACTIVATE, TRUE, 0);   // no window manager activates it
        const HWND edit = GetDlgItem(dialog, 1001);
        SendMessageA(edit, EM_SETSEL, 0, 0);   // caret at the start, nothing selected
        RECT rect;
        GetWindowRect(dialog, &rect);
        Sleep(500);   // let it paint
        if (FILE* ready = std::fopen(argv[3], "w")) {
            std::fprintf(ready, "%ldx%ld\n", rect.right - rect.left, rect.bottom - rect.top);
            std::fclose(ready);
        }
        while (!Exists(argv[4])) Sleep(50);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    const int result = editDialog(nullptr, argv[2]);
    helper.join();
    return result == 1 ? 0 : 1;
}
