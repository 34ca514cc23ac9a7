#include <gtest/gtest.h>

#include <cstring>
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

// A cut shorter than the header leaves the record all zero.
template <typename Header>
void ExpectCutsLeaveZero(const Bytes& file)
{
    for (uint32_t n = 0; n < file.size(); ++n) {
        const testing_support::ExactBytes exact(file.substr(0, n));
        Header h;
        const Header zero;
        EXPECT_EQ(std::memcmp(&h.Parse(exact.data(), n), &zero, sizeof h), 0) << n;
    }
}

}  // namespace

TEST(ShotHeaders, TakeEveryFieldFromItsOffset)
{
    const Bytes screen = Counting(116);
    ScreenShotHeader s;
    s.Parse(screen.data(), uint32_t(screen.size()));
    EXPECT_EQ(s.reserved1, 0x0605);
    EXPECT_EQ(s.day, 0x0807);
    EXPECT_EQ(s.scene, 0x0A09);
    EXPECT_EQ(s.reserved2, 0x0C0B);
    EXPECT_EQ(s.width, 0x0E0D);
    EXPECT_EQ(s.height, 0x100F);
    EXPECT_EQ(s.reserved3, 0x14131211u);
    EXPECT_EQ(s.timestamp, 0x18171615u);
    EXPECT_EQ(FloatBits(s.slow_rate), 0x1C1B1A19u);
    EXPECT_EQ(Bytes(reinterpret_cast<const char*>(s.reserved4), 88), screen.substr(28));

    Bytes best = Counting(104);
    std::memset(&best[24], 'n', 80);  // a name without a NUL
    BestShotHeader b;
    b.Parse(best.data(), uint32_t(best.size()));
    EXPECT_EQ(b.reserved1, 0x0605);
    EXPECT_EQ(b.level, 0x0807);
    EXPECT_EQ(b.scene, 0x0A09);
    EXPECT_EQ(b.reserved2, 0x0C0B);
    EXPECT_EQ(b.width, 0x0E0D);
    EXPECT_EQ(b.height, 0x100F);
    EXPECT_EQ(b.score, 0x14131211);
    EXPECT_EQ(FloatBits(b.slow_rate), 0x18171615u);
    EXPECT_EQ(Bytes(b.spell_card_name, 80), Bytes(80, 'n'));

    ExpectCutsLeaveZero<ScreenShotHeader>(screen);
    ExpectCutsLeaveZero<BestShotHeader>(best);
    ScreenShotHeader none;
    EXPECT_EQ(none.Parse(nullptr, 500).width, 0);
}
