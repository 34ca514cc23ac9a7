#include "tools/SamplePicture.h"

namespace {

class Random {
public:
    explicit Random(uint32_t seed) noexcept : m_state(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t Next() noexcept
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }

private:
    uint32_t m_state;
};

unsigned char Clamp(int v) noexcept
{
    return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

std::string MakeSamplePicture(uint32_t width, uint32_t height, uint32_t bytesPerPixel, uint32_t seed)
{
    Random random(seed);
    uint64_t glyphs[16];
    for (uint64_t& g : glyphs) g = uint64_t(random.Next()) << 32 | random.Next();

    std::string picture(size_t(width) * height * bytesPerPixel, '\0');
    const uint32_t panelX = width - width / 4;   // right quarter: a flat panel with text
    const uint32_t bandY = height / 8;           // top eighth: a flat band
    size_t at = 0;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            int blue, green, red;
            if (x >= panelX) {
                // 8 x 8 glyphs on a dark panel, one per cell.
                const uint64_t glyph = glyphs[((x - panelX) / 8 + y / 8 * 7) % 16];
                const bool ink = (glyph >> ((y % 8) * 8 + x % 8)) & 1;
                blue = ink ? 230 : 40;
                green = ink ? 230 : 24;
                red = ink ? 210 : 24;
            } else if (y < bandY) {
                blue = 96;
                green = 64;
                red = 32;
            } else {
                const int noise = int(random.Next() % 17) - 8;
                blue = int(x * 255 / width) + noise;
                green = int(y * 255 / height) + noise / 2;
                red = int((x + y) * 128 / (width + height)) + 64 - noise;
            }
            const unsigned char pixel[4] = {Clamp(blue), Clamp(green), Clamp(red), 0xFF};
            for (uint32_t b = 0; b < bytesPerPixel; ++b) picture[at++] = static_cast<char>(pixel[b % 4]);
        }
    }
    return picture;
}
