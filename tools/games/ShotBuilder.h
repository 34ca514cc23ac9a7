#pragma once
// Builds screenshot ("BST3") and best-shot ("BSTS") files for tests.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace shot_support {

using Bytes = std::string;

inline void PutLE(Bytes& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline uint32_t FloatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct ScreenShot {
    int16_t day = 0;
    int16_t scene = 0;
    int16_t width = 0;
    int16_t height = 0;
    uint32_t timestamp = 0;
    float slow_rate = 0.0f;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t reserved3 = 0;
    Bytes reserved4 = Bytes(88, '\0');  // exactly 88 bytes
};

// 116-byte header, then the stream.
inline Bytes ScreenShotFile(const ScreenShot& s, const Bytes& stream = Bytes())
{
    Bytes out("BST3");
    PutLE(out, s.reserved1, 2);
    PutLE(out, uint16_t(s.day), 2);
    PutLE(out, uint16_t(s.scene), 2);
    PutLE(out, s.reserved2, 2);
    PutLE(out, uint16_t(s.width), 2);
    PutLE(out, uint16_t(s.height), 2);
    PutLE(out, s.reserved3, 4);
    PutLE(out, s.timestamp, 4);
    PutLE(out, FloatBits(s.slow_rate), 4);
    out += s.reserved4.substr(0, 88) + Bytes(88 - std::min<size_t>(88, s.reserved4.size()), '\0');
    return out + stream;
}

struct BestShot {
    int16_t level = 1;
    int16_t scene = 1;
    int16_t width = 0;
    int16_t height = 0;
    int32_t score = 0;
    float slow_rate = 0.0f;
    Bytes spell_card_name;   // up to 80 bytes, zero-filled to 80
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
};

// 104-byte header, then the stream.
inline Bytes BestShotFile(const BestShot& s, const Bytes& stream = Bytes())
{
    Bytes out("BSTS");
    PutLE(out, s.reserved1, 2);
    PutLE(out, uint16_t(s.level), 2);
    PutLE(out, uint16_t(s.scene), 2);
    PutLE(out, s.reserved2, 2);
    PutLE(out, uint16_t(s.width), 2);
    PutLE(out, uint16_t(s.height), 2);
    PutLE(out, uint32_t(s.score), 4);
    PutLE(out, FloatBits(s.slow_rate), 4);
    out += s.spell_card_name.substr(0, 80) + Bytes(80 - std::min<size_t>(80, s.spell_card_name.size()), '\0');
    return out + stream;
}

// Rows of a decoded picture in bitmap order: bottom row first, each padded
// with zeros to a multiple of 4 bytes.
inline Bytes BottomUp(const Bytes& picture, uint32_t width, uint32_t height, uint32_t bytesPerPixel)
{
    const size_t row = size_t(width) * bytesPerPixel;
    const size_t stride = (row + 3) / 4 * 4;
    Bytes out;
    for (uint32_t i = 0; i < height; ++i)
        out += picture.substr((height - 1 - i) * row, row) + Bytes(stride - row, '\0');
    return out;
}

}  // namespace shot_support
