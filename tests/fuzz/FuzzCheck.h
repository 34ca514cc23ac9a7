#pragma once
// Shared by the fuzz targets: a check that stops the run with a crash the
// fuzzer records, and the profiles of every game the build knows.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/ColumnInfo.h"
#include "image/ImageProfile.h"
#include "replay/ReplayProfile.h"
#include "support/Games.h"

// Not assert(): it must hold in every build type.
#define FUZZ_REQUIRE(condition) \
    do {                        \
        if (!(condition)) __builtin_trap(); \
    } while (0)

namespace fuzz {

// An input's first byte picks a game: its remainder by the number of games
// is the game's place in games::Replays() or games::Pictures(). The quotient,
// `rest`, is left for the target's other choices. make_fuzz_corpus writes
// the byte as place + count * rest.
template <typename Profile>
struct Picked {
    const Profile& game;
    uint32_t rest;
};

inline Picked<ReplayProfile> PickReplayGame(uint8_t selector)
{
    const std::vector<games::Game>& replays = games::Replays();
    return {*replays[selector % replays.size()].replay, uint32_t(selector / replays.size())};
}

inline Picked<ImageProfile> PickImageGame(uint8_t selector)
{
    const std::vector<games::Game>& pictures = games::Pictures();
    return {*pictures[selector % pictures.size()].image, uint32_t(selector / pictures.size())};
}

// Every field of a row holds at most 511 bytes and its NUL.
inline void RequireTerminatedFields(const char* row, uint32_t columns)
{
    for (uint32_t i = 0; i < columns; ++i) FUZZ_REQUIRE(strnlen(row + size_t(i) * kFieldSize, kFieldSize) < kFieldSize);
}

inline uint32_t LoadU32(const char* at)
{
    const auto* b = reinterpret_cast<const unsigned char*>(at);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

// Inside [begin, begin + size] as a half-open payload of n bytes.
inline bool Inside(const char* p, uint32_t n, const char* begin, uint32_t size)
{
    return p >= begin && p <= begin + size && n <= size_t(begin + size - p);
}

}  // namespace fuzz
