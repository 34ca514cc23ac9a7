#pragma once
// The host's calls: every export a plug-in may have, by name, with the
// Windows calling convention and the arguments the host passes. The
// plug-ins' export sources include this, so an export that differs from it
// does not compile (on 32-bit x86 the declaration also makes a definition
// without WINAPI stdcall); kvhost and the tests find the exports with
// GetProcAddress, which gives no type, and call them through these.
#include <windows.h>

#include <type_traits>

extern "C" {
int WINAPI GetPluginRevision();
int WINAPI GetPluginInfo(int index, LPSTR buffer, int bufferSize);
int WINAPI IsSupported(LPCSTR pathOrImage, DWORD imageSize);
int WINAPI GetColumnInfo(HLOCAL* columns);
int WINAPI GetFileInfoList(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* row);
// Replay plug-ins only.
int WINAPI GetFileInfoText1(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* text);
int WINAPI GetFileInfoText2(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* text);
int WINAPI EditDialog(HWND parent, LPCSTR path);
// Picture plug-ins only.
int WINAPI GetFileInfoImage2(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* bits, HLOCAL* info);
}

using GetPluginRevisionFn = decltype(&GetPluginRevision);
using GetPluginInfoFn = decltype(&GetPluginInfo);
using IsSupportedFn = decltype(&IsSupported);
using GetColumnInfoFn = decltype(&GetColumnInfo);
// GetFileInfoList, GetFileInfoText1 and GetFileInfoText2.
using FileInfoFn = decltype(&GetFileInfoList);
using EditDialogFn = decltype(&EditDialog);
using GetFileInfoImage2Fn = decltype(&GetFileInfoImage2);

static_assert(std::is_same<FileInfoFn, decltype(&GetFileInfoText1)>::value &&
                  std::is_same<FileInfoFn, decltype(&GetFileInfoText2)>::value,
              "the three file-info exports share one type");

// Every export of a loaded plug-in, found by its name as the host finds it,
// each under that name and of its type above; null where the plug-in has
// none.
struct PluginExportTable {
    GetPluginRevisionFn GetPluginRevision = nullptr;
    GetPluginInfoFn GetPluginInfo = nullptr;
    IsSupportedFn IsSupported = nullptr;
    GetColumnInfoFn GetColumnInfo = nullptr;
    FileInfoFn GetFileInfoList = nullptr;
    FileInfoFn GetFileInfoText1 = nullptr;
    FileInfoFn GetFileInfoText2 = nullptr;
    EditDialogFn EditDialog = nullptr;
    GetFileInfoImage2Fn GetFileInfoImage2 = nullptr;
};

inline PluginExportTable FindPluginExports(HMODULE module) noexcept
{
    PluginExportTable found;
#define KVP_FIND_EXPORT(name) \
    found.name = reinterpret_cast<decltype(&::name)>(reinterpret_cast<void*>(GetProcAddress(module, #name)))
    KVP_FIND_EXPORT(GetPluginRevision);
    KVP_FIND_EXPORT(GetPluginInfo);
    KVP_FIND_EXPORT(IsSupported);
    KVP_FIND_EXPORT(GetColumnInfo);
    KVP_FIND_EXPORT(GetFileInfoList);
    KVP_FIND_EXPORT(GetFileInfoText1);
    KVP_FIND_EXPORT(GetFileInfoText2);
    KVP_FIND_EXPORT(EditDialog);
    KVP_FIND_EXPORT(GetFileInfoImage2);
#undef KVP_FIND_EXPORT
    return found;
}
