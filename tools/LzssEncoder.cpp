#include "tools/LzssEncoder.h"

#include <stdexcept>
#include <vector>

namespace {

constexpr uint32_t kWindowSize = 8192;
constexpr uint32_t kWindowMask = kWindowSize - 1;
constexpr uint32_t kMinCopy = 3;
constexpr uint32_t kMaxCopy = 18;
constexpr uint32_t kHashBits = 15;

uint32_t Hash3(const unsigned char* p) noexcept
{
    const uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    return (v * 2654435761u) >> (32 - kHashBits);
}

}  // namespace

void LzssWriter::Bits(uint32_t value, unsigned count)
{
    if (count > 32) throw std::invalid_argument("LzssWriter::Bits: more than 32 bits");
    while (count-- > 0) {
        if (m_bitCount % 8 == 0) m_bytes.push_back('\0');
        if ((value >> count) & 1) m_bytes.back() = static_cast<char>(m_bytes.back() | (0x80 >> (m_bitCount % 8)));
        ++m_bitCount;
    }
}

void LzssWriter::Literal(unsigned char byte)
{
    Bits(1, 1);
    Bits(byte, 8);
}

void LzssWriter::Copy(uint32_t position, uint32_t length)
{
    if (position == 0 || position >= kWindowSize) throw std::invalid_argument("LzssWriter::Copy: position");
    if (length < kMinCopy || length > kMaxCopy) throw std::invalid_argument("LzssWriter::Copy: length");
    Bits(0, 1);
    Bits(position, 13);
    Bits(length - kMinCopy, 4);
}

void LzssWriter::End()
{
    Bits(0, 14);
}

// Output byte q sits at window position (q + 1) mod 8192 until byte q + 8192
// replaces it; a copy is named by that position. Position 0 is the end
// marker, so bytes 8191, 16383, ... cannot start a copy.
std::string EncodeLzss(const void* data, size_t size, const LzssEncodeOptions& options, LzssEncodeStats* stats)
{
    const unsigned char* in = static_cast<const unsigned char*>(data);
    LzssEncodeStats counted;
    LzssWriter writer;
    std::vector<int64_t> head(size_t(1) << kHashBits, -1);
    std::vector<int64_t> previous(kWindowSize, -1);
    auto insert = [&](size_t p) {
        if (p + kMinCopy > size) return;
        int64_t& first = head[Hash3(in + p)];
        previous[p & kWindowMask] = first;
        first = static_cast<int64_t>(p);
    };

    size_t o = 0;
    while (o < size) {
        const size_t limit = size - o < kMaxCopy ? size - o : kMaxCopy;
        size_t bestLength = 0;
        size_t bestFrom = 0;
        if (!options.literalsOnly && limit >= kMinCopy) {
            unsigned tried = 0;
            for (int64_t c = head[Hash3(in + o)]; c >= 0 && o - size_t(c) <= kWindowSize && tried < options.maxCandidates;
                 c = previous[size_t(c) & kWindowMask], ++tried) {
                const size_t from = size_t(c);
                if (((from + 1) & kWindowMask) == 0) continue;
                size_t length = 0;
                while (length < limit && in[from + length] == in[o + length]) ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestFrom = from;
                    if (length == limit) break;
                }
            }
        }
        if (bestLength >= kMinCopy) {
            const uint32_t position = static_cast<uint32_t>((bestFrom + 1) & kWindowMask);
            const size_t distance = o - bestFrom;
            writer.Copy(position, static_cast<uint32_t>(bestLength));
            ++counted.copies;
            counted.shortestCopies += bestLength == kMinCopy;
            counted.longestCopies += bestLength == kMaxCopy;
            counted.overlappingCopies += distance < bestLength;
            counted.wrappingCopies += position + bestLength > kWindowSize;
            counted.farthestCopies += distance == kWindowSize;
            for (size_t i = 0; i < bestLength; ++i) insert(o + i);
            o += bestLength;
        } else {
            writer.Literal(in[o]);
            ++counted.literals;
            insert(o);
            ++o;
        }
    }
    writer.End();
    if (stats) *stats = counted;
    return writer.Bytes();
}
