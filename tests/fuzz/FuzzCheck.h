#pragma once
// Shared by the fuzz targets: a check that stops the run with a crash the
// fuzzer records, and the profiles of every game.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/ColumnInfo.h"
#include "image/ImageProfile.h"
#include "replay/ReplayProfile.h"

extern const ReplayProfile kKvoraProfile;
extern const ReplayProfile kMirelProfile;
extern const ReplayProfile kTaskoProfile;
extern const ReplayProfile kNivraProfile;
extern const ImageProfile kBryssProfile;
extern const ImageProfile kZolteProfile;

// Not assert(): it must hold in every build type.
#define FUZZ_REQUIRE(condition) \
    do {                        \
        if (!(condition)) __builtin_trap(); \
    } while (0)

namespace fuzz {

inline const ReplayProfile& ReplayGame(uint8_t selector)
{
    static const ReplayProfile* const games[] = {&kKvoraProfile, &kMirelProfile, &kTaskoProfile, &kNivraProfile};
    return *games[selector % 4];
}

inline const ImageProfile& ImageGame(uint8_t selector)
{
    return selector % 2 ? kZolteProfile : kBryssProfile;
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
