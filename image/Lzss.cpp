#include "image/Lzss.h"

#include <cstring>

namespace {

constexpr uint32_t kWindowMask = kLzssWindowSize - 1;
constexpr unsigned kLongestToken = 18;  // flag, position, length

// MSB-first bit buffer over the source. The next bit is bit 63 of m_bits;
// bits past the source are zero.
class BitReader {
public:
    BitReader(const unsigned char* source, uint32_t length) noexcept : m_next(source), m_end(source + length) {}

    // Afterwards at least kLongestToken bits are buffered.
    void Need() noexcept
    {
        if (m_count >= kLongestToken) return;
        if (m_end - m_next >= 8) {
            // One unaligned word; the bytes that fit whole are consumed, the
            // part of the next byte that also got in is loaded again later.
            uint64_t word;
            std::memcpy(&word, m_next, sizeof word);
            m_bits |= BigEndian(word) >> m_count;
            m_next += (63 - m_count) >> 3;
            m_count |= 56;
        } else {
            while (m_count <= 56) {
                const uint64_t byte = m_next < m_end ? *m_next++ : 0;
                m_bits |= byte << (56 - m_count);
                m_count += 8;
            }
        }
    }

    uint32_t Peek(unsigned count) const noexcept { return static_cast<uint32_t>(m_bits >> (64 - count)); }

    void Skip(unsigned count) noexcept
    {
        m_bits <<= count;
        m_count -= count;
    }

private:
    static uint64_t BigEndian(uint64_t word) noexcept
    {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        return word;
#else
        return __builtin_bswap64(word);
#endif
    }

    const unsigned char* m_next;
    const unsigned char* m_end;
    uint64_t m_bits = 0;
    unsigned m_count = 0;
};

inline void Copy8(unsigned char* to, const unsigned char* from) noexcept
{
    uint64_t word;
    std::memcpy(&word, from, sizeof word);
    std::memcpy(to, &word, sizeof word);
}

inline void Copy4(unsigned char* to, const unsigned char* from) noexcept
{
    uint32_t word;
    std::memcpy(&word, from, sizeof word);
    std::memcpy(to, &word, sizeof word);
}

// Copies up to 18 bytes (fewer than 3 when the destination is nearly full)
// from a range that ends at or before the destination.
// Head and tail words may overlap each other; nothing outside
// [to, to + length) is written.
inline void CopyDisjoint(unsigned char* to, const unsigned char* from, uint32_t length) noexcept
{
    if (length >= 8) {
        Copy8(to, from);
        if (length > 16) Copy8(to + 8, from + 8);
        Copy8(to + length - 8, from + length - 8);
    } else if (length >= 4) {
        Copy4(to, from);
        Copy4(to + length - 4, from + length - 4);
    } else {
        for (uint32_t j = 0; j < length; ++j) to[j] = from[j];
    }
}

// Copies up to 18 bytes from `distance` back, where the range reaches into
// the bytes being written: they repeat with a period of distance. Chunks no
// longer than the distance read only bytes written before them.
inline void CopyOverlapping(unsigned char* to, uint32_t distance, uint32_t length) noexcept
{
    const unsigned char* from = to - distance;
    uint32_t j = 0;
    if (distance >= 8) {
        for (; j + 8 <= length; j += 8) Copy8(to + j, from + j);
    } else if (distance >= 4) {
        for (; j + 4 <= length; j += 4) Copy4(to + j, from + j);
    }
    for (; j < length; ++j) to[j] = from[j];
}

}  // namespace

// The window is not kept apart: window position (q + 1) mod 8192 holds output
// byte q until output byte q + 8192 replaces it, so a copy from position P at
// output position o reads the output from distance 1 + ((o - P) mod 8192)
// back, and positions before the first output byte read as the window's
// initial zeros.
void DecodeLzss(const void* source, uint32_t sourceLength, void* destination,
                uint32_t destinationLength) noexcept
{
    unsigned char* const out = static_cast<unsigned char*>(destination);
    const uint32_t size = destinationLength;
    if (!out || size == 0) return;
    if (!source || sourceLength == 0) {
        std::memset(out, 0xFF, size);
        return;
    }

    BitReader in(static_cast<const unsigned char*>(source), sourceLength);
    uint32_t o = 0;
    for (;;) {
        in.Need();
        if (in.Peek(1)) {
            out[o] = static_cast<unsigned char>(in.Peek(9));
            in.Skip(9);
            if (++o == size) return;
            continue;
        }
        const uint32_t token = in.Peek(kLongestToken);
        const uint32_t position = token >> 4;
        if (position == 0) return;
        in.Skip(kLongestToken);

        uint32_t length = (token & 15) + 3;
        if (length > size - o) length = size - o;
        const uint32_t distance = 1 + ((o - position) & kWindowMask);
        unsigned char* to = out + o;
        if (distance > o) {
            // Reaches back before the first output byte (only near the start).
            for (uint32_t j = 0; j < length; ++j)
                to[j] = o + j >= distance ? out[o + j - distance] : 0;
        } else if (distance >= length) {
            CopyDisjoint(to, to - distance, length);
        } else if (distance == 1) {
            std::memset(to, to[-1], length);
        } else {
            CopyOverlapping(to, distance, length);
        }
        o += length;
        if (o == size) return;
    }
}
