#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "image/Lzss.h"
#include "support/ExactBytes.h"
#include "tools/LzssEncoder.h"
#include "tools/LzssReference.h"
#include "tools/SamplePicture.h"

namespace {

using Bytes = std::string;
using Decoder = void (*)(const void*, uint32_t, void*, uint32_t) noexcept;

// Source and destination in blocks of exactly their sizes, so that the
// sanitizer sees any read or write past either end.
Bytes Decode(Decoder decode, const Bytes& source, size_t size, char fill = '\xEE')
{
    const testing_support::ExactBytes exact(source);
    testing_support::ExactBytes out(size, fill);
    decode(source.empty() ? nullptr : exact.data(), exact.size(), out.data(), out.size());
    return out.str();
}

// DecodeLzssRows into `count` rows of `length` bytes, bottom-up with `pad`
// bytes between them, as a bitmap has them; the block is returned top row
// first, padding and all, so that it compares with a decoding into one block.
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

Bytes Hex(std::initializer_list<unsigned> bytes)
{
    Bytes out;
    for (unsigned b : bytes) out.push_back(static_cast<char>(b));
    return out;
}

class BothDecoders : public ::testing::TestWithParam<Decoder> {
protected:
    Bytes Run(const Bytes& source, size_t size, char fill = '\xEE') const { return Decode(GetParam(), source, size, fill); }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Lzss, BothDecoders, ::testing::Values(&DecodeLzss, &DecodeLzssReference),
                         [](const auto& info) { return info.index == 0 ? "Fast" : "Reference"; });

TEST_P(BothDecoders, WorkedExamples)
{
    EXPECT_EQ(Run(Hex({0xA0, 0x80, 0x02, 0x00, 0x00, 0x00}), 6), "AAAA\xEE\xEE");
    EXPECT_EQ(Run(Hex({0xA0, 0xD0, 0x80, 0x01, 0x20, 0x00, 0x00}), 9), "ABABABA\xEE\xEE");
}

TEST_P(BothDecoders, EmptySourceFillsTheWholeDestination)
{
    EXPECT_EQ(Run("", 5), Bytes(5, '\xFF'));
    const char one = 0;
    std::vector<char> out(4, 'x');
    GetParam()(&one, 0, out.data(), 4);
    EXPECT_EQ(Bytes(out.begin(), out.end()), Bytes(4, '\xFF'));
    GetParam()(nullptr, 0, nullptr, 0);  // nothing to write: nothing happens
}

TEST_P(BothDecoders, EndMarkerAndExhaustedSourceStopWithoutWriting)
{
    EXPECT_EQ(Run(Hex({0x00, 0x00}), 4), Bytes(4, '\xEE'));
    EXPECT_EQ(Run(Hex({0x00}), 4), Bytes(4, '\xEE'));  // the end marker is in the bits past the end
    // One literal and nothing after it: the zero bits past the end end the stream.
    EXPECT_EQ(Run(Hex({0xA0, 0x80}), 4), "A\xEE\xEE\xEE");
}

TEST_P(BothDecoders, LastSourceByteCountsInFull)
{
    // Eight literals fill exactly nine bytes; the last literal's last bit is
    // the last bit of the source.
    LzssWriter w;
    for (char c : Bytes("ABCDEFGH")) w.Literal(static_cast<unsigned char>(c));
    ASSERT_EQ(w.BitCount(), 72u);
    EXPECT_EQ(Run(w.Bytes(), 10), "ABCDEFGH\xEE\xEE");
}

TEST_P(BothDecoders, CopyThatReachesTheWritePositionRepeats)
{
    LzssWriter w;
    w.Literal('x');
    w.Copy(1, 18);
    w.Literal('y');
    w.End();
    EXPECT_EQ(Run(w.Bytes(), 21), Bytes(19, 'x') + "y\xEE");
}

TEST_P(BothDecoders, NeverWrittenPositionsReadAsZeroAndTheWindowWraps)
{
    LzssWriter w;
    w.Literal('A');     // window positions 1 and 2
    w.Literal('B');
    w.Copy(100, 3);     // never written
    // From 8191 over the wrap: 8191 and 0 were never written, 1 and 2 hold
    // A and B, and from 3 on the copy reads what it wrote itself.
    w.Copy(8191, 11);
    w.End();
    EXPECT_EQ(Run(w.Bytes(), 17), Bytes("AB\0\0\0\0\0AB\0\0\0\0\0AB\xEE", 17));
}

TEST_P(BothDecoders, OverwrittenPositionsGiveTheNewerByte)
{
    LzssWriter w;
    Bytes expected;
    for (int i = 0; i < 8192 + 10; ++i) {
        const unsigned char b = static_cast<unsigned char>(i * 7 + i / 256);
        w.Literal(b);
        expected.push_back(static_cast<char>(b));
    }
    w.Copy(3, 3);  // position 3 last held output byte 8194, not byte 2
    w.End();
    expected += expected.substr(8194, 3);
    EXPECT_EQ(Run(w.Bytes(), expected.size()), expected);
}

TEST_P(BothDecoders, StopsWhenTheDestinationIsFull)
{
    LzssWriter w;
    w.Literal('a');
    w.Literal('b');
    w.Copy(1, 18);
    w.Literal('z');
    w.End();
    const testing_support::ExactBytes stream(w.Bytes());
    for (size_t size : {1, 2, 3, 7, 20}) {
        std::vector<char> out(size + 8, '\xEE');
        GetParam()(stream.data(), stream.size(), out.data(), uint32_t(size));
        const Bytes full = "ababababababababababz";
        EXPECT_EQ(Bytes(out.data(), size), full.substr(0, size)) << size;
        EXPECT_EQ(Bytes(out.data() + size, 8), Bytes(8, '\xEE')) << "wrote past " << size;
    }
}

// Both decoders agree byte for byte on streams of every shape, on
// destinations of every size with whatever they held before; so do rows of
// every length (shorter and longer than the window), bottom-up and padded,
// whose padding keeps what it held.
TEST(DecodeLzss, MatchesTheReferenceOnRandomStreams)
{
    std::mt19937 random(20260108);
    auto pick = [&](uint32_t n) { return uint32_t(random() % n); };
    for (int round = 0; round < 3000; ++round) {
        Bytes source;
        const uint32_t shape = pick(4);
        if (shape == 0) {
            // Bytes of any value.
            source.resize(pick(400));
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

TEST(DecodeLzss, RoundTripsWhatTheEncoderWrites)
{
    // Random bytes, then the first 8192 of them again: only the oldest
    // window bytes match.
    const Bytes noise = [] {
        std::mt19937 random(7);
        Bytes b(20000, '\0');
        for (char& c : b) c = static_cast<char>(random());
        return b + b.substr(20000 - 8192);
    }();
    Bytes text;
    while (text.size() < 40000) text += "the quick brown fox " + std::to_string(text.size() % 977) + "; ";
    const Bytes inputs[] = {
        Bytes(),
        Bytes("q"),
        Bytes(50000, '\0'),
        noise,
        text,
        MakeSamplePicture(97, 61, 4, 1),
        MakeSamplePicture(160, 120, 3, 2),
    };
    LzssEncodeStats total;
    for (const Bytes& input : inputs) {
        LzssEncodeStats stats;
        const Bytes stream = EncodeLzss(input.data(), input.size(), {}, &stats);
        EXPECT_EQ(Decode(&DecodeLzss, stream, input.size()), input) << input.size();
        // One byte more than the picture: the end marker leaves it alone.
        EXPECT_EQ(Decode(&DecodeLzss, stream, input.size() + 1), input + "\xEE") << input.size();
        total.literals += stats.literals;
        total.shortestCopies += stats.shortestCopies;
        total.longestCopies += stats.longestCopies;
        total.overlappingCopies += stats.overlappingCopies;
        total.wrappingCopies += stats.wrappingCopies;
        total.farthestCopies += stats.farthestCopies;
    }
    // The inputs exercise every kind of token.
    EXPECT_GT(total.literals, 0u);
    EXPECT_GT(total.shortestCopies, 0u);
    EXPECT_GT(total.longestCopies, 0u);
    EXPECT_GT(total.overlappingCopies, 0u);
    EXPECT_GT(total.wrappingCopies, 0u);
    EXPECT_GT(total.farthestCopies, 0u);

    LzssEncodeStats literal;
    const Bytes plain = EncodeLzss(text.data(), text.size(), {true}, &literal);
    EXPECT_EQ(literal.copies, 0u);
    EXPECT_EQ(Decode(&DecodeLzss, plain, text.size()), text);
}

TEST(LzssWriter, RefusesTokensTheFormatCannotHold)
{
    LzssWriter w;
    EXPECT_THROW(w.Copy(0, 3), std::invalid_argument);
    EXPECT_THROW(w.Copy(8192, 3), std::invalid_argument);
    EXPECT_THROW(w.Copy(1, 2), std::invalid_argument);
    EXPECT_THROW(w.Copy(1, 19), std::invalid_argument);
    w.Copy(8191, 18);
    EXPECT_EQ(w.Bytes(), Hex({0x7F, 0xFF, 0xC0}));  // 0, 13 ones, 1111, padding
}
