#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "common/HostMemory.h"
#include "image/ImageRows.h"
#include "support/ExactBytes.h"
#include "tools/games/GameReaders.h"
#include "tools/games/ShotBuilder.h"

using namespace shot_support;
using Fields = std::vector<std::string>;

namespace {

// "一日目", "最終日"
const char kFirstDay[] = "\x88\xEA\x93\xFA\x96\xDA";
const char kLastDay[] = "\x8D\xC5\x8FI\x93\xFA";

// The row's fields, from an exact-size copy of the file.
Fields Row(const CImageReader& reader, const Bytes& file)
{
    const testing_support::ExactBytes exact(file);
    HLOCAL row = nullptr;
    EXPECT_EQ(MakeListInfo(reader, exact.data(), exact.size(), &row), Ok);
    Fields fields;
    for (uint32_t i = 0; row && i < reader.Profile().columnCount; ++i)
        fields.push_back(static_cast<const char*>(row) + 512 * i);
    HostFree(row);
    return fields;
}

ScreenShot Screen(int16_t day, int16_t scene, int16_t width, int16_t height, uint32_t time, float rate)
{
    ScreenShot s;
    s.day = day, s.scene = scene, s.width = width, s.height = height, s.timestamp = time, s.slow_rate = rate;
    return s;
}

BestShot Best(int16_t level, int16_t scene, const Bytes& name, int32_t score = 0)
{
    BestShot b;
    b.level = level, b.scene = scene, b.spell_card_name = name, b.score = score;
    return b;
}

}  // namespace

// Days and scenes from one; times in the machine's zone (UTC+9 here),
// unsigned; a cut header shows zeros.
TEST(ImageRows, ScreenShotFields)
{
    setenv("TZ", "JST-9", 1);
    tzset();
    ScreenShot wide = Screen(9, 2, 640, -480, 0, 0.5f);
    const struct {
        Bytes file;
        Fields fields;
    } cases[] = {
        {ScreenShotFile(wide, "\x01\x02"),
         {"", "", kLastDay, "3", "10-3", "640", "-480", "1970/01/01 09:00:00", "0.500000", "", ""}},
        {ScreenShotFile(Screen(0, 0, 0, 0, 0xFFFFFFFFu, 1.234567f)),
         {"", "", kFirstDay, "1", "1-1", "0", "0", "2106/02/07 15:28:15", "1.234567", "", ""}},
        {ScreenShotFile(Screen(10, 0, 0, 0, 0, 0)), {"", "", "10", "1", "11-1", "0", "0", "1970/01/01 09:00:00", "0.000000", "", ""}},
        {ScreenShotFile(Screen(-1, 0, 0, 0, 0, 0)), {"", "", "-1", "1", "0-1", "0", "0", "1970/01/01 09:00:00", "0.000000", "", ""}},
        {ScreenShotFile(Screen(32767, 0, 0, 0, 0, 0)),
         {"", "", "32767", "1", "32768-1", "0", "0", "1970/01/01 09:00:00", "0.000000", "", ""}},
        {ScreenShotFile(wide).substr(0, 115),
         {"", "", kFirstDay, "1", "1-1", "0", "0", "1970/01/01 09:00:00", "0.000000", "", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(Row(CBryssPic(), c.file), c.fields) << c.file.size();
}

// Levels by name where they have one; the name as stored, NUL or not.
TEST(ImageRows, BestShotFields)
{
    const Bytes name = "\x83X\x83y\x83\x8B";
    const struct {
        Bytes file;
        Fields fields;
    } cases[] = {
        {BestShotFile(Best(11, 3, name, -7)), {"", "", "EX-3", name, "0", "0", "-7", "0.000000", "", ""}},
        {BestShotFile(Best(1, 1, "")), {"", "", "1-1", "", "0", "0", "0", "0.000000", "", ""}},
        {BestShotFile(Best(10, 0, "")), {"", "", "10-0", "", "0", "0", "0", "0.000000", "", ""}},
        {BestShotFile(Best(12, 3, "")), {"", "", "12-3", "", "0", "0", "0", "0.000000", "", ""}},
        {BestShotFile(Best(0, -2, "")), {"", "", "0--2", "", "0", "0", "0", "0.000000", "", ""}},
        {BestShotFile(Best(2, 1, Bytes(80, 'n'))), {"", "", "2-1", Bytes(80, 'n'), "0", "0", "0", "0.000000", "", ""}},
        {BestShotFile(Best(2, 1, "name")).substr(0, 103), {"", "", "0-0", "", "0", "0", "0", "0.000000", "", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(Row(CZoltePic(), c.file), c.fields) << c.fields[2];
}

TEST(ImageRows, RefusalsAllocateNothing)
{
    const Bytes screen = ScreenShotFile(ScreenShot());
    const Bytes best = BestShotFile(BestShot());
    HLOCAL row = nullptr;
    EXPECT_EQ(MakeListInfo(CBryssPic(), screen.data(), uint32_t(screen.size()), nullptr), Failure);
    EXPECT_EQ(MakeListInfo(CBryssPic(), nullptr, 200, &row), Failure);
    EXPECT_EQ(MakeListInfo(CBryssPic(), "BST", 3, &row), Unsupported);
    EXPECT_EQ(MakeListInfo(CZoltePic(), screen.data(), uint32_t(screen.size()), &row), Unsupported);
    EXPECT_EQ(MakeListInfo(CBryssPic(), best.data(), uint32_t(best.size()), &row), Unsupported);
    EXPECT_EQ(row, nullptr);
}
