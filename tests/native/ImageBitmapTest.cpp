#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "image/BitmapInfo.h"
#include "image/MakeImage.h"
#include "support/ExactBytes.h"
#include "tools/games/GameReaders.h"
#include "tools/games/ShotBuilder.h"
#include "tools/LzssEncoder.h"
#include "tools/LzssReference.h"
#include "tools/SamplePicture.h"

using namespace shot_support;

namespace {

// The host's heap: refuses the n-th request or any above a limit, and keeps
// the largest request and the most bytes outstanding at once.
class TestBlocks final : public IBlockSource {
public:
    int failAt = 0;                  // 1-based request number that fails; 0 none
    size_t limit = size_t(1) << 28;  // larger requests fail (they are counted)
    int requests = 0;
    size_t largest = 0;
    size_t liveBytes = 0;
    size_t peak = 0;

    HLOCAL Alloc(size_t n) noexcept override
    {
        ++requests;
        if (n > largest) largest = n;
        if (requests == failAt || n > limit) return nullptr;
        HLOCAL block = HostAlloc(n);
        m_live[block] = n;
        liveBytes += n;
        if (liveBytes > peak) peak = liveBytes;
        return block;
    }
    void Free(HLOCAL block) noexcept override
    {
        const auto found = m_live.find(block);
        EXPECT_NE(found, m_live.end()) << "freed a block that is not outstanding";
        if (found != m_live.end()) {
            liveBytes -= found->second;
            m_live.erase(found);
        }
        HostFree(block);
    }
    size_t Outstanding() const { return m_live.size(); }

private:
    std::map<HLOCAL, size_t> m_live;
};

struct Picture {
    int result = -1;
    Bytes bits;
    BitmapInfo info{};
};

// GetImage on an exact-size copy; the blocks handed over are released.
Picture Get(const ImageProfile& profile, const Bytes& file, TestBlocks& blocks, size_t bitsSize)
{
    const testing_support::ExactBytes exact(file);
    HLOCAL bits = reinterpret_cast<HLOCAL>(1);
    HLOCAL info = reinterpret_cast<HLOCAL>(1);
    Picture p;
    blocks.peak = blocks.liveBytes;
    p.result = CImageReader(profile, blocks).GetImage(exact.data(), exact.size(), &bits, &info);
    if (p.result == kImageDone) {
        p.bits.assign(static_cast<const char*>(bits), bitsSize);
        std::memcpy(&p.info, info, sizeof p.info);
        // At its peak a picture takes its bitmap and header, nothing beside.
        const size_t stride = (size_t(p.info.biWidth) * (p.info.biBitCount / 8) + 3) / 4 * 4;
        EXPECT_EQ(blocks.peak, stride * size_t(p.info.biHeight) + sizeof(BitmapInfo));
        blocks.Free(bits);
        blocks.Free(info);
    } else if (p.result == kImageNoMemoryOrSize) {
        EXPECT_EQ(bits, nullptr);
        EXPECT_EQ(info, nullptr);
    } else {
        EXPECT_EQ(bits, reinterpret_cast<HLOCAL>(1));  // untouched
        EXPECT_EQ(info, reinterpret_cast<HLOCAL>(1));
    }
    EXPECT_EQ(blocks.Outstanding(), 0u);
    return p;
}

Picture Get(const ImageProfile& profile, const Bytes& file, size_t bitsSize)
{
    TestBlocks blocks;
    return Get(profile, file, blocks, bitsSize);
}

// A shot of the profile's kind: a screenshot at 32 bits, a best shot at 24.
Bytes Shot(const ImageProfile& profile, int16_t width, int16_t height, const Bytes& stream)
{
    ScreenShot s;
    BestShot b;
    s.width = b.width = width;
    s.height = b.height = height;
    return profile.header == ShotKind::ScreenShot ? ScreenShotFile(s, stream) : BestShotFile(b, stream);
}

size_t Stride(uint32_t width, uint32_t bytesPerPixel) { return (size_t(width) * bytesPerPixel + 3) / 4 * 4; }

}  // namespace

// Encoded pictures come back bit for bit, bottom row first, rows padded.
TEST(GetImage, ReturnsTheEncodedPictureBottomUp)
{
    for (const ImageProfile* profile : {&kBryssProfile, &kZolteProfile}) {
        const uint32_t bpp = profile->bytesPerPixel;
        for (int16_t width : {1, 2, 3, 4, 5, 33}) {
            for (int16_t height : {1, 2, 3, 4, 17}) {
                const Bytes picture = MakeSamplePicture(width, height, bpp, width * 100 + height);
                const Bytes stream = EncodeLzss(picture.data(), picture.size());
                const Picture p = Get(*profile, Shot(*profile, width, height, stream), Stride(width, bpp) * height);
                ASSERT_EQ(p.result, kImageDone) << width << "x" << height;
                EXPECT_EQ(p.bits, BottomUp(picture, width, height, bpp)) << width << "x" << height;
                const BitmapInfo expected{40, width, height, 1, uint16_t(bpp * 8), 0, 0, 0, 0, 0, 0, {}};
                EXPECT_EQ(std::memcmp(&p.info, &expected, sizeof expected), 0) << width << "x" << height;
            }
        }
    }
}

// Bytes the stream does not give stay zero, rows are turned whatever the
// stream held, and the padding behind each row stays zero.
TEST(GetImage, ShortEmptyAndLongStreams)
{
    LzssWriter six;
    for (int i = 0; i < 6; ++i) six.Literal(static_cast<unsigned char>(0xA1 + i));
    six.End();
    LzssWriter two;
    two.Literal('a');
    two.Literal('b');
    two.End();
    const Bytes big(5000, 'x');
    const struct {
        const ImageProfile& profile;
        int16_t width, height;
        Bytes stream, bits;
    } cases[] = {
        {kZolteProfile, 2, 1, six.Bytes(), Bytes("\xA1\xA2\xA3\xA4\xA5\xA6\0\0", 8)},
        {kZolteProfile, 1, 2, two.Bytes(), Bytes("\0\0\0\0ab\0\0", 8)},
        // Only the header: every picture byte is 0xFF, the padding stays zero.
        {kBryssProfile, 2, 2, "", Bytes(16, '\xFF')},
        {kZolteProfile, 1, 2, "", Bytes("\xFF\xFF\xFF\0\xFF\xFF\xFF\0", 8)},
        {kBryssProfile, 2, 2, Bytes(2, '\0'), Bytes(16, '\0')},   // an end marker first
        {kBryssProfile, 3, 1, EncodeLzss(big.data(), big.size()), Bytes(12, 'x')},   // cut off
    };
    for (const auto& c : cases)
        EXPECT_EQ(Get(c.profile, Shot(c.profile, c.width, c.height, c.stream), c.bits.size()).bits, c.bits)
            << c.width << "x" << c.height;
}

// Beyond 16384 pixels a side or 256 MiB of bits: 4, and nothing asked for.
TEST(GetImage, SizeBound)
{
    const struct {
        const ImageProfile& profile;
        int16_t width, height;
        size_t asked;   // the bitmap's size; 0: nothing is asked for
    } cases[] = {
        {kBryssProfile, 0, 10, 0},          {kBryssProfile, 10, 0, 0},        {kBryssProfile, -1, 10, 0},
        {kBryssProfile, 10, -32768, 0},     {kBryssProfile, -4, -4, 0},       {kBryssProfile, 32767, 32767, 0},
        {kZolteProfile, 0, 0, 0},           {kZolteProfile, -100, 5, 0},      {kZolteProfile, 32767, 32767, 0},
        {kZolteProfile, 21846, 32767, 0},   {kBryssProfile, 16385, 1, 0},     {kBryssProfile, 1, 16385, 0},
        {kBryssProfile, 16384, 4097, 0},    {kZolteProfile, 16385, 1, 0},     {kZolteProfile, 1, 16385, 0},
        {kZolteProfile, 16384, 5462, 0},    {kBryssProfile, 16384, 1, 65536}, {kBryssProfile, 1, 16384, 65536},
        {kZolteProfile, 16384, 1, 49152},   {kZolteProfile, 1, 16384, 65536},
        {kBryssProfile, 16384, 4096, size_t(256) << 20}, {kZolteProfile, 16384, 5461, size_t(49152) * 5461},
    };
    for (const auto& c : cases) {
        TestBlocks blocks;
        blocks.limit = 4 << 20;
        const Picture p = Get(c.profile, Shot(c.profile, c.width, c.height, ""), blocks, c.asked);
        EXPECT_EQ(p.result, c.asked && c.asked <= blocks.limit ? kImageDone : kImageNoMemoryOrSize)
            << c.width << "x" << c.height;
        EXPECT_EQ(blocks.largest, c.asked) << c.width << "x" << c.height;
    }
}

// Whichever allocation fails: 4, and every block released (Get checks).
TEST(GetImage, EveryFailedAllocationReleasesTheOthers)
{
    const Bytes picture = MakeSamplePicture(4, 3, 4, 9);
    const Bytes stream = EncodeLzss(picture.data(), picture.size());
    // 4 x 3 at 24 bits has unpadded rows; 5 x 3 padded ones.
    const Bytes files[] = {Shot(kBryssProfile, 4, 3, stream), Shot(kZolteProfile, 4, 3, stream),
                           Shot(kZolteProfile, 5, 3, stream)};
    const ImageProfile* profiles[] = {&kBryssProfile, &kZolteProfile, &kZolteProfile};
    for (int f = 0; f < 3; ++f) {
        TestBlocks counting;
        ASSERT_EQ(Get(*profiles[f], files[f], counting, 0).result, kImageDone);
        ASSERT_GE(counting.requests, 2);
        for (int n = 1; n <= counting.requests; ++n) {
            TestBlocks blocks;
            blocks.failAt = n;
            EXPECT_EQ(Get(*profiles[f], files[f], blocks, 0).result, kImageNoMemoryOrSize) << f << " request " << n;
        }
    }
}

TEST(GetImage, RefusalsLeaveTheOutArgumentsAlone)
{
    const CBryssPic reader;
    const Bytes file = Shot(kBryssProfile, 1, 1, "");
    HLOCAL bits = reinterpret_cast<HLOCAL>(1), info = reinterpret_cast<HLOCAL>(2);
    EXPECT_EQ(reader.GetImage(nullptr, 200, &bits, &info), kImageNullArgument);
    EXPECT_EQ(reader.GetImage(file.data(), uint32_t(file.size()), nullptr, &info), kImageNullArgument);
    EXPECT_EQ(reader.GetImage(file.data(), uint32_t(file.size()), &bits, nullptr), kImageNullArgument);
    EXPECT_EQ(reader.GetImage("BSTS", 4, &bits, &info), kImageNotSignature);
    EXPECT_EQ(reader.GetImage("BST", 3, &bits, &info), kImageNotSignature);
    // Cut inside its header, a shot has no size.
    EXPECT_EQ(reader.GetImage(file.data(), uint32_t(file.size() - 1), &bits, &info), kImageNoMemoryOrSize);
    bits = reinterpret_cast<HLOCAL>(1), info = reinterpret_cast<HLOCAL>(2);
    EXPECT_EQ(bits, reinterpret_cast<HLOCAL>(1));
    EXPECT_EQ(info, reinterpret_cast<HLOCAL>(2));

    // In the host's terms.
    EXPECT_EQ(MakeImage(reader, nullptr, 200, &bits, &info), Failure);
    EXPECT_EQ(MakeImage(reader, "BSTS", 4, &bits, &info), ReadError);
    EXPECT_EQ(MakeImage(reader, Shot(kBryssProfile, 0, 1, "").data(), 116, &bits, &info), OutOfMemory);
    ASSERT_EQ(MakeImage(reader, file.data(), uint32_t(file.size()), &bits, &info), Ok);
    HostFree(bits);
    HostFree(info);
}
