// The exports of a picture plug-in beyond the common ones. Compiled into each
// picture plug-in, with the plug-in's own reader class (CPluginReader, which
// its folder's Description.h names).
#include <windows.h>

#include "common/PluginExports.h"
#include "common/PluginFrame.h"
#include "common/PluginModule.h"
#include "common/PluginReader.h"
#include "image/ImageRows.h"
#include "image/MakeImage.h"

extern "C" {

int WINAPI GetFileInfoList(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* row)
{
    return GuardExport<int>(Failure, [&] {
        const CPluginReader reader;
        return WithPluginFile(reader, pathOrImage, imageSize, [&](const char* image, uint32_t size, const char*) {
            return MakeListInfo(reader, image, size, row);
        });
    });
}

int WINAPI GetFileInfoImage2(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* bits, HLOCAL* info)
{
    return GuardExport<int>(Failure, [&] {
        const CPluginReader reader;
        return WithPluginFile(reader, pathOrImage, imageSize, [&](const char* image, uint32_t size, const char*) {
            return MakeImage(reader, image, size, bits, info);
        });
    });
}

}  // extern "C"
