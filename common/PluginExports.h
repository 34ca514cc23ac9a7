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
