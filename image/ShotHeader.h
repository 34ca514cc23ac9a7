#pragma once
#include <cstdint>

// Shot file headers. Integers are little-endian; a header is followed by the
// compressed picture stream, which runs to the end of the file.
//
// Screenshot ("BST3"), 116 bytes:      Best shot ("BSTS"), 104 bytes:
//   0  char[4]  signature                0  char[4]  signature
//   4  u16      reserved1                4  u16      reserved1
//   6  i16      day (0-based)            6  i16      level (1-based, 11 = EX)
//   8  i16      scene (0-based)          8  i16      scene (as shown)
//  10  u16      reserved2               10  u16      reserved2
//  12  i16      width                   12  i16      width
//  14  i16      height                  14  i16      height
//  16  u32      reserved3               16  i32      score
//  20  u32      timestamp (Unix time)   20  f32      slow_rate
//  24  f32      slow_rate               24  char[80] spell_card_name (Shift-JIS,
//  28  u8[88]   reserved4                            NUL only when shorter)
//
// Nothing in a header is trusted or validated here: day, level, scene and
// the picture size may hold any value, and the users of a record bound them.

constexpr uint32_t kScreenShotHeaderSize = 116;
constexpr uint32_t kBestShotHeaderSize = 104;

// The largest picture GetImage decodes. A shot is the size of the game's
// screen: no screen comes near 16384 pixels a side, and 256 MiB holds a
// 32-bit picture of 7680 x 4320 twice over. A larger size comes from a broken
// or hostile file, and a block of up to 2 GiB, allocated and filled inside
// the host's 32-bit address space, could starve it: such a picture is
// answered with 4 before anything is allocated.
constexpr int32_t kMaxShotSide = 16384;                  // pixels, width and height alike
constexpr uint32_t kMaxShotBlock = uint32_t(256) << 20;  // bytes of the bitmap's bits, padding included

// A record starts all zero. Parse copies every field bit for bit from a
// buffer of at least the header's size and leaves the record as it was for
// a shorter (or null) one; it never looks at the signature.
struct ScreenShotHeader {
    uint16_t reserved1 = 0;
    int16_t day = 0;
    int16_t scene = 0;
    uint16_t reserved2 = 0;
    int16_t width = 0;
    int16_t height = 0;
    uint32_t reserved3 = 0;
    uint32_t timestamp = 0;
    float slow_rate = 0.0f;
    unsigned char reserved4[88] = {};

    ScreenShotHeader& Parse(const char* data, uint32_t size) noexcept;
};

struct BestShotHeader {
    uint16_t reserved1 = 0;
    int16_t level = 0;
    int16_t scene = 0;
    uint16_t reserved2 = 0;
    int16_t width = 0;
    int16_t height = 0;
    int32_t score = 0;
    float slow_rate = 0.0f;
    char spell_card_name[80] = {};

    BestShotHeader& Parse(const char* data, uint32_t size) noexcept;
};
