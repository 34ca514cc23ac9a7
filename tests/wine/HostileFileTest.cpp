// Cut and broken files through every file export, on disk and right before
// a no-access page: codes of the contract, blocks of the promised sizes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"
#include "tools/games/GameFiles.h"
#include "wine/PluginHost.h"

using games::Game;
using testing_support::Bytes;

namespace {

Bytes Patched(Bytes file, size_t at, uint32_t value, int width = 4)
{
    for (int i = 0; i < width; ++i) file[at + i] = char((value >> (8 * i)) & 0xFF);
    return file;
}

Bytes ValidFile(const Game& game)
{
    using namespace testing_support;
    if (game.IsReplay()) return ReplayOf(game, {Info(), Comment("comment")}, 40);
    const Bytes picture = MakeSamplePicture(5, 3, game.image->bytesPerPixel, 7);
    shot_support::ScreenShot s;
    shot_support::BestShot b;
    s.width = b.width = 5;
    s.height = b.height = 3;
    return ShotOf(game, s, b, EncodeLzss(picture.data(), picture.size()));
}

// Cuts, and the fields worth breaking.
std::vector<Bytes> MakeHostileFiles(const Game& game)
{
    const Bytes good = ValidFile(game);
    const uint32_t size = uint32_t(good.size());
    std::vector<Bytes> files;
    for (size_t n = 0; n < size; n += n < 64 ? 1 : 7) files.push_back(good.substr(0, n));
    auto patch = [&](size_t at, int width, std::initializer_list<uint32_t> values) {
        for (uint32_t v : values) files.push_back(Patched(good, at, v, width));
    };
    if (game.IsReplay()) {
        const size_t first = 16 + 40, second = first + testing_support::Info().size();
        patch(12, 4, {0u, 4u, 11u, 12u, size - 12, size - 11, size, 0x7FFFFFFFu, 0xFFFFFFF0u, 0xFFFFFFFFu});
        for (size_t at : {first + 4, second + 4})
            patch(at, 4, {0u, 1u, 11u, 12u, 13u, size, 0x7FFFFFFFu, 0xFFFFFFF4u, 0xFFFFFFFFu});
        patch(first + 8, 4, {1u, 2u, 0xFFFFFFFFu});
        patch(second + 8, 4, {0u, 7u});
        patch(first, 4, {0u});   // not "USER"
    } else {
        const bool screen = game.image->header == ShotKind::ScreenShot;
        patch(12, 4, {0u, 0xFFFF0005u, 0x8000u | 0x8000u << 16, 16384u | 16384u << 16});   // sizes
        patch(6, 2, {0x8000u, 0x7FFFu, 0xFFFFu, 9u, 10u, 11u, 12u});                        // day or level
        patch(8, 2, {0x8000u, 0x7FFFu});                                                    // scene
        patch(16, 4, {0x80000000u, 0xFFFFFFFFu});                                           // score or reserved
        patch(screen ? 20 : 16, 4, {0xFFFFFFFFu, 0x7FFFFFFFu});                             // time or score
        patch(screen ? 24 : 20, 4, {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x7F7FFFFFu});   // slowdown rate
        files.push_back(good.substr(0, 24) + Bytes(80, '\x81') + good.substr(104));        // lead bytes, no NUL
    }
    return files;
}

int16_t ShotSize(const Bytes& file, size_t at) { return int16_t(uint8_t(file[at]) | uint8_t(file[at + 1]) << 8); }

void ExpectContract(const Game& game, const Bytes& file, const std::vector<host::Answer>& a)
{
    const bool ours = file.size() >= 4 && file.compare(0, 4, game.Magic()) == 0;
    EXPECT_EQ(a[0].result, ours ? 1 : 0);
    // A file of the plug-in's own game never gets 1, whatever is wrong with
    // it; any other file always does.
    for (size_t i = 1; i < a.size(); ++i) {
        EXPECT_TRUE(a[i].result == 0 || a[i].result == 1 || a[i].result == 2 || a[i].result == 4)
            << i << ": " << a[i].result;
        EXPECT_EQ(a[i].result == 1, !ours) << i << ": " << a[i].result;
        EXPECT_TRUE(a[i].freed) << i;
    }
    // A row for every file of the game, empty if need be; every field ends inside it.
    ASSERT_EQ(a[1].blocks.size(), ours ? 1u : 0u);
    if (ours) {
        ASSERT_EQ(a[1].blocks[0].size(), game.Columns() * 512u);
        for (size_t i = 0; i < game.Columns(); ++i) EXPECT_LT(strnlen(a[1].blocks[0].data() + 512 * i, 512), 512u) << i;
    }
    if (game.IsReplay()) {
        for (size_t i : {2, 3}) {
            ASSERT_EQ(a[i].blocks.size(), a[i].result == 0 ? 1u : 0u) << i;
            EXPECT_TRUE(a[i].result != 0 || a[i].blocks[0].find('\0') != std::string::npos) << i << ": unterminated";
        }
        return;
    }
    ASSERT_EQ(a[2].blocks.size(), a[2].result == 0 ? 2u : 0u);
    if (a[2].result != 0) return;
    ASSERT_GE(file.size(), 16u) << "a picture without a whole size";
    const size_t stride = (size_t(ShotSize(file, 12)) * game.image->bytesPerPixel + 3) / 4 * 4;
    EXPECT_EQ(a[2].blocks[0].size(), stride * size_t(ShotSize(file, 14))) << "bits";
    EXPECT_EQ(a[2].blocks[1].size(), 44u) << "bitmap header";
}

class HostileFiles : public ::testing::TestWithParam<Game> {};

TEST_P(HostileFiles, EveryExportKeepsTheContractInBothModes)
{
    const Game& game = GetParam();
    const host::PluginCalls plugin(game);
    ASSERT_TRUE(plugin.Ready()) << host::PluginPath(game.plugin);
    host::TempDir dir;
    const std::vector<Bytes> files = MakeHostileFiles(game);
    for (size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE("file " + std::to_string(i) + ", " + std::to_string(files[i].size()) + " bytes");
        const std::vector<host::Answer> path = plugin.CallEvery(dir.Write(game.FileName("07"), files[i]).c_str(), 0);
        ExpectContract(game, files[i], path);
        if (!files[i].empty()) {   // size 0 would be path mode
            const host::GuardedBytes image(files[i]);
            const std::vector<host::Answer> memory = plugin.CallEvery(image.Data(), image.Size());
            ExpectContract(game, files[i], memory);
            // The answers of path mode, but for a replay's row, whose slot only a file name tells.
            for (size_t k = 0; k < memory.size(); ++k)
                EXPECT_TRUE(memory[k].result == path[k].result &&
                            ((k == 1 && game.IsReplay()) || memory[k].blocks == path[k].blocks))
                    << "export " << k << ": " << memory[k].result << " in memory, " << path[k].result << " on disk";
        }
        ASSERT_TRUE(host::HeapIsIntact());
    }
}

INSTANTIATE_TEST_SUITE_P(Plugins, HostileFiles, ::testing::ValuesIn(games::All()),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
