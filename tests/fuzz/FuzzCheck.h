#pragma once
// What the fuzz targets share: a check that crashes, and every game.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/ColumnInfo.h"
#include "image/ImageProfile.h"
#include "replay/ReplayProfile.h"
#include "tools/games/Games.h"

// Not assert(): it must hold in every build type.
#define FUZZ_REQUIRE(condition) \
    do {                        \
        if (!(condition)) __builtin_trap(); \
    } while (0)

namespace fuzz {

// An input's first four bytes pick a game of the target's kind: its magic
// (so that a seed keeps its game when games are added), or else the first
// byte modulo the number of games. The rest is the target's.
template <typename Profile>
struct Picked {
    const Profile* game = nullptr;   // null when the input is shorter than four bytes
    const uint8_t* rest = nullptr;
    size_t restSize = 0;
};

template <typename Profile>
Picked<Profile> PickGame(const std::vector<games::Game>& kind, const Profile* games::Game::*profile,
                         const uint8_t* bytes, size_t length)
{
    Picked<Profile> picked;
    if (kind.empty() || length < 4) return picked;
    picked.game = kind[bytes[0] % kind.size()].*profile;
    for (const games::Game& game : kind)
        if (std::memcmp(game.Magic().data(), bytes, 4) == 0) picked.game = game.*profile;
    picked.rest = bytes + 4;
    picked.restSize = length - 4;
    return picked;
}

inline Picked<ReplayProfile> PickReplayGame(const uint8_t* bytes, size_t length)
{
    return PickGame(games::Replays(), &games::Game::replay, bytes, length);
}

inline Picked<ImageProfile> PickImageGame(const uint8_t* bytes, size_t length)
{
    return PickGame(games::Pictures(), &games::Game::image, bytes, length);
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
