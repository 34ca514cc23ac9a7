// The exports of a replay plug-in beyond the common ones (and the comment
// editor's). Compiled into each replay plug-in, with the plug-in's own
// reader class (CPluginReader, which its folder's Description.h names).
#include <windows.h>

#include "common/PluginExports.h"
#include "common/PluginFrame.h"
#include "common/PluginModule.h"
#include "common/PluginReader.h"
#include "replay/ReplayRows.h"
#include "replay/TextPanes.h"

namespace {

PluginResult InfoText(TextKind kind, LPCSTR pathOrImage, DWORD imageSize, HLOCAL* text)
{
    const CPluginReader reader;
    return WithPluginFile(reader, pathOrImage, imageSize, [&](const char* image, uint32_t size, const char*) {
        return MakeInfoText(reader, kind, image, size, text);
    });
}

}  // namespace

extern "C" {

int WINAPI GetFileInfoList(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* row)
{
    return GuardExport<int>(Failure, [&] {
        const CPluginReader reader;
        return WithPluginFile(reader, pathOrImage, imageSize, [&](const char* image, uint32_t size, const char* name) {
            return MakeListInfo(reader, image, size, row, name);
        });
    });
}

int WINAPI GetFileInfoText1(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* text)
{
    return GuardExport<int>(Failure, [&] { return InfoText(TextKind::Information, pathOrImage, imageSize, text); });
}

int WINAPI GetFileInfoText2(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* text)
{
    return GuardExport<int>(Failure, [&] { return InfoText(TextKind::Comment, pathOrImage, imageSize, text); });
}

}  // extern "C"
