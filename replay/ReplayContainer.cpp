#include "replay/ReplayContainer.h"

#include <cstring>

#include "common/ByteReader.h"

bool ReadSectionHeader(const char* data, uint32_t size, uint32_t offset, SectionPlace& place) noexcept
{
    const ByteReader reader(data, size);
    if (!reader.Holds(offset, kSectionHeaderSize)) return false;
    std::memcpy(place.tag, reader.At(offset), 4);
    reader.ReadU32(offset + 4, place.length);
    reader.ReadU32(offset + 8, place.type);
    place.offset = offset;
    return true;
}

namespace {

bool IsWholeSection(const SectionPlace& place, uint32_t size) noexcept
{
    return place.length >= kSectionHeaderSize && place.offset <= size &&
           place.length <= size - place.offset;
}

bool StepPast(const SectionPlace& place, uint32_t& next) noexcept
{
    // A length below 12 would land inside the section's own header.
    if (place.length < kSectionHeaderSize || place.length > UINT32_MAX - place.offset) return false;
    next = place.offset + place.length;
    return true;
}

}  // namespace

int FindUserSection(uint32_t type, const char* data, uint32_t size,
                    const char** text, uint32_t* textSize) noexcept
{
    if ((type != kInfoSection && type != kCommentSection) || !data || !text || !textSize)
        return kSectionBadCall;

    const ByteReader reader(data, size);
    uint32_t position = 0;
    if (!reader.ReadU32(kUserDataOffsetField, position)) return kSectionMissing;

    SectionPlace place{};
    if (!ReadSectionHeader(data, size, position, place)) return kSectionMissing;
    if (place.type != type) {
        // One step past the first section, whatever its tag says.
        uint32_t next = 0;
        if (!StepPast(place, next) || !ReadSectionHeader(data, size, next, place))
            return kSectionMissing;
    }
    if (std::memcmp(place.tag, "USER", 4) != 0) return kSectionMissing;
    if (!IsWholeSection(place, size)) return kSectionMissing;
    if (place.type != type) return kSectionMissing;

    *text = data + place.offset + kSectionHeaderSize;
    *textSize = place.length - kSectionHeaderSize;
    return kSectionFound;
}

bool ReadSectionPair(const char* data, uint32_t size, SectionPlace& first, SectionPlace& second) noexcept
{
    const ByteReader reader(data, size);
    uint32_t position = 0;
    if (!reader.ReadU32(kUserDataOffsetField, position)) return false;
    if (!ReadSectionHeader(data, size, position, first) || !IsWholeSection(first, size)) return false;
    uint32_t next = 0;
    if (!StepPast(first, next)) return false;
    return ReadSectionHeader(data, size, next, second) && IsWholeSection(second, size);
}
