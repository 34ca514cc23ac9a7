// Every replay plug-in, loaded and called as the host does. What differs
// between them comes from each game's profile and Description.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/PluginExports.h"
#include "tools/games/GameFiles.h"
#include "wine/PluginHost.h"

using namespace testing_support;
using games::Game;
using host::Block;

namespace {

class ReplayPlugin : public ::testing::TestWithParam<Game> {
protected:
    ReplayPlugin() : plugin(GetParam().plugin) {}

    void SetUp() override
    {
        ASSERT_TRUE(plugin.module) << host::PluginPath(GetParam().plugin);
        ASSERT_TRUE(exports.GetPluginRevision && exports.GetPluginInfo && exports.IsSupported && exports.GetColumnInfo &&
                    exports.GetFileInfoList && exports.GetFileInfoText1 && exports.GetFileInfoText2 && exports.EditDialog);
        EXPECT_EQ(exports.GetFileInfoImage2, nullptr);
    }

    void TearDown() override { EXPECT_TRUE(host::HeapIsIntact()); }

    const Game& game() const { return GetParam(); }
    Bytes Magic() const { return game().Magic(); }
    int Columns() const { return int(game().Columns()); }
    Bytes Good(const Bytes& comment = "a comment") const { return ReplayOf(game(), {Info(), Comment(comment)}, 64); }
    DWORD RowBytes() const { return DWORD(Columns()) * 512; }

    host::Plugin plugin;
    const PluginExportTable& exports = plugin.exports;
    host::TempDir dir;
};

TEST_P(ReplayPlugin, IsSupportedReadsOnlyTheMagic)
{
    const std::string good = dir.Write(game().FileName("01"), Magic() + "garbage");
    EXPECT_EQ(exports.IsSupported(good.c_str(), 0), 1);
    EXPECT_EQ(exports.IsSupported(dir.Write("exact", Magic()).c_str(), 0), 1);
    EXPECT_EQ(exports.IsSupported(dir.Write("three", Magic().substr(0, 3)).c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(dir.Write("empty", "").c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(dir.Root().c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(dir.Path("missing").c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(dir.Write("other", "XXXXrest").c_str(), 0), 0);
    EXPECT_EQ(exports.IsSupported(nullptr, 0), 4);
    EXPECT_EQ(exports.IsSupported(nullptr, 10), 4);
    const Bytes image = Good();
    EXPECT_EQ(exports.IsSupported(image.data(), DWORD(image.size())), 1);
    EXPECT_EQ(exports.IsSupported(image.data(), 3), 0);
    // Another game's replay is not this plug-in's.
    for (const Game& other : games::Replays()) {
        if (other.Magic() == game().Magic()) continue;
        const Bytes foreign = ReplayOf(other, {Info(), Comment("")});
        EXPECT_EQ(exports.IsSupported(foreign.data(), DWORD(foreign.size())), 0) << other;
    }
}

TEST_P(ReplayPlugin, ListRowInPathAndMemoryMode)
{
    const Bytes file = Good("a comment");
    const std::string path = dir.Write(game().FileName("12"), file);
    Block row;
    ASSERT_EQ(exports.GetFileInfoList(path.c_str(), 0, &row.handle), 0);
    ASSERT_EQ(row.Size(), RowBytes());
    EXPECT_STREQ(row.Field(2), "No.12");
    EXPECT_STREQ(row.Field(3), "Alice");
    EXPECT_STREQ(row.Field(4), "2026/01/02 03:04");
    EXPECT_STREQ(row.Field(Columns() - 4), "1.00a");
    EXPECT_STREQ(row.Field(Columns() - 3), "a comment");
    for (int host : {0, 1, Columns() - 2, Columns() - 1}) EXPECT_STREQ(row.Field(host), "") << host;

    Block memory;
    host::GuardedBytes image(file);
    ASSERT_EQ(exports.GetFileInfoList(image.Data(), image.Size(), &memory.handle), 0);
    EXPECT_STREQ(memory.Field(2), "----");
    EXPECT_EQ(std::memcmp(memory.Bytes() + 3 * 512, row.Bytes() + 3 * 512, RowBytes() - 3 * 512), 0);
}

TEST_P(ReplayPlugin, LongTextsAreCutInsideTheirFields)
{
    // 509 ASCII bytes and then double-byte characters: the one that would
    // straddle byte 511 is dropped whole.
    const Bytes comment = Bytes(509, 'c') + "\x82\xA0\x82\xA2" + Bytes(29000, 'd');
    const Bytes name = Bytes(510, 'n') + "\x83\x7E";
    const Bytes file = ReplayOf(game(), {Info("Name " + name + "\r\nVersion 9\r\n"), Comment(comment)});
    host::GuardedBytes image(file);
    Block row;
    ASSERT_EQ(exports.GetFileInfoList(image.Data(), image.Size(), &row.handle), 0);
    ASSERT_EQ(row.Size(), RowBytes());
    EXPECT_EQ(std::string(row.Field(Columns() - 3)), Bytes(509, 'c') + "\x82\xA0");
    EXPECT_EQ(std::string(row.Field(3)), Bytes(510, 'n'));
    EXPECT_STREQ(row.Field(Columns() - 4), "9");
    EXPECT_STREQ(row.Field(Columns() - 2), "");  // nothing ran into the host's field
}

TEST_P(ReplayPlugin, ListRowFailures)
{
    Block none;
    EXPECT_EQ(exports.GetFileInfoList(dir.Path("missing.rpy").c_str(), 0, &none.handle), 1);
    EXPECT_EQ(exports.GetFileInfoList(dir.Write("short", "ab").c_str(), 0, &none.handle), 1);
    EXPECT_EQ(exports.GetFileInfoList("abc", 3, &none.handle), 1);
    EXPECT_EQ(exports.GetFileInfoList(nullptr, 0, &none.handle), 2);
    EXPECT_EQ(exports.GetFileInfoList(nullptr, 10, &none.handle), 5);
    const Bytes file = Good();
    EXPECT_EQ(exports.GetFileInfoList(file.data(), DWORD(file.size()), nullptr), 5);
    EXPECT_EQ(none.handle, nullptr);

    // Nothing but the magic: this game's file, and malformed.
    Block magicOnly;
    EXPECT_EQ(exports.GetFileInfoList(dir.Write("magic.rpy", Magic()).c_str(), 0, &magicOnly.handle), 2);
    ASSERT_EQ(magicOnly.Size(), RowBytes());
    EXPECT_EQ(std::string(magicOnly.Bytes(), RowBytes()), std::string(RowBytes(), '\0'));

    Block noComment;
    const Bytes infoOnly = ReplayOf(game(), {Info()});
    EXPECT_EQ(exports.GetFileInfoList(dir.Write("nocomment.rpy", infoOnly).c_str(), 0, &noComment.handle), 2);
    ASSERT_EQ(noComment.Size(), RowBytes());
    EXPECT_EQ(std::string(noComment.Bytes(), RowBytes()), std::string(RowBytes(), '\0'));
}

TEST_P(ReplayPlugin, FilesOf4GiBOrMoreAreRefused)
{
    // A sparse file: the magic, then a size just over 4 GiB.
    const std::string path = dir.Write(game().FileName("01"), Good());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 0x100000000LL + 16;
    const bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    if (!grown) GTEST_SKIP() << "no room for a sparse 4 GiB file here";
    EXPECT_EQ(exports.IsSupported(path.c_str(), 0), 0);
    Block row;
    EXPECT_EQ(exports.GetFileInfoList(path.c_str(), 0, &row.handle), 1);
    EXPECT_EQ(row.handle, nullptr);
}

TEST_P(ReplayPlugin, TextPanes)
{
    const Bytes file = ReplayOf(game(), {Info("Name X\r\n"), Section(1, "no terminator")});
    const std::string path = dir.Write("texts.rpy", file);
    Block information, comment;
    ASSERT_EQ(exports.GetFileInfoText1(path.c_str(), 0, &information.handle), 0);
    EXPECT_EQ(information.Size(), 9u);  // exactly the payload: it holds its NUL
    EXPECT_EQ(std::memcmp(information.Bytes(), "Name X\r\n", 9), 0);
    host::GuardedBytes image(file);   // the comment ends at the last byte before a no-access page
    ASSERT_EQ(exports.GetFileInfoText2(image.Data(), image.Size(), &comment.handle), 0);
    EXPECT_EQ(comment.Size(), 14u);  // one zero byte added behind
    EXPECT_STREQ(comment.Bytes(), "no terminator");

    HLOCAL untouched = reinterpret_cast<HLOCAL>(0x1234);
    const Bytes infoOnly = ReplayOf(game(), {Info()});
    EXPECT_EQ(exports.GetFileInfoText2(dir.Write("infoonly", infoOnly).c_str(), 0, &untouched), 2);
    EXPECT_EQ(untouched, reinterpret_cast<HLOCAL>(0x1234));
    const std::string magicOnly = dir.Write("magic.rpy", Magic());
    EXPECT_EQ(exports.GetFileInfoText1(magicOnly.c_str(), 0, &untouched), 2);
    EXPECT_EQ(exports.GetFileInfoText2(magicOnly.c_str(), 0, &untouched), 2);
    EXPECT_EQ(exports.GetFileInfoText1(dir.Path("missing").c_str(), 0, &untouched), 1);
    EXPECT_EQ(exports.GetFileInfoText1("XXXXXXXX", 8, &untouched), 1);
    EXPECT_EQ(exports.GetFileInfoText1(nullptr, 8, &untouched), 2);
    EXPECT_EQ(exports.GetFileInfoText1(path.c_str(), 0, nullptr), 5);
    EXPECT_EQ(untouched, reinterpret_cast<HLOCAL>(0x1234));
}

TEST_P(ReplayPlugin, TruncatedAndHostileImagesNeverReadPastTheEnd)
{
    const Bytes file = Good("comment");
    for (size_t n = 1; n <= file.size(); ++n) {
        host::GuardedBytes image(file.substr(0, n));
        Block row, t1, t2;
        const int r = exports.GetFileInfoList(image.Data(), image.Size(), &row.handle);
        EXPECT_TRUE(r == 0 || r == 1 || r == 2) << n;
        EXPECT_EQ(r == 0, n == file.size()) << n;
        const int a = exports.GetFileInfoText1(image.Data(), image.Size(), &t1.handle);
        const int b = exports.GetFileInfoText2(image.Data(), image.Size(), &t2.handle);
        EXPECT_TRUE(a <= 2 && b <= 2) << n;
    }
    Bytes wild = file;
    SetU32(wild, 12, 0xFFFFFFF0u);
    host::GuardedBytes image(wild);
    Block row;
    EXPECT_EQ(exports.GetFileInfoList(image.Data(), image.Size(), &row.handle), 2);
}

TEST_P(ReplayPlugin, EditDialogWithoutAHostWindowChangesNothing)
{
    const Bytes file = Good();
    const std::string path = dir.Write("edit.rpy", file);
    EXPECT_EQ(exports.EditDialog(HWND(0x7), path.c_str()), 1);  // not a window: no dialog
    EXPECT_EQ(host::ReadBytes(path), file);
}

INSTANTIATE_TEST_SUITE_P(Games, ReplayPlugin, ::testing::ValuesIn(games::Replays()),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
