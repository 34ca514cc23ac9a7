// The write-back's new content. The first two bytes give the comment's
// length, taken from the bytes that follow; the rest is the old file.
#include <algorithm>
#include <cstdlib>

#include "FuzzCheck.h"
#include "replay/CommentWriteBack.h"
#include "replay/ReplayContainer.h"

namespace {

struct Found {
    bool found = false;
    const char* text = nullptr;
    uint32_t size = 0;
};

Found Find(uint32_t type, const char* data, uint32_t size)
{
    Found f;
    f.found = FindUserSection(type, data, size, &f.text, &f.size) == kSectionFound;
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    if (length < 2 || length > UINT32_MAX) return 0;
    const size_t wanted = size_t(bytes[0]) | size_t(bytes[1]) << 8;
    const uint32_t count = uint32_t(std::min(wanted, length - 2));
    const uint32_t size = uint32_t(length - 2 - count);
    // Exact-size copies of the comment and the file.
    char* text = static_cast<char*>(std::malloc(count));
    char* data = static_cast<char*>(std::malloc(size));
    if (count) std::memcpy(text, bytes + 2, count);
    if (size) std::memcpy(data, bytes + 2 + count, size);

    smart_array<char> out;
    const int result = BuildCommentedReplay(size ? data : nullptr, size, count ? text : nullptr, count, out);
    FUZZ_REQUIRE(result == kCommentBuilt || result == kCommentBadLayout || result == kCommentNoMemory);
    if (result != kCommentBuilt) {
        FUZZ_REQUIRE(out.data == nullptr);
    } else {
        // The head unchanged; the new comment and the old information found.
        const uint32_t u = fuzz::LoadU32(data + kUserDataOffsetField);
        FUZZ_REQUIRE(size >= 16 && u >= 16 && uint64_t(u) + kSectionHeaderSize + count <= out.size);
        FUZZ_REQUIRE(std::memcmp(out.data, data, u) == 0);
        const Found newComment = Find(kCommentSection, out.data, out.size);
        FUZZ_REQUIRE(newComment.found && newComment.size == count &&
                     (count == 0 || std::memcmp(newComment.text, text, count) == 0));
        const Found oldInfo = Find(kInfoSection, data, size);
        if (oldInfo.found) {
            const Found newInfo = Find(kInfoSection, out.data, out.size);
            FUZZ_REQUIRE(newInfo.found && newInfo.size == oldInfo.size &&
                         std::memcmp(newInfo.text, oldInfo.text, oldInfo.size) == 0);
        }

        // Nothing but the old comment is lost.
        const Found oldComment = Find(kCommentSection, data, size);
        SectionPlace sections[2] = {};
        FUZZ_REQUIRE(ReadSectionHeader(data, size, u, sections[0]));
        const int sectionCount = sections[0].length == size - u ? 1 : 2;
        if (sectionCount == 2) FUZZ_REQUIRE(ReadSectionPair(data, size, sections[0], sections[1]));
        uint64_t expected = uint64_t(u) + kSectionHeaderSize + count;
        for (int i = 0; i < sectionCount; ++i) {
            const char* section = data + sections[i].offset;
            if (oldComment.found && oldComment.text == section + kSectionHeaderSize) continue;
            expected += sections[i].length;
            FUZZ_REQUIRE(std::search(out.data + u, out.data + out.size, section, section + sections[i].length) !=
                         out.data + out.size);
        }
        // And what stood behind them, at the end.
        const SectionPlace& last = sections[sectionCount - 1];
        const uint32_t tail = size - (last.offset + last.length);
        expected += tail;
        FUZZ_REQUIRE(uint64_t(out.size) == expected);
        FUZZ_REQUIRE(std::memcmp(out.data + out.size - tail, data + size - tail, tail) == 0);
    }
    std::free(data);
    std::free(text);
    return 0;
}
