#pragma once
// The frame every plug-in's exports share: the two calling modes (size 0:
// a file path; otherwise a memory image of that many bytes) and the gate on
// the file's first four bytes. It runs the reader's and the builder's code,
// so it lets whatever they throw pass to the export's GuardExport.
#include <windows.h>

#include "common/LoadFile.h"
#include "common/PluginResult.h"

inline bool IsPathMode(DWORD imageSize) noexcept { return imageSize == 0; }

// IsSupported's answer: 4 for a null first argument, else 1 or 0. Path mode
// reads exactly the first four bytes, so probing a folder stays cheap.
template <typename Reader>
int IsSupportedBy(const Reader& reader, LPCSTR pathOrImage, DWORD imageSize)
{
    if (!pathOrImage) return 4;
    if (!IsPathMode(imageSize)) return reader.CheckMagic(pathOrImage, imageSize) ? 1 : 0;
    smart_array<char> head;
    if (!LoadFile(pathOrImage, head, 4)) return 0;
    return reader.CheckMagic(head.data, head.size) ? 1 : 0;
}

// The exports that need the whole file: gate on the magic, then hand the
// file's bytes, their count and the file name (empty in memory mode) to
// build. Path mode opens the file once and checks its head before reading
// the rest. A null memory image passes the gate, as IsSupported's 4 does,
// and is left to the builder to refuse.
template <typename Reader, typename Builder>
PluginResult WithPluginFile(const Reader& reader, LPCSTR pathOrImage, DWORD imageSize, Builder&& build)
{
    if (!IsPathMode(imageSize)) {
        if (pathOrImage && !reader.CheckMagic(pathOrImage, imageSize)) return Unsupported;
        return build(pathOrImage, uint32_t(imageSize), "");
    }
    if (!pathOrImage) return ReadError;  // passes the gate, cannot be read
    smart_array<char> file;
    switch (LoadSupportedFile(pathOrImage, reader, file)) {
    case LoadOutcome::NotSupported: return Unsupported;
    case LoadOutcome::ReadFailed: return ReadError;
    case LoadOutcome::Loaded: break;
    }
    return build(static_cast<const char*>(file.data), file.size, pathOrImage);
}
