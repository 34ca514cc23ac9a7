// The exports of a picture plug-in. Compiled into each picture plug-in, with
// the plug-in's own reader class (CPluginReader) taken from its folder.
#include <windows.h>

#include "PluginReader.h"
#include "common/ColumnTable.h"
#include "common/LoadFile.h"
#include "common/PluginModule.h"
#include "image/ImageRows.h"

namespace {

constexpr uint32_t kMagicSize = 4;

bool IsPathMode(DWORD imageSize) noexcept { return imageSize == 0; }

// The frame of GetFileInfoList and GetFileInfoImage2: gate on the signature,
// then hand the whole file (path mode: loaded once, its head checked first)
// to the builder.
template <typename Builder>
PluginResult WithShotFile(LPCSTR pathOrImage, DWORD imageSize, Builder&& build) noexcept
{
    const CPluginReader reader;
    if (!IsPathMode(imageSize)) {
        // A null image passes the gate (IsSupported answers 4) and is refused here.
        if (!pathOrImage) return Failure;
        if (!reader.CheckMagic(pathOrImage, imageSize)) return Unsupported;
        return build(reader, pathOrImage, imageSize);
    }
    // A null path passes the gate too, and then cannot be read.
    if (!pathOrImage) return ReadError;
    smart_array<char> file;
    switch (LoadSupportedFile(pathOrImage, reader, file)) {
    case LoadOutcome::NotSupported: return Unsupported;
    case LoadOutcome::ReadFailed: return ReadError;
    case LoadOutcome::Loaded: break;
    }
    return build(reader, file.data, file.size);
}

}  // namespace

extern "C" {

int WINAPI GetPluginRevision()
{
    return kPluginRevision;
}

int WINAPI GetPluginInfo(int index, LPSTR buffer, int bufferSize)
{
    return CopyPluginInfo(CPluginReader().Profile().strings, index, buffer, bufferSize);
}

int WINAPI IsSupported(LPCSTR pathOrImage, DWORD imageSize)
{
    return GuardExport(0, [&] {
        if (!pathOrImage) return 4;
        const CPluginReader reader;
        if (!IsPathMode(imageSize)) return reader.CheckMagic(pathOrImage, imageSize) ? 1 : 0;
        smart_array<char> head;
        if (!LoadFile(pathOrImage, head, kMagicSize)) return 0;
        return reader.CheckMagic(head.data, head.size) ? 1 : 0;
    });
}

int WINAPI GetColumnInfo(HLOCAL* columns)
{
    const ImageProfile& profile = CPluginReader().Profile();
    return HandOverColumnTable(profile.columns, profile.columnCount, columns);
}

int WINAPI GetFileInfoList(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* row)
{
    return GuardExport<int>(Failure, [&] {
        return WithShotFile(pathOrImage, imageSize, [&](const CPluginReader& reader, const char* image, uint32_t size) {
            return MakeListInfo(reader, image, size, row);
        });
    });
}

int WINAPI GetFileInfoImage2(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* bits, HLOCAL* info)
{
    return GuardExport<int>(Failure, [&] {
        return WithShotFile(pathOrImage, imageSize, [&](const CPluginReader& reader, const char* image, uint32_t size) {
            return MakeImage(reader, image, size, bits, info);
        });
    });
}

}  // extern "C"
