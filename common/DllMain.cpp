#include <windows.h>

#include "common/PluginModule.h"

HINSTANCE g_hInstance = nullptr;

// The host loads the plug-in into its own process: keep the module handle
// (the dialog template lives in our resources) and do nothing else here.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) g_hInstance = instance;
    return TRUE;
}
