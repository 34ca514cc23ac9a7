#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "image/Lzss.h"
#include "support/ExactBytes.h"
#include "tools/LzssEncoder.h"
#include "tools/LzssReference.h"

namespace {

using Bytes = std::string;
using Decoder = void (*)(const void*, uint32_t, void*, uint32_t) noexcept;

// Source and destination in exact-size blocks.
Bytes Decode(Decoder decode, const Bytes& source, size_t size, char fill = '\xEE')
{
    const testing_support::ExactBytes exact(source);
    testing_support::ExactBytes out(size, fill);
    decode(source.empty() ? nullptr : exact.data(), exact.size(), out.data(), out.size());
    return out.str();
}

// DecodeLzssRows into bottom-up rows with `pad` bytes between them, given
// back top row first, padding and all.
Bytes DecodeRows(const Bytes& source, uint32_t length, uint32_t pad, uint32_t count, char fill)
{
    const testing_support::ExactBytes exact(source);
    const size_t stride = size_t(length) + pad;
    testing_support::ExactBytes out(stride * count, fill);
    unsigned char* const last = reinterpret_cast<unsigned char*>(out.data()) + stride * (count - 1);
    DecodeLzssRows(source.empty() ? nullptr : exact.data(), exact.size(), {last, -ptrdiff_t(stride), length, count});
    Bytes topDown;
    for (uint32_t i = count; i-- > 0;) topDown.append(out.data() + stride * i, stride);
    return topDown;
}

Bytes Tokens(std::initializer_list<std::pair<uint32_t, uint32_t>> tokens, bool end = true)
{
    LzssWriter w;
    for (auto [position, length] : tokens) length ? w.Copy(position, length) : w.Literal(uint8_t(position));
    if (end) w.End();
    return w.Bytes();
}

}  // namespace

// Each kind of token, through both decoders; bytes not written keep 0xEE.
TEST(DecodeLzss, WorkedStreams)
{
    Bytes full;
    for (int i = 0; i < 8192 + 10; ++i) full.push_back(static_cast<char>(i * 7 + i / 256));
    LzssWriter w;
    for (unsigned char c : full) w.Literal(c);
    w.Copy(3, 3);   // position 3 last held output byte 8194, not byte 2
    w.End();
    const struct {
        Bytes stream;
        size_t size;
        Bytes out;
    } cases[] = {
        {Bytes("\xA0\x80\x02\x00\x00\x00", 6), 6, "AAAA\xEE\xEE"},
        {Bytes("\xA0\xD0\x80\x01\x20\x00\x00", 7), 9, "ABABABA\xEE\xEE"},
        {"", 5, Bytes(5, '\xFF')},                          // no stream: all 0xFF
        {Bytes(2, '\0'), 4, Bytes(4, '\xEE')},              // the end marker
        {Bytes(1, '\0'), 4, Bytes(4, '\xEE')},              // ... in the bits past the end
        {Bytes("\xA0\x80", 2), 4, "A\xEE\xEE\xEE"},
        {Tokens({{'A', 0}, {'B', 0}, {'C', 0}, {'D', 0}, {'E', 0}, {'F', 0}, {'G', 0}, {'H', 0}}, false), 10,
         "ABCDEFGH\xEE\xEE"},                               // the last bit of the source counts
        {Tokens({{'x', 0}, {1, 18}, {'y', 0}}), 21, Bytes(19, 'x') + "y\xEE"},   // a copy that repeats
        // Never written positions read as zero, also over the window's wrap.
        {Tokens({{'A', 0}, {'B', 0}, {100, 3}, {8191, 11}}), 17, Bytes("AB\0\0\0\0\0AB\0\0\0\0\0AB\xEE", 17)},
        {w.Bytes(), full.size() + 3, full + full.substr(8194, 3)},
    };
    for (Decoder decode : {&DecodeLzss, &DecodeLzssReference})
        for (const auto& c : cases)
            EXPECT_EQ(Decode(decode, c.stream, c.size), c.out) << c.stream.size() << " -> " << c.size;

    // A full destination stops the decoder, also inside a copy.
    const Bytes stream = Tokens({{'a', 0}, {'b', 0}, {1, 18}, {'z', 0}});
    for (size_t size : {1, 2, 3, 7, 20})
        EXPECT_EQ(Decode(&DecodeLzss, stream, size), Bytes("ababababababababababz").substr(0, size)) << size;
}

// Byte for byte as the reference, into one block or into padded rows shorter
// and longer than the window.
TEST(DecodeLzss, MatchesTheReferenceOnRandomStreams)
{
    std::mt19937 random(20260108);
    auto pick = [&](uint32_t n) { return uint32_t(random() % n); };
    for (int round = 0; round < 3000; ++round) {
        Bytes source;
        const uint32_t shape = pick(4);
        if (shape == 0) {
            source.resize(pick(400));   // bytes of any value
            for (char& c : source) c = static_cast<char>(random());
        } else {
            LzssWriter w;
            const uint32_t tokens = pick(shape == 3 ? 4000 : 300);
            for (uint32_t t = 0; t < tokens; ++t) {
                if (pick(3) == 0) {
                    w.Literal(static_cast<unsigned char>(pick(4) == 0 ? random() : 'a' + pick(3)));
                } else {
                    // Near the write position, anywhere, or at the window's end.
                    const uint32_t position = pick(3) == 0 ? 8192 - pick(18) - 1 : 1 + pick(8191);
                    w.Copy(position == 0 ? 1 : position, 3 + pick(16));
                }
            }
            if (shape != 2) w.End();
            source = w.Bytes();
            if (shape == 2 && !source.empty()) source.resize(pick(uint32_t(source.size())) + 1);  // cut anywhere
        }
        const size_t size = pick(5) == 0 ? pick(20) : pick(70000);
        const char fill = static_cast<char>(random());
        const Bytes reference = Decode(&DecodeLzssReference, source, size, fill);
        ASSERT_EQ(Decode(&DecodeLzss, source, size, fill), reference)
            << "round " << round << ", " << source.size() << " source bytes, " << size << " out";

        // Rows that hold the first bytes of the same destination.
        uint32_t length = 1 + (pick(3) == 0 ? pick(8) : pick(3) == 0 ? 8190 + pick(12000) : pick(3000));
        if (size == 0) continue;
        if (length > size) length = uint32_t(size);
        const uint32_t count = uint32_t(size / length), pad = pick(4);
        Bytes expected;
        for (uint32_t i = 0; i < count; ++i) expected += reference.substr(size_t(i) * length, length) + Bytes(pad, fill);
        ASSERT_EQ(DecodeRows(source, length, pad, count, fill), expected)
            << "round " << round << ", rows of " << length << " + " << pad << ", " << count << " rows";
    }
}
