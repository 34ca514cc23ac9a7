// The four replay plug-ins, loaded and called as the host does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/PluginExports.h"
#include "support/ReplayBuilder.h"
#include "wine/PluginHost.h"

using namespace testing_support;
using host::Block;

namespace {

struct Game {
    const char* plugin;
    const char* magic;
    const char* prefix;
    const char* title;
    const char* version;
    int columns;
    const char* column5;  // character, route or scene column's title
};

std::ostream& operator<<(std::ostream& out, const Game& game) { return out << game.plugin; }

const Game kGames[] = {
    {"kvorarec", "kvor", "kvora", "Kvoradan", "1.00", 14, "\x8E\x67\x97\x70\x83\x4C\x83\x83\x83\x89"},
    {"mirelrec", "mirl", "mirel", "Mireldan", "1.01", 14, "\x83\x8B\x81\x5B\x83\x67"},
    {"taskorec", "tsko", "tasko", "Taskodan", "1.02", 13, "\x8E\x67\x97\x70\x83\x4C\x83\x83\x83\x89"},
    {"nivrarec", "nivr", "nivra", "Nivradan", "1.02", 14, "\x8E\x67\x97\x70\x83\x4C\x83\x83\x83\x89"},
};

class ReplayPlugin : public ::testing::TestWithParam<Game> {
protected:
    ReplayPlugin() : plugin(GetParam().plugin) {}

    void SetUp() override
    {
        ASSERT_TRUE(plugin.Loaded()) << host::PluginPath(GetParam().plugin);
        revision = plugin.Export<GetPluginRevisionFn>("GetPluginRevision");
        info = plugin.Export<GetPluginInfoFn>("GetPluginInfo");
        isSupported = plugin.Export<IsSupportedFn>("IsSupported");
        columns = plugin.Export<GetColumnInfoFn>("GetColumnInfo");
        list = plugin.Export<FileInfoFn>("GetFileInfoList");
        text1 = plugin.Export<FileInfoFn>("GetFileInfoText1");
        text2 = plugin.Export<FileInfoFn>("GetFileInfoText2");
        editDialog = plugin.Export<EditDialogFn>("EditDialog");
        ASSERT_TRUE(revision && info && isSupported && columns && list && text1 && text2 && editDialog);
    }

    void TearDown() override { EXPECT_TRUE(host::HeapIsIntact()); }

    const Game& game() const { return GetParam(); }
    Bytes Good(const Bytes& comment = "a comment") const { return Replay(game().magic, {Info(), Comment(comment)}, 64); }
    DWORD RowBytes() const { return DWORD(game().columns) * 512; }

    host::Plugin plugin;
    GetPluginRevisionFn revision = nullptr;
    GetPluginInfoFn info = nullptr;
    IsSupportedFn isSupported = nullptr;
    GetColumnInfoFn columns = nullptr;
    FileInfoFn list = nullptr;
    FileInfoFn text1 = nullptr;
    FileInfoFn text2 = nullptr;
    EditDialogFn editDialog = nullptr;
    host::TempDir dir;
};

TEST_P(ReplayPlugin, DescribesItself)
{
    EXPECT_EQ(revision(), 2);
    char buffer[256];
    const std::string head = std::string("KARVO Plug-in For ") + game().title + " Ver" + game().version + " ";
    ASSERT_GT(info(0, buffer, sizeof buffer), int(head.size()));
    EXPECT_EQ(std::string(buffer).substr(0, head.size()), head);

    const int titleLength = info(1, nullptr, 0);
    EXPECT_EQ(titleLength, int(std::strlen(game().title)));
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(info(1, buffer, titleLength), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(info(1, buffer, titleLength + 1), titleLength);
    EXPECT_STREQ(buffer, game().title);

    EXPECT_EQ(info(2, buffer, sizeof buffer), int(std::strlen(game().prefix)) + 6);
    EXPECT_EQ(std::string(buffer), std::string(game().prefix) + "_*.rpy");
    info(3, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), std::string(game().title) +
                                       " \x83\x8A\x83\x76\x83\x8C\x83\x43\x83\x74\x83\x40\x83\x43\x83\x8B(" +
                                       game().prefix + "_*.rpy)");
    EXPECT_EQ(info(4, buffer, sizeof buffer), 0);
    EXPECT_EQ(info(-1, buffer, sizeof buffer), 0);
}

TEST_P(ReplayPlugin, ColumnTable)
{
    Block table;
    ASSERT_EQ(columns(&table.handle), 0);
    ASSERT_EQ(table.Size(), size_t(game().columns + 1) * 128);
    const char* records = table.Bytes();
    auto values = [&](int i) {
        int v[3];
        std::memcpy(v, records + 128 * i + 116, 12);
        return std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]);
    };
    for (int i = 0; i < 128; ++i) EXPECT_EQ(records[128 * game().columns + i], 0) << "end record";
    EXPECT_STREQ(records + 128 * 2, "No.");
    EXPECT_EQ(values(0), "0,0,3");
    EXPECT_EQ(values(1), "0,0,7");
    EXPECT_STREQ(records + 128 * 5, game().column5);
    const int n = game().columns;
    EXPECT_EQ(values(n - 2), "1,1,8");
    EXPECT_EQ(values(n - 1), "0,0,2");
    EXPECT_EQ(values(n - 5), "1,2,0");  // slowdown rate
    EXPECT_EQ(values(n - 6), "1,1,0");  // score
    if (n == 13) {
        EXPECT_STREQ(records + 128 * 6, "\x83\x56\x81\x5B\x83\x93");
    }
    EXPECT_EQ(columns(nullptr), 5);
}

TEST_P(ReplayPlugin, IsSupportedReadsOnlyTheMagic)
{
    const std::string good = dir.Write(std::string(game().prefix) + "_01.rpy", Bytes(game().magic) + "garbage");
    EXPECT_EQ(isSupported(good.c_str(), 0), 1);
    EXPECT_EQ(isSupported(dir.Write("exact", game().magic).c_str(), 0), 1);
    EXPECT_EQ(isSupported(dir.Write("three", Bytes(game().magic, 3)).c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Write("empty", "").c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Root().c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Path("missing").c_str(), 0), 0);
    EXPECT_EQ(isSupported(dir.Write("other", "XXXXrest").c_str(), 0), 0);
    EXPECT_EQ(isSupported(nullptr, 0), 4);
    EXPECT_EQ(isSupported(nullptr, 10), 4);
    const Bytes image = Good();
    EXPECT_EQ(isSupported(image.data(), DWORD(image.size())), 1);
    EXPECT_EQ(isSupported(image.data(), 3), 0);
    // Another game's replay is not this plug-in's.
    const Bytes foreign = Replay(std::strcmp(game().magic, "kvor") ? "kvor" : "mirl", {Info(), Comment("")});
    EXPECT_EQ(isSupported(foreign.data(), DWORD(foreign.size())), 0);
}

TEST_P(ReplayPlugin, ListRowInPathAndMemoryMode)
{
    const Bytes file = Good("a comment");
    const std::string path = dir.Write(std::string(game().prefix) + "_12.rpy", file);
    Block row;
    ASSERT_EQ(list(path.c_str(), 0, &row.handle), 0);
    ASSERT_EQ(row.Size(), RowBytes());
    EXPECT_STREQ(row.Field(2), "No.12");
    EXPECT_STREQ(row.Field(3), "Alice");
    EXPECT_STREQ(row.Field(4), "2026/01/02 03:04");
    EXPECT_STREQ(row.Field(game().columns - 4), "1.00a");
    EXPECT_STREQ(row.Field(game().columns - 3), "a comment");
    for (int host : {0, 1, game().columns - 2, game().columns - 1}) EXPECT_STREQ(row.Field(host), "") << host;

    Block memory;
    host::GuardedBytes image(file);
    ASSERT_EQ(list(image.Data(), image.Size(), &memory.handle), 0);
    EXPECT_STREQ(memory.Field(2), "----");
    EXPECT_EQ(std::memcmp(memory.Bytes() + 3 * 512, row.Bytes() + 3 * 512, RowBytes() - 3 * 512), 0);
}

TEST_P(ReplayPlugin, LongTextsAreCutInsideTheirFields)
{
    // 509 ASCII bytes and then double-byte characters: the one that would
    // straddle byte 511 is dropped whole.
    const Bytes comment = Bytes(509, 'c') + "\x82\xA0\x82\xA2" + Bytes(29000, 'd');
    const Bytes name = Bytes(510, 'n') + "\x83\x7E";
    const Bytes file = Replay(game().magic, {Info("Name " + name + "\r\nVersion 9\r\n"), Comment(comment)});
    host::GuardedBytes image(file);
    Block row;
    ASSERT_EQ(list(image.Data(), image.Size(), &row.handle), 0);
    ASSERT_EQ(row.Size(), RowBytes());
    EXPECT_EQ(std::string(row.Field(game().columns - 3)), Bytes(509, 'c') + "\x82\xA0");
    EXPECT_EQ(std::string(row.Field(3)), Bytes(510, 'n'));
    EXPECT_STREQ(row.Field(game().columns - 4), "9");
    EXPECT_STREQ(row.Field(game().columns - 2), "");  // nothing ran into the host's field
}

TEST_P(ReplayPlugin, ListRowFailures)
{
    Block none;
    EXPECT_EQ(list(dir.Path("missing.rpy").c_str(), 0, &none.handle), 1);
    EXPECT_EQ(list(dir.Write("short", "ab").c_str(), 0, &none.handle), 1);
    EXPECT_EQ(list("abc", 3, &none.handle), 1);
    EXPECT_EQ(list(nullptr, 0, &none.handle), 2);
    EXPECT_EQ(list(nullptr, 10, &none.handle), 5);
    const Bytes file = Good();
    EXPECT_EQ(list(file.data(), DWORD(file.size()), nullptr), 5);
    EXPECT_EQ(none.handle, nullptr);

    // Nothing but the magic: this game's file, and malformed.
    Block magicOnly;
    EXPECT_EQ(list(dir.Write("magic.rpy", game().magic).c_str(), 0, &magicOnly.handle), 2);
    ASSERT_EQ(magicOnly.Size(), RowBytes());
    EXPECT_EQ(std::string(magicOnly.Bytes(), RowBytes()), std::string(RowBytes(), '\0'));

    Block noComment;
    const Bytes infoOnly = Replay(game().magic, {Info()});
    EXPECT_EQ(list(dir.Write("nocomment.rpy", infoOnly).c_str(), 0, &noComment.handle), 2);
    ASSERT_EQ(noComment.Size(), RowBytes());
    EXPECT_EQ(std::string(noComment.Bytes(), RowBytes()), std::string(RowBytes(), '\0'));
}

TEST_P(ReplayPlugin, FilesOf4GiBOrMoreAreRefused)
{
    // A sparse file: the magic, then a size just over 4 GiB.
    const std::string path = dir.Write(std::string(game().prefix) + "_01.rpy", Good());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 0x100000000LL + 16;
    const bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    if (!grown) GTEST_SKIP() << "no room for a sparse 4 GiB file here";
    EXPECT_EQ(isSupported(path.c_str(), 0), 0);
    Block row;
    EXPECT_EQ(list(path.c_str(), 0, &row.handle), 1);
    EXPECT_EQ(row.handle, nullptr);
}

TEST_P(ReplayPlugin, TextPanes)
{
    const Bytes file = Replay(game().magic, {Info("Name X\r\n"), Section(1, "no terminator")});
    const std::string path = dir.Write("texts.rpy", file);
    Block information, comment;
    ASSERT_EQ(text1(path.c_str(), 0, &information.handle), 0);
    EXPECT_EQ(information.Size(), 9u);  // exactly the payload: it holds its NUL
    EXPECT_EQ(std::memcmp(information.Bytes(), "Name X\r\n", 9), 0);
    host::GuardedBytes image(file);   // the comment ends at the last byte before a no-access page
    ASSERT_EQ(text2(image.Data(), image.Size(), &comment.handle), 0);
    EXPECT_EQ(comment.Size(), 14u);  // one zero byte added behind
    EXPECT_STREQ(comment.Bytes(), "no terminator");

    HLOCAL untouched = reinterpret_cast<HLOCAL>(0x1234);
    const Bytes infoOnly = Replay(game().magic, {Info()});
    EXPECT_EQ(text2(dir.Write("infoonly", infoOnly).c_str(), 0, &untouched), 2);
    EXPECT_EQ(untouched, reinterpret_cast<HLOCAL>(0x1234));
    const std::string magicOnly = dir.Write("magic.rpy", game().magic);
    EXPECT_EQ(text1(magicOnly.c_str(), 0, &untouched), 2);
    EXPECT_EQ(text2(magicOnly.c_str(), 0, &untouched), 2);
    EXPECT_EQ(text1(dir.Path("missing").c_str(), 0, &untouched), 1);
    EXPECT_EQ(text1("XXXXXXXX", 8, &untouched), 1);
    EXPECT_EQ(text1(nullptr, 8, &untouched), 2);
    EXPECT_EQ(text1(path.c_str(), 0, nullptr), 5);
    EXPECT_EQ(untouched, reinterpret_cast<HLOCAL>(0x1234));
}

TEST_P(ReplayPlugin, TruncatedAndHostileImagesNeverReadPastTheEnd)
{
    const Bytes file = Good("comment");
    for (size_t n = 1; n <= file.size(); ++n) {
        host::GuardedBytes image(file.substr(0, n));
        Block row, t1, t2;
        const int r = list(image.Data(), image.Size(), &row.handle);
        EXPECT_TRUE(r == 0 || r == 1 || r == 2) << n;
        EXPECT_EQ(r == 0, n == file.size()) << n;
        const int a = text1(image.Data(), image.Size(), &t1.handle);
        const int b = text2(image.Data(), image.Size(), &t2.handle);
        EXPECT_TRUE(a <= 2 && b <= 2) << n;
    }
    Bytes wild = file;
    SetU32(wild, 12, 0xFFFFFFF0u);
    host::GuardedBytes image(wild);
    Block row;
    EXPECT_EQ(list(image.Data(), image.Size(), &row.handle), 2);
}

TEST_P(ReplayPlugin, EditDialogWithoutAHostWindowChangesNothing)
{
    const Bytes file = Good();
    const std::string path = dir.Write("edit.rpy", file);
    EXPECT_EQ(editDialog(HWND(0x7), path.c_str()), 1);  // not a window: no dialog
    EXPECT_EQ(host::TempDir::Read(path), file);
}

INSTANTIATE_TEST_SUITE_P(Games, ReplayPlugin, ::testing::ValuesIn(kGames),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
