#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <map>
#include <set>
#include <string>
#include <tuple>

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

// The host's heap as the tests see it: counts what is outstanding, refuses
// the n-th request or any request above a limit, and remembers the largest
// request and the most bytes outstanding at once.
class TestBlocks final : public IBlockSource {
public:
    int failAt = 0;                  // 1-based request number that fails; 0 none
    size_t limit = size_t(1) << 28;  // larger requests fail (they are counted)
    int requests = 0;
    size_t largest = 0;
    size_t liveBytes = 0;
    size_t peak = 0;
    std::multiset<size_t> sizes;

    HLOCAL Alloc(size_t n) noexcept override
    {
        ++requests;
        if (n > largest) largest = n;
        sizes.insert(n);
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

    // The host's side of a handed-over block.
    void HostReleases(HLOCAL block)
    {
        if (block) Free(block);
    }

private:
    std::map<HLOCAL, size_t> m_live;
};

struct Picture {
    int result = -1;
    Bytes bits;
    BitmapInfo info{};
};

// GetImage on the file (in a block of exactly its size); the blocks handed
// over are read and released again.
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
        blocks.HostReleases(bits);
        blocks.HostReleases(info);
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

Bytes Screen(int16_t width, int16_t height, const Bytes& stream)
{
    ScreenShot s;
    s.width = width;
    s.height = height;
    return ScreenShotFile(s, stream);
}

Bytes Best(int16_t width, int16_t height, const Bytes& stream)
{
    BestShot b;
    b.width = width;
    b.height = height;
    return BestShotFile(b, stream);
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
                const Bytes file = bpp == 4 ? Screen(width, height, stream) : Best(width, height, stream);
                const size_t size = Stride(width, bpp) * height;
                const Picture p = Get(*profile, file, size);
                ASSERT_EQ(p.result, kImageDone) << width << "x" << height;
                EXPECT_EQ(p.bits, BottomUp(picture, width, height, bpp)) << width << "x" << height;
                EXPECT_EQ(p.info.biSize, 40u);
                EXPECT_EQ(p.info.biWidth, width);
                EXPECT_EQ(p.info.biHeight, height);
                EXPECT_EQ(p.info.biPlanes, 1);
                EXPECT_EQ(p.info.biBitCount, bpp * 8);
                EXPECT_EQ(p.info.biCompression + p.info.biSizeImage + p.info.biClrUsed + p.info.biClrImportant, 0u);
                EXPECT_EQ(p.info.biXPelsPerMeter | p.info.biYPelsPerMeter, 0);
            }
        }
    }
}

TEST(GetImage, BlockSizesAndRowPadding)
{
    // 2 x 1 at 24 bits: a stride of 8, the last two bytes zero.
    LzssWriter w;
    for (int i = 0; i < 6; ++i) w.Literal(static_cast<unsigned char>(0xA1 + i));
    w.End();
    TestBlocks blocks;
    const Picture p = Get(kZolteProfile, Best(2, 1, w.Bytes()), blocks, 8);
    ASSERT_EQ(p.result, kImageDone);
    EXPECT_EQ(p.bits, Bytes("\xA1\xA2\xA3\xA4\xA5\xA6\0\0", 8));
    // The bitmap and its header, nothing else: no scratch picture, no spare row.
    EXPECT_EQ(blocks.sizes, (std::multiset<size_t>{8, 44}));
    TestBlocks screen;
    ASSERT_EQ(Get(kBryssProfile, Screen(3, 5, w.Bytes()), screen, 60).result, kImageDone);
    EXPECT_EQ(screen.sizes, (std::multiset<size_t>{60, 44}));
}

TEST(GetImage, EmptyAndEndedStreams)
{
    // Only the header: every picture byte is 0xFF, the padding stays zero.
    EXPECT_EQ(Get(kBryssProfile, Screen(2, 2, ""), 16).bits, Bytes(16, '\xFF'));
    EXPECT_EQ(Get(kZolteProfile, Best(1, 2, ""), 8).bits, Bytes("\xFF\xFF\xFF\0\xFF\xFF\xFF\0", 8));
    // An end marker first: all zero.
    EXPECT_EQ(Get(kBryssProfile, Screen(2, 2, Bytes(2, '\0')), 16).bits, Bytes(16, '\0'));
    // A stream that ends early leaves the rest zero; rows are still turned,
    // so the decoded bytes land in the last row.
    LzssWriter w;
    w.Literal('a');
    w.Literal('b');
    w.End();
    EXPECT_EQ(Get(kZolteProfile, Best(1, 2, w.Bytes()), 8).bits, Bytes("\0\0\0\0ab\0\0", 8));
    // A stream longer than the picture is cut off.
    const Bytes big(5000, 'x');
    EXPECT_EQ(Get(kBryssProfile, Screen(3, 1, EncodeLzss(big.data(), big.size())), 12).bits, Bytes(12, 'x'));
}

// What no bitmap can be, and any picture larger than 16384 pixels a side or
// 256 MiB of bits, is refused with 4 before anything is allocated.
TEST(GetImage, UnusableSizesAreRefused)
{
    struct Case {
        const ImageProfile* profile;
        int16_t width, height;
    };
    const Case cases[] = {
        {&kBryssProfile, 0, 10},      {&kBryssProfile, 10, 0},      {&kBryssProfile, -1, 10},
        {&kBryssProfile, 10, -32768}, {&kBryssProfile, -4, -4},     {&kBryssProfile, 32767, 32767},
        {&kZolteProfile, 0, 0},       {&kZolteProfile, -100, 5},    {&kZolteProfile, 32767, 32767},
        {&kZolteProfile, 21846, 32767},
        // One pixel past a side, and one row past 256 MiB (16384 pixels make
        // rows of 65536 and 49152 bytes).
        {&kBryssProfile, 16385, 1},   {&kBryssProfile, 1, 16385},   {&kBryssProfile, 16384, 4097},
        {&kZolteProfile, 16385, 1},   {&kZolteProfile, 1, 16385},   {&kZolteProfile, 16384, 5462},
    };
    for (const Case& c : cases) {
        const Bytes file = c.profile == &kBryssProfile ? Screen(c.width, c.height, "") : Best(c.width, c.height, "");
        TestBlocks blocks;
        EXPECT_EQ(Get(*c.profile, file, blocks, 0).result, kImageNoMemoryOrSize) << c.width << "x" << c.height;
        EXPECT_EQ(blocks.requests, 0) << c.width << "x" << c.height;
    }
}

TEST(GetImage, PicturesUpToTheBoundAreDecoded)
{
    // A full side: decoded.
    for (const ImageProfile* profile : {&kBryssProfile, &kZolteProfile}) {
        const bool screen = profile == &kBryssProfile;
        for (auto [width, height] : {std::pair<int16_t, int16_t>{16384, 1}, {1, 16384}}) {
            const size_t stride = (size_t(width) * profile->bytesPerPixel + 3) / 4 * 4;
            const Bytes file = screen ? Screen(width, height, "") : Best(width, height, "");
            TestBlocks blocks;
            const Picture p = Get(*profile, file, blocks, stride * size_t(height));
            EXPECT_EQ(p.result, kImageDone) << width << "x" << height;
            EXPECT_EQ(p.info.biWidth, width);
            EXPECT_EQ(blocks.largest, stride * size_t(height));
        }
    }
    // The largest blocks allowed are asked for (and refused here by the heap).
    for (auto [profile, height, block] : {std::tuple{&kBryssProfile, int16_t(4096), size_t(256) << 20},
                                          {&kZolteProfile, int16_t(5461), size_t(49152) * 5461}}) {
        TestBlocks blocks;
        blocks.limit = 1 << 20;
        const Bytes file = profile == &kBryssProfile ? Screen(16384, height, "") : Best(16384, height, "");
        EXPECT_EQ(Get(*profile, file, blocks, 0).result, kImageNoMemoryOrSize) << height;
        EXPECT_EQ(blocks.largest, block) << height;
    }
}

// Whichever allocation fails, the answer is 4 and every block made on the
// way is released (Get checks both).
TEST(GetImage, EveryFailedAllocationReleasesTheOthers)
{
    const Bytes picture = MakeSamplePicture(4, 3, 4, 9);
    const Bytes stream = EncodeLzss(picture.data(), picture.size());
    // 4 x 3 at 24 bits has unpadded rows; 5 x 3 padded ones.
    const Bytes files[] = {Screen(4, 3, stream), Best(4, 3, stream), Best(5, 3, stream)};
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
    const Bytes file = Screen(1, 1, "");
    HLOCAL bits = reinterpret_cast<HLOCAL>(1), info = reinterpret_cast<HLOCAL>(2);
    EXPECT_EQ(reader.GetImage(nullptr, 200, &bits, &info), kImageNullArgument);
    EXPECT_EQ(reader.GetImage(file.data(), uint32_t(file.size()), nullptr, &info), kImageNullArgument);
    EXPECT_EQ(reader.GetImage(file.data(), uint32_t(file.size()), &bits, nullptr), kImageNullArgument);
    EXPECT_EQ(reader.GetImage("BSTS", 4, &bits, &info), kImageNotSignature);
    EXPECT_EQ(reader.GetImage("BST", 3, &bits, &info), kImageNotSignature);
    EXPECT_EQ(bits, reinterpret_cast<HLOCAL>(1));
    EXPECT_EQ(info, reinterpret_cast<HLOCAL>(2));

    // In the host's terms.
    EXPECT_EQ(MakeImage(reader, nullptr, 200, &bits, &info), Failure);
    EXPECT_EQ(MakeImage(reader, "BSTS", 4, &bits, &info), ReadError);
    EXPECT_EQ(MakeImage(reader, Screen(0, 1, "").data(), 116, &bits, &info), OutOfMemory);
    ASSERT_EQ(MakeImage(reader, file.data(), uint32_t(file.size()), &bits, &info), Ok);
    HostFree(bits);
    HostFree(info);
}

// A file cut at any length around its header: not ours below 4 bytes, no
// picture size below the header, and from there the picture of whatever
// stream is left (each cut in a block of exactly its size).
TEST(GetImage, FilesCutAroundTheHeader)
{
    for (const ImageProfile* profile : {&kBryssProfile, &kZolteProfile}) {
        const uint32_t bpp = profile->bytesPerPixel;
        const Bytes picture = MakeSamplePicture(3, 2, bpp, 4);
        const Bytes stream = EncodeLzss(picture.data(), picture.size());
        const Bytes file = bpp == 4 ? Screen(3, 2, stream) : Best(3, 2, stream);
        const uint32_t header = HeaderSize(profile->header);
        for (uint32_t n = 0; n <= file.size(); ++n) {
            const Picture p = Get(*profile, file.substr(0, n), Stride(3, bpp) * 2);
            if (n < 4) {
                EXPECT_EQ(p.result, kImageNotSignature) << n;
            } else if (n < header) {
                EXPECT_EQ(p.result, kImageNoMemoryOrSize) << n;
            } else {
                ASSERT_EQ(p.result, kImageDone) << n;
                Bytes decoded(picture.size(), '\0');
                DecodeLzssReference(n > header ? file.data() + header : nullptr, n - header, &decoded[0],
                                    uint32_t(decoded.size()));
                EXPECT_EQ(p.bits, BottomUp(decoded, 3, 2, bpp)) << n;
            }
        }
    }
}
