// The section search of a replay: FindUserSection, ReadSectionHeader and
// ReadSectionPair on any bytes.
#include "FuzzCheck.h"
#include "replay/ReplayContainer.h"

using fuzz::LoadU32;

namespace {

// A found payload lies inside the file, right behind a "USER" header of the
// wanted type whose length is the payload's plus 12, at U or right behind
// the section at U.
void CheckFound(uint32_t type, const char* data, uint32_t size)
{
    const char* const sentinel = reinterpret_cast<const char*>(&size);
    const char* text = sentinel;
    uint32_t textSize = 0xDEADBEEF;
    const int result = FindUserSection(type, data, size, &text, &textSize);
    FUZZ_REQUIRE(result == kSectionFound || result == kSectionMissing);
    if (result != kSectionFound) {
        FUZZ_REQUIRE(text == sentinel && textSize == 0xDEADBEEF);
        return;
    }
    FUZZ_REQUIRE(fuzz::Inside(text, textSize, data, size));
    const uint32_t offset = uint32_t(text - data) - kSectionHeaderSize;
    FUZZ_REQUIRE(std::memcmp(data + offset, "USER", 4) == 0);
    FUZZ_REQUIRE(LoadU32(data + offset + 4) == textSize + kSectionHeaderSize);
    FUZZ_REQUIRE(LoadU32(data + offset + 8) == type);
    const uint32_t u = LoadU32(data + kUserDataOffsetField);
    FUZZ_REQUIRE(offset == u || uint64_t(offset) == uint64_t(u) + LoadU32(data + u + 4));
}

void CheckHeader(const char* data, uint32_t size, uint32_t offset)
{
    SectionPlace place{};
    const bool read = ReadSectionHeader(data, size, offset, place);
    FUZZ_REQUIRE(read == (uint64_t(offset) + kSectionHeaderSize <= size));
    if (!read) return;
    FUZZ_REQUIRE(place.offset == offset && std::memcmp(place.tag, data + offset, 4) == 0);
    FUZZ_REQUIRE(place.length == LoadU32(data + offset + 4) && place.type == LoadU32(data + offset + 8));
}

void CheckPair(const char* data, uint32_t size)
{
    SectionPlace first{}, second{};
    if (!ReadSectionPair(data, size, first, second)) return;
    FUZZ_REQUIRE(first.offset == LoadU32(data + kUserDataOffsetField));
    FUZZ_REQUIRE(uint64_t(second.offset) == uint64_t(first.offset) + first.length);
    for (const SectionPlace* s : {&first, &second})
        FUZZ_REQUIRE(s->length >= kSectionHeaderSize && uint64_t(s->offset) + s->length <= size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    if (length > UINT32_MAX) return 0;
    const char* data = reinterpret_cast<const char*>(bytes);
    const uint32_t size = uint32_t(length);

    CheckFound(kInfoSection, data, size);
    CheckFound(kCommentSection, data, size);
    const char* text = nullptr;
    uint32_t textSize = 0;
    FUZZ_REQUIRE(FindUserSection(2, data, size, &text, &textSize) == kSectionBadCall);
    FUZZ_REQUIRE(FindUserSection(kInfoSection, data, size, nullptr, &textSize) == kSectionBadCall);

    // The user-data offset, the end and the last four bytes as offsets.
    if (size >= 16) CheckHeader(data, size, LoadU32(data + kUserDataOffsetField));
    if (size >= 4) CheckHeader(data, size, LoadU32(data + size - 4));
    CheckHeader(data, size, size);
    CheckHeader(data, size, size >= 12 ? size - 12 : 0);
    CheckPair(data, size);
    return 0;
}
