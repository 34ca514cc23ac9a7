#pragma once
#include <cstdint>

// Replay container, as the plug-ins read it (all integers u32 little-endian):
//
//   0   magic, 4 ASCII bytes naming the game
//   4   replay header (8 bytes, never read)
//   12  user-data offset U
//   16  replay body, never read
//   U   first user section, then the second right behind it
//
// A user section is a 12-byte header ("USER", length including the header,
// type: 0 information, 1 comment) and its payload. Only the section at U and
// the one right after it are ever examined. Nothing here is trusted: every
// offset and length is checked against the buffer before it is used.

enum SectionType : uint32_t {
    kInfoSection = 0,
    kCommentSection = 1,
};

// FindUserSection's results.
enum LocatorResult : int {
    kSectionFound = 0,
    kSectionBadCall = 1,   // type not 0 or 1, or a null pointer
    kSectionMissing = 2,   // not where it is looked for, or not well-formed
};

constexpr uint32_t kSectionHeaderSize = 12;
constexpr uint32_t kUserDataOffsetField = 12;

// Where a user section lies in the buffer.
struct SectionPlace {
    uint32_t offset;   // of the 12-byte header
    uint32_t length;   // whole section, header included (>= 12)
    uint32_t type;
    char tag[4];
};

// Finds the section of the given type at the user-data offset or right
// behind it. On success sets text to the payload inside data and textSize to
// its size; outputs are untouched otherwise.
int FindUserSection(uint32_t type, const char* data, uint32_t size,
                    const char** text, uint32_t* textSize) noexcept;

// Reads the header of the section at offset; false if the header does not lie
// wholly inside the buffer. The length is not judged here.
bool ReadSectionHeader(const char* data, uint32_t size, uint32_t offset, SectionPlace& place) noexcept;

// The first two sections, checked the way the write-back needs them: both
// headers inside the buffer, both lengths at least 12 and each section wholly
// inside the buffer. False if the layout is anything else.
bool ReadSectionPair(const char* data, uint32_t size, SectionPlace& first, SectionPlace& second) noexcept;
