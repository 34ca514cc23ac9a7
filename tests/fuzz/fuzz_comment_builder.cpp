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
        // The head unchanged, then a section wholly inside the old file, then
        // the new comment as the last section.
        const uint32_t u = fuzz::LoadU32(data + kUserDataOffsetField);
        FUZZ_REQUIRE(size >= 16 && u >= 16 && uint64_t(u) + 12 <= out.size);
        const uint32_t infoLength = fuzz::LoadU32(out.data + u + 4);
        FUZZ_REQUIRE(infoLength >= kSectionHeaderSize && uint64_t(u) + infoLength <= size);
        FUZZ_REQUIRE(uint64_t(out.size) == uint64_t(u) + infoLength + kSectionHeaderSize + count);
        FUZZ_REQUIRE(std::memcmp(out.data, data, u) == 0);
        const char* comment = out.data + u + infoLength;
        FUZZ_REQUIRE(fuzz::LoadU32(comment + 4) == count + kSectionHeaderSize);
        FUZZ_REQUIRE(std::memcmp(comment + kSectionHeaderSize, text, count) == 0);

        // Where the readers find both sections of the old file (or its
        // information as the last section), they find the old information
        // and the new comment in the new one.
        const Found oldInfo = Find(kInfoSection, data, size);
        const Found oldComment = Find(kCommentSection, data, size);
        const bool infoLast = oldInfo.found && oldInfo.text + oldInfo.size == data + size &&
                              oldInfo.text == data + u + kSectionHeaderSize;
        if (oldInfo.found && (oldComment.found || infoLast)) {
            const Found newInfo = Find(kInfoSection, out.data, out.size);
            const Found newComment = Find(kCommentSection, out.data, out.size);
            FUZZ_REQUIRE(newInfo.found && newInfo.size == oldInfo.size &&
                         std::memcmp(newInfo.text, oldInfo.text, oldInfo.size) == 0);
            FUZZ_REQUIRE(newComment.found && newComment.size == count &&
                         std::memcmp(newComment.text, text, count) == 0);
        }
    }
    std::free(data);
    std::free(text);
    return 0;
}
