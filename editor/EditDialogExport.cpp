// The comment editor export. The dialog itself is not built yet: until it
// is, the export shows nothing and answers as for a dialog that was not
// confirmed.
#include <windows.h>

extern "C" int WINAPI EditDialog(HWND, LPCSTR)
{
    return 1;
}
