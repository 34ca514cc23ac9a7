#pragma once
// The host's calls: every export a plug-in may have, by name, with the
// Windows calling convention and the arguments the host passes. The
// plug-ins' export sources include this, so an export that differs from it
// does not compile (on 32-bit x86 the declaration also makes a definition
// without WINAPI stdcall); kvhost and the tests find the exports with
// GetProcAddress, which gives no type, and call them through these.
#include <windows.h>

#include <type_traits>

// One line per export: its name, its ordinal in a replay plug-in and in a
// picture plug-in (0: that kind has none), and its arguments; every export
// answers an int. The build reads these lines too (cmake/PluginExports.cmake):
// each plug-in's export definition and the check of its built export table
// are made from them, so keep each entry on one line of this shape. The
// ordinals are the ones the plug-ins have always had.
#define KVP_PLUGIN_EXPORTS(X)                                                      \
    X(GetPluginRevision, 7, 5, ())                                                 \
    X(GetPluginInfo, 1, 1, (int index, LPSTR buffer, int bufferSize))              \
    X(IsSupported, 8, 6, (LPCSTR pathOrImage, DWORD imageSize))                    \
    X(GetColumnInfo, 3, 2, (HLOCAL* columns))                                      \
    X(GetFileInfoList, 4, 4, (LPCSTR pathOrImage, DWORD imageSize, HLOCAL* row))   \
    X(GetFileInfoText1, 5, 0, (LPCSTR pathOrImage, DWORD imageSize, HLOCAL* text)) \
    X(GetFileInfoText2, 6, 0, (LPCSTR pathOrImage, DWORD imageSize, HLOCAL* text)) \
    X(EditDialog, 2, 0, (HWND parent, LPCSTR path))                                \
    X(GetFileInfoImage2, 0, 3, (LPCSTR pathOrImage, DWORD imageSize, HLOCAL* bits, HLOCAL* info))

extern "C" {
#define KVP_DECLARE_EXPORT(name, replayOrdinal, pictureOrdinal, arguments) int WINAPI name arguments;
KVP_PLUGIN_EXPORTS(KVP_DECLARE_EXPORT)
#undef KVP_DECLARE_EXPORT
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
// each under that name and of its declared type; null where the plug-in has
// none.
struct PluginExportTable {
#define KVP_EXPORT_MEMBER(name, replayOrdinal, pictureOrdinal, arguments) decltype(&::name) name = nullptr;
    KVP_PLUGIN_EXPORTS(KVP_EXPORT_MEMBER)
#undef KVP_EXPORT_MEMBER
};

inline PluginExportTable FindPluginExports(HMODULE module) noexcept
{
    PluginExportTable found;
#define KVP_FIND_EXPORT(name, replayOrdinal, pictureOrdinal, arguments) \
    found.name = reinterpret_cast<decltype(&::name)>(reinterpret_cast<void*>(GetProcAddress(module, #name)));
    KVP_PLUGIN_EXPORTS(KVP_FIND_EXPORT)
#undef KVP_FIND_EXPORT
    return found;
}
