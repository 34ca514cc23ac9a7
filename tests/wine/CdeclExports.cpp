// The replay plug-in's exports without WINAPI: what the export check must
// refuse on 32-bit x86, where the host's calls rely on stdcall.
#include <windows.h>

extern "C" {
int GetPluginRevision() { return 2; }
int GetPluginInfo(int, LPSTR, int) { return 0; }
int IsSupported(LPCSTR, DWORD) { return 0; }
int GetColumnInfo(HLOCAL*) { return 5; }
int GetFileInfoList(LPCSTR, DWORD, HLOCAL*) { return 5; }
int GetFileInfoText1(LPCSTR, DWORD, HLOCAL*) { return 5; }
int GetFileInfoText2(LPCSTR, DWORD, HLOCAL*) { return 5; }
int EditDialog(HWND, LPCSTR) { return 1; }
}
