// A replay's list row and its two text panes, for each game. The first four
// bytes pick the game (FuzzCheck.h), the next whether a file name comes with
// the bytes; with one, the name runs to the first NUL and the replay follows
// it.
#include <cstdlib>
#include <cstring>

#include "FuzzCheck.h"
#include "replay/ReplayContainer.h"
#include "replay/ReplayRows.h"
#include "replay/TextPanes.h"

namespace {

bool IsContractCode(PluginResult r) { return r == Ok || r == Unsupported || r == ReadError || r == OutOfMemory || r == Failure; }

void CheckRow(const CReplayReader& reader, const char* image, uint32_t size, const char* name)
{
    HLOCAL row = nullptr;
    const PluginResult result = MakeListInfo(reader, image, size, &row, name);
    FUZZ_REQUIRE(IsContractCode(result));
    FUZZ_REQUIRE((result == Unsupported) == !reader.CheckMagic(image, size));
    const ReplayProfile& game = reader.Profile();
    if (result == Unsupported) {
        FUZZ_REQUIRE(row == nullptr);
        return;
    }
    FUZZ_REQUIRE(row != nullptr);   // the allocator does not fail here
    const char* fields = static_cast<const char*>(row);
    fuzz::RequireTerminatedFields(fields, game.columnCount);
    for (uint32_t i = 0; i < game.columnCount; ++i) {
        const char* field = fields + size_t(i) * kFieldSize;
        if (game.columns[i].source == ColumnSource::Host) FUZZ_REQUIRE(*field == '\0');
        if (result == ReadError) FUZZ_REQUIRE(*field == '\0');   // a replay without its sections: an empty row
        if (result == Ok && game.columns[i].source == ColumnSource::Comment) {
            // The comment's first bytes, never more than the section holds.
            const char* comment = nullptr;
            uint32_t commentSize = 0;
            FUZZ_REQUIRE(FindUserSection(kCommentSection, image, size, &comment, &commentSize) == kSectionFound);
            const size_t n = std::strlen(field);
            FUZZ_REQUIRE(n <= commentSize && std::memcmp(field, comment, n) == 0);
        }
    }
    HostFree(row);
}

void CheckText(const CReplayReader& reader, TextKind kind, const char* image, uint32_t size)
{
    HLOCAL text = reinterpret_cast<HLOCAL>(&size);
    const PluginResult result = MakeInfoText(reader, kind, image, size, &text);
    FUZZ_REQUIRE(result == Ok || result == ReadError);
    if (result != Ok) {
        FUZZ_REQUIRE(text == reinterpret_cast<HLOCAL>(&size));
        return;
    }
    const char* payload = nullptr;
    uint32_t payloadSize = 0;
    FUZZ_REQUIRE(FindUserSection(kind == TextKind::Information ? kInfoSection : kCommentSection, image, size,
                                 &payload, &payloadSize) == kSectionFound);
    // Exactly the payload, then a NUL of its own when it has none: the
    // sanitizer sees a read past a shorter block.
    const char* block = static_cast<const char*>(text);
    const bool terminated = payloadSize && std::memchr(payload, '\0', payloadSize);
    const size_t blockSize = payloadSize + (terminated ? 0 : 1);
    FUZZ_REQUIRE(std::memcmp(block, payload, payloadSize) == 0);
    FUZZ_REQUIRE(strnlen(block, blockSize) < blockSize);
    HostFree(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    const auto picked = fuzz::PickReplayGame(bytes, length);
    if (!picked.game || picked.restSize < 1 || length > UINT32_MAX) return 0;
    const CReplayReader reader(*picked.game);
    const char* rest = reinterpret_cast<const char*>(picked.rest + 1);
    size_t restSize = picked.restSize - 1;
    const char* name = nullptr;
    if (picked.rest[0] & 1) {
        const char* end = static_cast<const char*>(std::memchr(rest, '\0', restSize));
        if (!end) return 0;
        name = rest;
        restSize -= size_t(end + 1 - rest);
        rest = end + 1;
    }
    // An exact-size copy, so that a read past the image is seen.
    char* image = static_cast<char*>(std::malloc(restSize));
    if (restSize) std::memcpy(image, rest, restSize);
    const uint32_t size = uint32_t(restSize);

    // GetInfo: 0 exactly when there is an information section, else 2.
    ReplayInfo info;
    const char* payload = nullptr;
    uint32_t payloadSize = 0;
    const bool hasInfo = FindUserSection(kInfoSection, image, size, &payload, &payloadSize) == kSectionFound;
    FUZZ_REQUIRE(reader.GetInfo(image, size, info) == (hasInfo ? Ok : ReadError));

    CheckRow(reader, image, size, name);
    CheckText(reader, TextKind::Information, image, size);
    CheckText(reader, TextKind::Comment, image, size);
    std::free(image);
    return 0;
}
