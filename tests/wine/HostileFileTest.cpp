// Malformed files of every kind through every file export of every plug-in,
// in path mode and in memory mode right before a no-access page: each call
// answers with a code of the contract and hands over only blocks of the
// promised sizes, and the heap stays intact.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/games/GameFiles.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"
#include "wine/PluginCalls.h"

using games::Game;
using host::Answers;
using host::BlockCopy;
using testing_support::Bytes;

namespace {

// Deterministic pseudo-random numbers (xorshift32).
class Random {
public:
    explicit Random(uint32_t seed) : m_state(seed | 1) {}
    uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    uint32_t Below(uint32_t n) { return Next() % n; }

private:
    uint32_t m_state;
};

struct Hostile {
    std::string what;
    Bytes bytes;
};

struct Patch {
    size_t at;
    uint32_t value;
    int width;   // bytes written, little-endian
};

Bytes Patched(Bytes file, const Patch& p)
{
    for (int i = 0; i < p.width; ++i) file[p.at + i] = char((p.value >> (8 * i)) & 0xFF);
    return file;
}

bool IsScreenShot(const Game& game) { return game.image->header == ShotKind::ScreenShot; }
uint32_t BytesPerPixel(const Game& game) { return game.image->bytesPerPixel; }

Bytes ValidFile(const Game& game)
{
    using namespace testing_support;
    if (game.IsReplay()) return ReplayOf(game, {Info(), Comment("comment")}, 40);
    const Bytes picture = MakeSamplePicture(5, 3, BytesPerPixel(game), 7);
    shot_support::ScreenShot s;
    s.width = 5;
    s.height = 3;
    shot_support::BestShot b;
    b.width = 5;
    b.height = 3;
    return ShotOf(game, s, b, EncodeLzss(picture.data(), picture.size()));
}

// The fields worth breaking: offsets, lengths and types of a replay; sizes,
// indexes, times and numbers of a shot.
std::vector<Patch> Patches(const Game& game, const Bytes& file)
{
    std::vector<Patch> patches;
    const uint32_t size = uint32_t(file.size());
    auto each = [&](size_t at, int width, std::initializer_list<uint32_t> values) {
        for (uint32_t v : values) patches.push_back({at, v, width});
    };
    if (game.IsReplay()) {
        const size_t first = 16 + 40, second = first + testing_support::Info().size();
        const auto lengths = {0u, 1u, 11u, 12u, 13u, size, 0x7FFFFFFFu, 0xFFFFFFF4u, 0xFFFFFFFFu};
        each(12, 4, {0u, 4u, 11u, 12u, size - 12, size - 11, size, 0x7FFFFFFFu, 0xFFFFFFF0u, 0xFFFFFFFFu});
        each(first + 4, 4, lengths);
        each(second + 4, 4, lengths);
        each(first + 8, 4, {1u, 2u, 0xFFFFFFFFu});
        each(second + 8, 4, {0u, 7u});
        each(first, 4, {0u});   // not "USER"
        return patches;
    }
    // Sizes no bitmap can have; sizes just inside and just past the largest
    // picture decoded, 16384 pixels a side and 256 MiB of bits (a picture
    // right at the byte bound is allocated by the picture plug-in test); and
    // numbers past every table.
    const uint32_t rowsPastTheBlock = (256u << 20) / (16384u * BytesPerPixel(game)) + 1;
    for (auto [w, h] : std::initializer_list<std::pair<uint32_t, uint32_t>>{
             {0, 3}, {5, 0}, {0xFFFF, 3}, {5, 0xFFFF}, {0x8000, 0x8000}, {32767, 32767},
             {16384, 1}, {1, 16384}, {16385, 1}, {1, 16385}, {16384, rowsPastTheBlock}, {16384, 16384}})
        patches.push_back({12, w | h << 16, 4});
    each(6, 2, {0x8000u, 0x7FFFu, 0xFFFFu, 9u, 10u, 11u, 12u});        // day or level
    each(8, 2, {0x8000u, 0x7FFFu});                                    // scene
    each(16, 4, {0x80000000u, 0xFFFFFFFFu});                           // score or reserved
    each(IsScreenShot(game) ? 20 : 16, 4, {0xFFFFFFFFu, 0x7FFFFFFFu});  // time or score
    each(IsScreenShot(game) ? 24 : 20, 4, {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x7F7FFFFFu});  // slowdown rate
    return patches;
}

std::vector<Hostile> MakeHostileFiles(const Game& game)
{
    const Bytes good = ValidFile(game);
    std::vector<Hostile> files;
    Random random(uint32_t(good.size()) * 2654435761u);
    for (size_t n = 0; n <= 64 && n < good.size(); ++n) files.push_back({"cut at " + std::to_string(n), good.substr(0, n)});
    for (int i = 0; i < 12; ++i) {
        const size_t n = 65 + random.Below(uint32_t(good.size() - 65));
        files.push_back({"cut at " + std::to_string(n), good.substr(0, n)});
    }
    for (const Patch& p : Patches(game, good))
        files.push_back({"at " + std::to_string(p.at) + " value " + std::to_string(p.value), Patched(good, p)});
    if (!game.IsReplay()) {
        // A name of 80 lead bytes and no NUL.
        files.push_back({"spell card name", good.substr(0, 24) + Bytes(80, '\x81') + good.substr(104)});
    }
    for (int i = 0; i < 10; ++i) {
        Bytes noise = game.Magic();
        const uint32_t n = random.Below(700);
        for (uint32_t k = 0; k < n; ++k) noise.push_back(char(random.Next()));
        // Offsets and sizes that mostly lead somewhere: a user-data offset
        // inside the file, or a picture small enough to be decoded quickly
        // (huge sizes have their own cases above).
        if (game.IsReplay() && i % 2 && noise.size() >= 16) noise = Patched(noise, {12, 16 + random.Below(64), 4});
        if (!game.IsReplay() && noise.size() >= 16) noise = Patched(noise, {12, (1 + random.Below(64)) * 0x10001u, 4});
        files.push_back({"random bytes " + std::to_string(i), noise});
    }
    return files;
}

bool IsContractCode(int r) { return r == 0 || r == 1 || r == 2 || r == 4; }

// A block, if handed over, was released and holds size bytes.
void ExpectBlock(const BlockCopy& block, size_t size, const char* what)
{
    EXPECT_TRUE(block.freed) << what;
    EXPECT_EQ(block.bytes.size(), size) << what;
}

// A file of the plug-in's own game never gets 1, whatever is wrong with it;
// any other file always does.
void ExpectGate(int result, bool ours, const char* what)
{
    if (ours) {
        EXPECT_NE(result, 1) << what << ": a file of this game";
    } else {
        EXPECT_EQ(result, 1) << what << ": not a file of this game";
    }
}

void ExpectTextAnswer(const host::CallAnswer& text, bool ours, const char* what)
{
    EXPECT_TRUE(IsContractCode(text.result)) << what << " " << text.result;
    ExpectGate(text.result, ours, what);
    ASSERT_EQ(text.first.handed, text.result == 0) << what;
    if (!text.first.handed) return;
    EXPECT_TRUE(text.first.freed) << what;
    EXPECT_NE(text.first.bytes.find('\0'), std::string::npos) << what << ": an unterminated text";
}

int16_t ShotSize(const Bytes& file, size_t at) { return int16_t(uint8_t(file[at]) | uint8_t(file[at + 1]) << 8); }

// Whether a shot of this game is decoded: a whole header, at least one pixel,
// at most 16384 pixels a side and 256 MiB of bits.
bool Decodable(const Game& game, const Bytes& file)
{
    if (file.size() < HeaderSize(game.image->header)) return false;
    const int width = ShotSize(file, 12), height = ShotSize(file, 14);
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
    const uint64_t stride = (uint64_t(width) * BytesPerPixel(game) + 3) / 4 * 4;
    return stride * uint64_t(height) <= (uint64_t(256) << 20);
}

void ExpectContract(const Game& game, const Bytes& file, const Answers& a)
{
    const bool ours = file.size() >= 4 && file.compare(0, 4, game.Magic()) == 0;
    const size_t rowSize = size_t(game.Columns()) * 512;
    EXPECT_EQ(a.supported, ours ? 1 : 0);
    EXPECT_TRUE(IsContractCode(a.list.result)) << a.list.result;
    ExpectGate(a.list.result, ours, "row");
    EXPECT_EQ(a.list.first.handed, a.list.result != 1);
    if (a.list.first.handed) {
        ExpectBlock(a.list.first, rowSize, "row");
        for (uint32_t i = 0; i < game.Columns() && a.list.first.bytes.size() == rowSize; ++i)
            EXPECT_LT(strnlen(a.list.first.bytes.data() + 512 * i, 512), 512u) << "field " << i;
    }
    if (game.IsReplay()) {
        ExpectTextAnswer(a.text1, ours, "information");
        ExpectTextAnswer(a.text2, ours, "comment");
        return;
    }
    EXPECT_TRUE(IsContractCode(a.image.result)) << a.image.result;
    ExpectGate(a.image.result, ours, "picture");
    if (ours) {
        EXPECT_EQ(a.image.result, Decodable(game, file) ? 0 : 4) << ShotSize(file, 12) << "x" << ShotSize(file, 14);
    }
    ASSERT_EQ(a.image.first.handed, a.image.result == 0);
    ASSERT_EQ(a.image.second.handed, a.image.result == 0);
    if (a.image.result != 0) return;
    ASSERT_GE(file.size(), HeaderSize(game.image->header));
    const size_t stride = (size_t(ShotSize(file, 12)) * BytesPerPixel(game) + 3) / 4 * 4;
    ExpectBlock(a.image.first, stride * size_t(ShotSize(file, 14)), "bits");
    ExpectBlock(a.image.second, 44, "bitmap header");
}

class HostileFiles : public ::testing::TestWithParam<Game> {};

TEST_P(HostileFiles, EveryExportKeepsTheContract)
{
    const Game& game = GetParam();
    const host::PluginCalls calls(game);
    ASSERT_TRUE(calls.Ready()) << host::PluginPath(game.plugin);
    host::TempDir dir;
    const std::string path = dir.Path(game.FileName("07"));
    for (const Hostile& file : MakeHostileFiles(game)) {
        SCOPED_TRACE(file.what);
        if (!file.bytes.empty()) {   // size 0 would be path mode
            SCOPED_TRACE("memory");
            const host::GuardedBytes image(file.bytes);
            ExpectContract(game, file.bytes, calls.CallEvery(image.Data(), image.Size()));
        }
        {
            SCOPED_TRACE("path");
            dir.Write(path.substr(dir.Root().size() + 1), file.bytes);
            ExpectContract(game, file.bytes, calls.CallEvery(path.c_str(), 0));
        }
        ASSERT_TRUE(host::HeapIsIntact());
    }
}

INSTANTIATE_TEST_SUITE_P(Plugins, HostileFiles, ::testing::ValuesIn(games::All()),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
