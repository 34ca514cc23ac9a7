#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/HostMemory.h"
#include "common/ShiftJis.h"
#include "replay/ReplayRows.h"
#include "replay/TextPanes.h"
#include "support/ExactBytes.h"
#include "tools/games/GameReaders.h"
#include "tools/games/ReplayBuilder.h"

using namespace testing_support;

namespace {

struct HostBlock {
    HLOCAL block = nullptr;
    ~HostBlock() { HostFree(block); }
    const char* Field(int i) const { return static_cast<const char*>(block) + 512 * i; }
};

// The file in a block of exactly its size, so that a read past it shows.
PluginResult Row(const CReplayReader& reader, const Bytes& file, HostBlock& row, const char* name)
{
    const ExactBytes exact(file);
    return MakeListInfo(reader, exact.data(), exact.size(), &row.block, name);
}

PluginResult Text(TextKind kind, const Bytes& file, HLOCAL* text)
{
    const ExactBytes exact(file);
    return MakeInfoText(CKvoraRec(), kind, exact.data(), exact.size(), text);
}

bool AllZero(const HostBlock& row, size_t bytes)
{
    const char* p = static_cast<const char*>(row.block);
    for (size_t i = 0; i < bytes; ++i)
        if (p[i]) return false;
    return true;
}

}  // namespace

TEST(MakeListInfo, FillsEveryPluginColumn)
{
    const Bytes file = Replay("kvor", {Info(), Comment("nice run")}, 40);
    HostBlock row;
    ASSERT_EQ(Row(CKvoraRec(), file, row, "C:\\replays\\kvora_12.rpy"), Ok);
    const char* expected[14] = {"", "", "No.12", "Alice", "2026/01/02 03:04", "PilotA", "Expert", "All Clear",
                                "123456780", "0.52", "1.00a", "nice run", "", ""};
    for (int i = 0; i < 14; ++i) EXPECT_STREQ(row.Field(i), expected[i]) << i;
}

TEST(MakeListInfo, SlotColumnByKind)
{
    const Bytes file = Replay("kvor", {Info(), Comment("")});
    for (auto [name, slot] : {std::pair{"kvora_udab.rpy", "User"}, {"kvora_30.rpy", "----"}, {"", "----"},
                              {"kvora_03.rpy", "No.03"}}) {
        HostBlock row;
        ASSERT_EQ(Row(CKvoraRec(), file, row, name), Ok);
        EXPECT_STREQ(row.Field(2), slot) << name;
    }
}

TEST(MakeListInfo, TaskoLayoutHasSceneAndOneColumnFewer)
{
    const Bytes file = Replay("tsko", {Info("Name T\r\nRank Hard\r\nStage 3\r\nLevel 10-4\r\nScore 500\r\nVersion 0.9\r\n"),
                                       Comment("c")});
    HostBlock row;
    ASSERT_EQ(Row(CTaskoRec(), file, row, "tasko_02.rpy"), Ok);
    const char* expected[13] = {"", "", "No.02", "T", "", "", "10-4", "500", "", "0.9", "c", "", ""};
    for (int i = 0; i < 13; ++i) EXPECT_STREQ(row.Field(i), expected[i]) << i;
}

TEST(MakeListInfo, FailuresAndWhatIsLeftStored)
{
    HostBlock none;
    const Bytes tiny = "kvo";
    EXPECT_EQ(Row(CKvoraRec(), tiny, none, ""), Unsupported);
    EXPECT_EQ(none.block, nullptr);
    EXPECT_EQ(Row(CKvoraRec(), Replay("KVOR", {Info(), Comment("")}), none, ""), Unsupported);
    EXPECT_EQ(none.block, nullptr);
    EXPECT_EQ(MakeListInfo(CKvoraRec(), nullptr, 10, &none.block, ""), Failure);
    const Bytes file = Replay("kvor", {Info(), Comment("")});
    EXPECT_EQ(MakeListInfo(CKvoraRec(), file.data(), uint32_t(file.size()), nullptr, ""), Failure);

    HostBlock noComment;
    EXPECT_EQ(Row(CKvoraRec(), Replay("kvor", {Info()}), noComment, "kvora_01.rpy"), ReadError);
    ASSERT_NE(noComment.block, nullptr);
    EXPECT_TRUE(AllZero(noComment, 14 * 512));

    HostBlock noInfo;
    EXPECT_EQ(Row(CKvoraRec(), Replay("kvor", {Comment("x"), Comment("y")}), noInfo, ""), ReadError);
    EXPECT_TRUE(AllZero(noInfo, 14 * 512));
}

TEST(MakeListInfo, LongTextsAreCutWholeCharacters)
{
    // 510 ASCII bytes then a double-byte character: it would straddle the cut.
    const Bytes comment = Bytes(510, 'a') + "\x82\xA0" + Bytes(100, 'b');
    HostBlock row;
    ASSERT_EQ(Row(CKvoraRec(), Replay("kvor", {Info(), Comment(comment)}), row, ""), Ok);
    EXPECT_EQ(std::string(row.Field(11)), Bytes(510, 'a'));
    // The same with a lead byte of the upper range.
    HostBlock upper;
    ASSERT_EQ(Row(CKvoraRec(), Replay("kvor", {Info(), Comment(Bytes(510, 'a') + "\xE8\x9F")}), upper, ""), Ok);
    EXPECT_EQ(std::string(upper.Field(11)), Bytes(510, 'a'));

    const Bytes name(3000, 'x');
    HostBlock longName;
    ASSERT_EQ(Row(CKvoraRec(), Replay("kvor", {Info("Name " + name + "\r\n"), Comment("")}), longName, ""), Ok);
    EXPECT_EQ(std::strlen(longName.Field(3)), 511u);
    EXPECT_EQ(longName.Field(4)[0], '\0');  // the next field is untouched
}

TEST(MakeListInfo, CommentWithoutNulEndsAtThePayload)
{
    HostBlock row;
    ASSERT_EQ(Row(CKvoraRec(), Replay("kvor", {Info(), Section(1, "no-nul")}), row, ""), Ok);
    EXPECT_STREQ(row.Field(11), "no-nul");
}

TEST(MakeInfoText, HandsOverThePayload)
{
    const Bytes file = Replay("kvor", {Info("Name X\r\n"), Section(1, "abc")});
    HostBlock info, comment, none;
    ASSERT_EQ(Text(TextKind::Information, file, &info.block), Ok);
    EXPECT_EQ(std::memcmp(info.block, "Name X\r\n\0", 9), 0);
    ASSERT_EQ(Text(TextKind::Comment, file, &comment.block), Ok);
    EXPECT_STREQ(static_cast<const char*>(comment.block), "abc");  // a zero byte was added

    const Bytes noComment = Replay("kvor", {Info()});
    none.block = reinterpret_cast<HLOCAL>(0x1);
    EXPECT_EQ(Text(TextKind::Comment, noComment, &none.block), ReadError);
    EXPECT_EQ(none.block, reinterpret_cast<HLOCAL>(0x1));  // not written
    none.block = nullptr;
    EXPECT_EQ(Text(TextKind::Information, file, nullptr), Failure);
    EXPECT_EQ(MakeInfoText(CKvoraRec(), TextKind::Information, nullptr, 100, &none.block), ReadError);
}
