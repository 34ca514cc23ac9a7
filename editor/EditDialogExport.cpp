// The comment editor export: shows dialog 101 for the replay at path. The
// result is 0 only when OK wrote the comment into the file, 1 otherwise
// (Cancel, Esc, the close box, or a dialog that could not be made).
#include <windows.h>

#include "common/PluginExports.h"
#include "common/PluginModule.h"
#include "editor/CEditDialog.h"
#include "replay/WindowsFileSystem.h"

extern "C" int WINAPI EditDialog(HWND parent, LPCSTR path)
{
    return GuardExport(1, [&] {
        if (!path) return 1;
        // The host's other threads may change the current folder while the
        // dialog is up: the path is made full once, here, and the file it
        // names is the one shown and the one written.
        smart_array<char> full;
        if (!WindowsFileSystem().FullPath(path, full)) return 1;
        CEditDialog dialog(full.data);
        const INT_PTR ended = DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(kEditDialogTemplate), parent,
                                              CDialogBase::DialogProc, reinterpret_cast<LPARAM>(&dialog));
        return ended == IDOK ? 0 : 1;
    });
}
