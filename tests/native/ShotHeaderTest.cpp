#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "image/ShotHeader.h"
#include "plugins/brysspic/BryssPic.h"
#include "plugins/zoltepic/ZoltePic.h"
#include "support/ShotBuilder.h"

using namespace shot_support;

namespace {

// Every byte distinct, so a field read from the wrong offset shows.
Bytes Counting(size_t n)
{
    Bytes b(n, '\0');
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<char>(i + 1);
    return b;
}

template <typename Header>
bool IsAllZero(const Header& h)
{
    const Header zero;  // the records have no padding bytes
    return std::memcmp(&h, &zero, sizeof h) == 0;
}

}  // namespace

TEST(ScreenShotHeader, TakesEveryFieldFromItsOffset)
{
    const Bytes file = Counting(116);
    ScreenShotHeader h;
    h.Parse(file.data(), uint32_t(file.size()));
    EXPECT_EQ(h.reserved1, 0x0605);
    EXPECT_EQ(h.day, 0x0807);
    EXPECT_EQ(h.scene, 0x0A09);
    EXPECT_EQ(h.reserved2, 0x0C0B);
    EXPECT_EQ(h.width, 0x0E0D);
    EXPECT_EQ(h.height, 0x100F);
    EXPECT_EQ(h.reserved3, 0x14131211u);
    EXPECT_EQ(h.timestamp, 0x18171615u);
    EXPECT_EQ(FloatBits(h.slow_rate), 0x1C1B1A19u);
    EXPECT_EQ(Bytes(reinterpret_cast<const char*>(h.reserved4), 88), file.substr(28));
}

TEST(BestShotHeader, TakesEveryFieldFromItsOffset)
{
    Bytes file = Counting(104);
    std::memset(&file[24], 'n', 80);  // a name without a NUL
    BestShotHeader h;
    h.Parse(file.data(), uint32_t(file.size()));
    EXPECT_EQ(h.reserved1, 0x0605);
    EXPECT_EQ(h.level, 0x0807);
    EXPECT_EQ(h.scene, 0x0A09);
    EXPECT_EQ(h.reserved2, 0x0C0B);
    EXPECT_EQ(h.width, 0x0E0D);
    EXPECT_EQ(h.height, 0x100F);
    EXPECT_EQ(h.score, 0x14131211);
    EXPECT_EQ(FloatBits(h.slow_rate), 0x18171615u);
    EXPECT_EQ(Bytes(h.spell_card_name, 80), Bytes(80, 'n'));
}

TEST(ShotHeaders, SignedAndBitExactFields)
{
    ScreenShot s;
    s.width = -32768;
    s.height = -1;
    s.day = -2;
    s.timestamp = 0xFFFFFFFFu;
    const Bytes file = ScreenShotFile(s) + "stream";
    ScreenShotHeader h;
    h.Parse(file.data(), uint32_t(file.size()));
    EXPECT_EQ(h.width, -32768);
    EXPECT_EQ(h.height, -1);
    EXPECT_EQ(h.day, -2);
    EXPECT_EQ(h.timestamp, 0xFFFFFFFFu);

    BestShot b;
    b.score = -123456;
    b.slow_rate = std::nanf("");
    const Bytes best = BestShotFile(b);
    BestShotHeader bh;
    bh.Parse(best.data(), uint32_t(best.size()));
    EXPECT_EQ(bh.score, -123456);
    EXPECT_EQ(FloatBits(bh.slow_rate), FloatBits(b.slow_rate));  // NaN copied as it is
}

// A buffer shorter than its header fills nothing: the record stays zero.
// Each cut is in a block of exactly that size, so a read past it shows.
TEST(ShotHeaders, ShorterThanTheHeaderLeavesTheRecordZero)
{
    ScreenShot s;
    s.day = 3;
    s.width = 640;
    s.timestamp = 99;
    const Bytes screen = ScreenShotFile(s);
    for (uint32_t n = 0; n < 116; ++n) {
        std::unique_ptr<char[]> exact(new char[n ? n : 1]);
        std::memcpy(exact.get(), screen.data(), n);
        ScreenShotHeader h;
        EXPECT_TRUE(IsAllZero(h.Parse(exact.get(), n))) << n;
    }
    ScreenShotHeader full;
    EXPECT_EQ(full.Parse(screen.data(), 116).width, 640);

    BestShot b;
    b.level = 4;
    b.width = 8;
    const Bytes best = BestShotFile(b);
    for (uint32_t n = 0; n < 104; ++n) {
        std::unique_ptr<char[]> exact(new char[n ? n : 1]);
        std::memcpy(exact.get(), best.data(), n);
        BestShotHeader h;
        EXPECT_TRUE(IsAllZero(h.Parse(exact.get(), n))) << n;
    }
    BestShotHeader whole;
    EXPECT_EQ(whole.Parse(best.data(), 104).level, 4);

    ScreenShotHeader none;
    EXPECT_TRUE(IsAllZero(none.Parse(nullptr, 500)));
}

TEST(CheckMagic, SignatureAloneDecides)
{
    const CBryssPic bryss;
    const CZoltePic zolte;
    EXPECT_TRUE(bryss.CheckMagic("BST3", 4));
    EXPECT_TRUE(zolte.CheckMagic("BSTS", 4));
    EXPECT_TRUE(bryss.CheckMagic("BST3 and anything", 17));
    EXPECT_FALSE(bryss.CheckMagic("BST3", 3));
    EXPECT_FALSE(bryss.CheckMagic("bst3", 4));
    EXPECT_FALSE(bryss.CheckMagic("BSTS", 4));
    EXPECT_FALSE(zolte.CheckMagic("BST3", 4));
    EXPECT_FALSE(zolte.CheckMagic(nullptr, 4));
}
