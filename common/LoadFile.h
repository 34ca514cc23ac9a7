#pragma once
#include <cstdint>

#include "common/smart_array.h"

// Reads a file, whole (headSize 0) or exactly its first headSize bytes, into
// buffer. False for a missing file, a directory, an empty file, a file of
// 4 GiB or more, a file shorter than headSize, an open or read failure, or
// a failed allocation; then buffer is left as it was, except after a short
// read, when it holds the new block.
bool LoadFile(const char* path, smart_array<char>& buffer, uint32_t headSize) noexcept;

enum class LoadOutcome {
    Loaded,        // whole file in buffer, and it passed the check
    NotSupported,  // what a 4-byte head read and the check would refuse
    ReadFailed,    // the head passed, the whole read did not
};

// The path-mode gate and whole read of the information exports in one open:
// the first 4 bytes are read and checked before the rest is read.
template <typename Reader>
LoadOutcome LoadSupportedFile(const char* path, const Reader& reader, smart_array<char>& buffer);

// Implementation detail of LoadSupportedFile.
using HeadCheck = bool (*)(const void* reader, const char* head, uint32_t size);
LoadOutcome LoadCheckedFile(const char* path, const void* reader, HeadCheck check,
                            smart_array<char>& buffer);

template <typename Reader>
LoadOutcome LoadSupportedFile(const char* path, const Reader& reader, smart_array<char>& buffer)
{
    return LoadCheckedFile(path, &reader, [](const void* r, const char* head, uint32_t size) {
        return static_cast<const Reader*>(r)->CheckMagic(head, size);
    }, buffer);
}
