#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "common/HostMemory.h"
#include "image/ImageRows.h"
#include "support/ExactBytes.h"
#include "tools/games/GameReaders.h"
#include "tools/games/ShotBuilder.h"

using namespace shot_support;

namespace {

// "一日目", "最終日"
const char kFirstDay[] = "\x88\xEA\x93\xFA\x96\xDA";
const char kLastDay[] = "\x8D\xC5\x8FI\x93\xFA";

struct Row {
    HLOCAL block = nullptr;
    ~Row() { HostFree(block); }
    const char* Field(int i) const { return static_cast<const char*>(block) + 512 * i; }
};

// The file in a block of exactly its size, so that a read past it shows.
PluginResult Build(const CImageReader& reader, const Bytes& file, Row& row)
{
    const testing_support::ExactBytes exact(file);
    return MakeListInfo(reader, exact.data(), exact.size(), &row.block);
}

class ImageRows : public ::testing::Test {
protected:
    // The shot times are shown in the machine's zone; these tests run at UTC+9.
    static void SetUpTestSuite()
    {
        setenv("TZ", "JST-9", 1);
        tzset();
    }
};

}  // namespace

TEST_F(ImageRows, ScreenShotFields)
{
    ScreenShot s;
    s.day = 9;
    s.scene = 2;
    s.width = 640;
    s.height = -480;
    s.timestamp = 0;
    s.slow_rate = 0.5f;
    Row row;
    ASSERT_EQ(Build(CBryssPic(), ScreenShotFile(s, "\x01\x02"), row), Ok);
    const char* expected[11] = {"", "", kLastDay, "3", "10-3", "640", "-480", "1970/01/01 09:00:00", "0.500000", "", ""};
    for (int i = 0; i < 11; ++i) EXPECT_STREQ(row.Field(i), expected[i]) << i;
}

TEST_F(ImageRows, ScreenShotDayAndSceneAreShownFromOne)
{
    ScreenShot s;
    s.slow_rate = 1.234567f;
    s.timestamp = 0xFFFFFFFFu;  // widened without sign: the year 2106
    Row row;
    ASSERT_EQ(Build(CBryssPic(), ScreenShotFile(s), row), Ok);
    EXPECT_STREQ(row.Field(2), kFirstDay);
    EXPECT_STREQ(row.Field(3), "1");
    EXPECT_STREQ(row.Field(4), "1-1");
    EXPECT_STREQ(row.Field(7), "2106/02/07 15:28:15");
    EXPECT_STREQ(row.Field(8), "1.234567");
}

TEST_F(ImageRows, DaysPastTheTableShowTheStoredNumber)
{
    for (auto [day, name, pair] : {std::tuple{10, "10", "11-1"}, {-1, "-1", "0-1"}, {32767, "32767", "32768-1"}}) {
        ScreenShot s;
        s.day = int16_t(day);
        Row row;
        ASSERT_EQ(Build(CBryssPic(), ScreenShotFile(s), row), Ok);
        EXPECT_STREQ(row.Field(2), name);
        EXPECT_STREQ(row.Field(4), pair);
    }
}

TEST_F(ImageRows, BestShotFields)
{
    BestShot b;
    b.level = 11;
    b.scene = 3;
    b.width = 320;
    b.height = 240;
    b.score = -7;
    b.slow_rate = 0.0f;
    b.spell_card_name = "\x83X\x83y\x83\x8B";  // Shift-JIS bytes, taken as they are
    Row row;
    ASSERT_EQ(Build(CZoltePic(), BestShotFile(b), row), Ok);
    const char* expected[10] = {"", "", "EX-3", b.spell_card_name.c_str(), "320", "240", "-7", "0.000000", "", ""};
    for (int i = 0; i < 10; ++i) EXPECT_STREQ(row.Field(i), expected[i]) << i;
}

TEST_F(ImageRows, BestShotLevelsAndFullName)
{
    for (auto [level, scene, shown] : {std::tuple{1, 1, "1-1"}, {10, 0, "10-0"}, {12, 3, "12-3"}, {0, -2, "0--2"}}) {
        BestShot b;
        b.level = int16_t(level);
        b.scene = int16_t(scene);
        Row row;
        ASSERT_EQ(Build(CZoltePic(), BestShotFile(b), row), Ok);
        EXPECT_STREQ(row.Field(2), shown);
    }
    // 80 bytes without a NUL: the zero rest of the field ends the text.
    BestShot full;
    full.spell_card_name = Bytes(80, 'n');
    Row row;
    ASSERT_EQ(Build(CZoltePic(), BestShotFile(full), row), Ok);
    EXPECT_EQ(std::string(row.Field(3)), Bytes(80, 'n'));
}

// A file cut inside its header shows the all-zero header.
TEST_F(ImageRows, CutHeaderShowsZeros)
{
    ScreenShot s;
    s.day = 5;
    s.width = 9;
    const Bytes screen = ScreenShotFile(s);
    for (size_t n : {4, 15, 100, 115}) {
        Row row;
        ASSERT_EQ(Build(CBryssPic(), screen.substr(0, n), row), Ok) << n;
        const char* expected[11] = {"", "", kFirstDay, "1", "1-1", "0", "0", "1970/01/01 09:00:00", "0.000000", "", ""};
        for (int i = 0; i < 11; ++i) EXPECT_STREQ(row.Field(i), expected[i]) << n << " field " << i;
    }
    BestShot b;
    b.level = 2;
    b.spell_card_name = "name";
    const Bytes best = BestShotFile(b);
    for (size_t n : {4, 24, 103}) {
        Row row;
        ASSERT_EQ(Build(CZoltePic(), best.substr(0, n), row), Ok) << n;
        const char* expected[10] = {"", "", "0-0", "", "0", "0", "0", "0.000000", "", ""};
        for (int i = 0; i < 10; ++i) EXPECT_STREQ(row.Field(i), expected[i]) << n << " field " << i;
    }
}

TEST_F(ImageRows, RefusalsAllocateNothing)
{
    const Bytes screen = ScreenShotFile(ScreenShot());
    Row row;
    EXPECT_EQ(MakeListInfo(CBryssPic(), screen.data(), uint32_t(screen.size()), nullptr), Failure);
    EXPECT_EQ(MakeListInfo(CBryssPic(), nullptr, 200, &row.block), Failure);
    EXPECT_EQ(Build(CBryssPic(), "BST", row), Unsupported);
    EXPECT_EQ(Build(CZoltePic(), screen, row), Unsupported);
    EXPECT_EQ(Build(CBryssPic(), BestShotFile(BestShot()), row), Unsupported);
    EXPECT_EQ(row.block, nullptr);
}
