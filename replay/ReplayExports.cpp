// The exports of a replay plug-in. Compiled into each replay plug-in, with
// the plug-in's own reader class (CPluginReader) taken from its folder.
#include <windows.h>

#include "PluginReader.h"
#include "common/ColumnTable.h"
#include "common/LoadFile.h"
#include "common/PluginModule.h"
#include "replay/ReplayRows.h"

namespace {

constexpr uint32_t kMagicSize = 4;

bool IsPathMode(DWORD imageSize) noexcept { return imageSize == 0; }

// The information exports' frame: gate on the magic, then hand the whole
// file (path mode: loaded once, its head checked first) to the builder.
template <typename Builder>
PluginResult WithReplayImage(LPCSTR pathOrImage, DWORD imageSize, Builder&& build) noexcept
{
    const CPluginReader reader;
    if (!IsPathMode(imageSize)) {
        if (pathOrImage && !reader.CheckMagic(pathOrImage, imageSize)) return Unsupported;
        return build(reader, pathOrImage, imageSize, "");
    }
    if (!pathOrImage) return ReadError;
    smart_array<char> file;
    switch (LoadSupportedFile(pathOrImage, reader, file)) {
    case LoadOutcome::NotSupported: return Unsupported;
    case LoadOutcome::ReadFailed: return ReadError;
    case LoadOutcome::Loaded: break;
    }
    return build(reader, file.data, file.size, pathOrImage);
}

PluginResult InfoText(TextKind kind, LPCSTR pathOrImage, DWORD imageSize, HLOCAL* text) noexcept
{
    return WithReplayImage(pathOrImage, imageSize,
                           [&](const CPluginReader& reader, const char* image, uint32_t size, const char*) {
                               return MakeInfoText(reader, kind, image, size, text);
                           });
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
    const ReplayProfile& profile = CPluginReader().Profile();
    return HandOverColumnTable(profile.columns, profile.columnCount, columns);
}

int WINAPI GetFileInfoList(LPCSTR pathOrImage, DWORD imageSize, HLOCAL* row)
{
    return GuardExport<int>(Failure, [&] {
        return WithReplayImage(pathOrImage, imageSize,
                               [&](const CPluginReader& reader, const char* image, uint32_t size, const char* name) {
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
