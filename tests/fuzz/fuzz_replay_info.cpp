// The information text of a replay, parsed with each game's key list. The
// first four bytes pick the game (FuzzCheck.h); the rest is the section's
// payload.
#include "FuzzCheck.h"
#include "replay/ReplayInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length)
{
    const auto picked = fuzz::PickReplayGame(bytes, length);
    if (!picked.game || length > UINT32_MAX) return 0;
    const ReplayProfile& game = *picked.game;
    const char* payload = reinterpret_cast<const char*>(picked.rest);
    const uint32_t size = uint32_t(picked.restSize);

    ReplayInfo info;
    FUZZ_REQUIRE(info.Parse(size ? payload : nullptr, size, game.keys));
    const char* copy = info.text.get();
    for (size_t f = 0; f < size_t(InfoField::Count); ++f) {
        const char* value = info.Get(InfoField(f));
        FUZZ_REQUIRE(value != nullptr);
        if (*value == '\0') continue;   // an empty value may be the shared empty text
        // A value is one line of the copy and ends inside it.
        FUZZ_REQUIRE(value >= copy && value < copy + size);
        const size_t n = strnlen(value, size_t(copy + size - value) + 1);
        FUZZ_REQUIRE(value + n <= copy + size);
        FUZZ_REQUIRE(!std::memchr(value, '\r', n) && !std::memchr(value, '\n', n));
        // The bytes are the payload's own.
        FUZZ_REQUIRE(std::memcmp(value, payload + (value - copy), n) == 0);
    }
    return 0;
}
