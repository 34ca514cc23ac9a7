#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "image/ShotHeader.h"
#include "support/ExactBytes.h"
#include "tools/games/ShotBuilder.h"

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
        const testing_support::ExactBytes exact(screen.substr(0, n));
        ScreenShotHeader h;
        EXPECT_TRUE(IsAllZero(h.Parse(exact.data(), n))) << n;
    }
    ScreenShotHeader full;
    EXPECT_EQ(full.Parse(screen.data(), 116).width, 640);

    BestShot b;
    b.level = 4;
    b.width = 8;
    const Bytes best = BestShotFile(b);
    for (uint32_t n = 0; n < 104; ++n) {
        const testing_support::ExactBytes exact(best.substr(0, n));
        BestShotHeader h;
        EXPECT_TRUE(IsAllZero(h.Parse(exact.data(), n))) << n;
    }
    BestShotHeader whole;
    EXPECT_EQ(whole.Parse(best.data(), 104).level, 4);

    ScreenShotHeader none;
    EXPECT_TRUE(IsAllZero(none.Parse(nullptr, 500)));
}
