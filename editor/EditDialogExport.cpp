// The comment editor export: shows dialog 101 for the replay at path. The
// result is 0 only when OK wrote the comment into the file, 1 otherwise
// (Cancel, Esc, the close box, or a dialog that could not be made).
#include <windows.h>

#include "common/PluginExports.h"
#include "common/PluginModule.h"
#include "editor/CEditDialog.h"

extern "C" int WINAPI EditDialog(HWND parent, LPCSTR path)
{
    return GuardExport(1, [&] {
        if (!path) return 1;
        CEditDialog dialog(path);
        const INT_PTR ended = DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(kEditDialogTemplate), parent,
                                              CDialogBase::DialogProc, reinterpret_cast<LPARAM>(&dialog));
        return ended == IDOK ? 0 : 1;
    });
}
