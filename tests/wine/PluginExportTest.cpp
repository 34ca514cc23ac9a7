// The file exports as the host calls them: codes and blocks, in both modes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"
#include "tools/games/GameFiles.h"
#include "wine/PluginHost.h"

using namespace testing_support;
using games::Game;

namespace {

class Exports : public ::testing::TestWithParam<Game> {
protected:
    Exports() : plugin(GetParam().plugin), calls(GetParam()) {}
    void SetUp() override { ASSERT_TRUE(calls.Ready() && e.GetColumnInfo) << host::PluginPath(GetParam().plugin); }
    void TearDown() override { EXPECT_TRUE(host::HeapIsIntact()); }

    const Game& game() const { return GetParam(); }
    int BytesPerPixel() const { return int(game().image->bytesPerPixel); }
    // A shot of this game; its stream encodes `picture` when one is given.
    Bytes Shot(int16_t width, int16_t height, const Bytes& picture = "") const
    {
        shot_support::ScreenShot screen;
        shot_support::BestShot best;
        screen.width = best.width = width;
        screen.height = best.height = height;
        return ShotOf(game(), screen, best, picture.empty() ? "\xFF\xFF" : EncodeLzss(picture.data(), picture.size()));
    }
    Bytes Good() const { return game().IsReplay() ? ReplayOf(game(), {Info(), Comment("a comment")}, 64) : Shot(5, 3); }
    // Every export, on disk and right before a no-access page.
    std::vector<std::vector<host::Answer>> BothModes(const std::string& name, const Bytes& file)
    {
        const host::GuardedBytes image(file);
        return {calls.CallEvery(dir.Write(name, file).c_str(), 0), calls.CallEvery(image.Data(), image.Size())};
    }

    host::Plugin plugin;
    const PluginExportTable& e = plugin.exports;
    host::PluginCalls calls;
    host::TempDir dir;
};

// What the host may get wrong, and files that are not the game's: each
// export's code, and nothing handed over.
TEST_P(Exports, RefusalsHandNothingOver)
{
    const Bytes good = Good(), magic = game().Magic();
    Bytes otherCase = magic;
    for (char& c : otherCase) c = char(std::islower(uint8_t(c)) ? std::toupper(uint8_t(c)) : std::tolower(uint8_t(c)));
    const std::string missing = dir.Path("missing");
    const std::string foreign = dir.Write("foreign", magic.substr(0, 3) + char(magic[3] ^ 1) + "rest");
    const std::string theirs = dir.Write("theirs", otherCase + "rest");
    // A file of 4 GiB or more (sparse) is not one a 32-bit host could read.
    const std::string huge = dir.Write(game().FileName("02"), good);
    HANDLE file = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = 0x100000000LL + 16;
    ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    const struct {
        const char* what;
        LPCSTR pathOrImage;
        DWORD size;
        int supported, list, text, picture;
    } cases[] = {
        {"a missing file", missing.c_str(), 0, 0, 1, 1, 1},
        {"a folder", dir.Root().c_str(), 0, 0, 1, 1, 1},
        {"another magic", foreign.c_str(), 0, 0, 1, 1, 1},
        {"the magic in the other case", theirs.c_str(), 0, 0, 1, 1, 1},
        {"a file of 4 GiB", huge.c_str(), 0, 0, 1, 1, 1},
        {"another magic in memory", "XXXXXXXX", 8, 0, 1, 1, 1},
        {"three bytes in memory", good.data(), 3, 0, 1, 1, 1},
        {"no path", nullptr, 0, 4, 2, 2, 2},
        {"no image", nullptr, 10, 4, 5, 2, 5},
    };
    for (const auto& c : cases) {
        const std::vector<host::Answer> a = calls.CallEvery(c.pathOrImage, c.size);
        EXPECT_EQ(a[0].result, c.supported) << c.what;
        for (size_t i = 1; i < a.size(); ++i) {
            EXPECT_EQ(a[i].result, i == 1 ? c.list : game().IsReplay() ? c.text : c.picture) << c.what << ", " << i;
            EXPECT_TRUE(a[i].blocks.empty()) << c.what << ", " << i;
        }
    }
    for (const Game& other : games::All())
        EXPECT_EQ(e.IsSupported((other.Magic() + "rest").c_str(), 8), other.Magic() == magic ? 1 : 0) << other;
    EXPECT_EQ(e.GetColumnInfo(nullptr), 5);
}

INSTANTIATE_TEST_SUITE_P(Plugins, Exports, ::testing::ValuesIn(games::All()),
                         [](const auto& info) { return std::string(info.param.plugin); });

class ReplayExports : public Exports {};

std::string Field(const std::string& row, int i) { return row.c_str() + 512 * i; }

// Long fields are cut by msvcrt's formatter, which the native build lacks.
TEST_P(ReplayExports, BlocksInPathAndMemoryMode)
{
    const Bytes info = "Name " + Bytes(510, 'n') + "\x83\x7E\r\nVersion 9\r\n";
    const Bytes comment = Bytes(509, 'c') + "\x82\xA0\x82\xA2" + Bytes(600, 'd');
    const auto modes = BothModes(game().FileName("12"), ReplayOf(game(), {Info(info), Section(1, comment)}, 64));
    const int n = int(game().Columns());
    for (const auto& a : modes) {
        ASSERT_TRUE(a[1].result == 0 && a[2].result == 0 && a[3].result == 0 && a[1].blocks.size() == 1 &&
                    a[2].blocks.size() == 1 && a[3].blocks.size() == 1);
        ASSERT_EQ(a[1].blocks[0].size(), n * 512u);
        EXPECT_EQ(Field(a[1].blocks[0], 3), Bytes(510, 'n'));
        EXPECT_EQ(Field(a[1].blocks[0], n - 4), "9");
        EXPECT_EQ(Field(a[1].blocks[0], n - 3), Bytes(509, 'c') + "\x82\xA0");
        for (int hostField : {0, 1, n - 2, n - 1}) EXPECT_EQ(Field(a[1].blocks[0], hostField), "") << hostField;
        EXPECT_EQ(a[2].blocks[0], info + Bytes(1, '\0'));
        EXPECT_EQ(a[3].blocks[0], comment + Bytes(1, '\0')) << "one NUL added behind";
    }
    EXPECT_EQ(Field(modes[0][1].blocks[0], 2), "No.12");
    EXPECT_EQ(Field(modes[1][1].blocks[0], 2), "----");
    EXPECT_EQ(modes[0][1].blocks[0].substr(3 * 512), modes[1][1].blocks[0].substr(3 * 512));
}

INSTANTIATE_TEST_SUITE_P(Plugins, ReplayExports, ::testing::ValuesIn(games::Replays()),
                         [](const auto& info) { return std::string(info.param.plugin); });

class PictureExports : public Exports {};

// The bitmap comes back bottom row first, rows padded to four bytes, with
// its 44-byte header, in both modes.
TEST_P(PictureExports, BitmapInPathAndMemoryMode)
{
    const Bytes picture = MakeSamplePicture(5, 3, BytesPerPixel(), 7);
    const auto modes = BothModes(game().FileName("05"), Shot(5, 3, picture));
    BITMAPINFOHEADER header = {40, 5, 3, 1, WORD(BytesPerPixel() * 8), BI_RGB, 0, 0, 0, 0, 0};
    for (const auto& a : modes) {
        ASSERT_TRUE(a[1].result == 0 && a[2].result == 0 && a[1].blocks.size() == 1 && a[2].blocks.size() == 2);
        EXPECT_EQ(a[2].blocks[0], shot_support::BottomUp(picture, 5, 3, BytesPerPixel()));
        EXPECT_EQ(a[2].blocks[1], Bytes(reinterpret_cast<char*>(&header), 40) + Bytes(4, '\0'));
        EXPECT_EQ(a[1].blocks[0].size(), game().Columns() * 512u);
    }
    EXPECT_EQ(modes[0][1].blocks, modes[1][1].blocks);
}

// No bitmap has these sizes, and none is decoded past 16384 pixels a side or
// 256 MiB of bits: 4, and nothing handed over.
TEST_P(PictureExports, SizesBeyondTheBoundAreRefused)
{
    const int16_t rowsPastTheBlock = int16_t((256 << 20) / ((16384 * BytesPerPixel() + 3) / 4 * 4) + 1);
    for (auto [width, height] : {std::pair<int16_t, int16_t>{0, 5}, {-3, 4}, {16385, 1}, {1, 16385}, {32767, 32767},
                                 {16384, rowsPastTheBlock}}) {
        const std::string path = dir.Write("hostile.dat", Shot(width, height));
        HLOCAL bits = reinterpret_cast<HLOCAL>(1), info = reinterpret_cast<HLOCAL>(1);
        EXPECT_EQ(e.GetFileInfoImage2(path.c_str(), 0, &bits, &info), 4) << width << "x" << height;
        EXPECT_TRUE(bits == nullptr && info == nullptr) << width << "x" << height;
    }
}

INSTANTIATE_TEST_SUITE_P(Plugins, PictureExports, ::testing::ValuesIn(games::Pictures()),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
