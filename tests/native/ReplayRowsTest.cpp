#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/HostMemory.h"
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

// The row's fields and result, from an exact-size copy of the file.
struct Row {
    PluginResult result;
    std::vector<std::string> fields;
};

Row MakeRow(const CReplayReader& reader, const Bytes& file, const char* name = "")
{
    const ExactBytes exact(file);
    HostBlock row;
    Row out{MakeListInfo(reader, exact.data(), exact.size(), &row.block, name), {}};
    for (uint32_t i = 0; row.block && i < reader.Profile().columnCount; ++i) out.fields.push_back(row.Field(int(i)));
    return out;
}

}  // namespace

TEST(MakeListInfo, FillsEveryPluginColumn)
{
    using V = std::vector<std::string>;
    const Bytes kvora = Replay("kvor", {Info(), Comment("nice run")}, 40);
    const Bytes tasko =
        Replay("tsko", {Info("Name T\r\nRank Hard\r\nStage 3\r\nLevel 10-4\r\nScore 500\r\nVersion 0.9\r\n"), Comment("c")});
    EXPECT_EQ(MakeRow(CKvoraRec(), kvora, "C:\\replays\\kvora_12.rpy").fields,
              (V{"", "", "No.12", "Alice", "2026/01/02 03:04", "PilotA", "Expert", "All Clear", "123456780", "0.52",
                 "1.00a", "nice run", "", ""}));
    EXPECT_EQ(MakeRow(CTaskoRec(), tasko, "tasko_02.rpy").fields,
              (V{"", "", "No.02", "T", "", "", "10-4", "500", "", "0.9", "c", "", ""}));
    for (auto [name, slot] : {std::pair{"kvora_udab.rpy", "User"}, {"kvora_30.rpy", "----"}, {"", "----"}})
        EXPECT_EQ(MakeRow(CKvoraRec(), kvora, name).fields[2], slot) << name;

    // A comment without its NUL ends with its section.
    EXPECT_EQ(MakeRow(CKvoraRec(), Replay("kvor", {Info(), Section(1, "no-nul")})).fields[11], "no-nul");
    // Long texts are cut inside their field, on a whole character.
    const Row cut = MakeRow(CKvoraRec(), Replay("kvor", {Info("Name " + Bytes(3000, 'x') + "\r\n"),
                                                          Comment(Bytes(510, 'a') + "\xE8\x9F" + Bytes(100, 'b'))}));
    EXPECT_EQ(cut.fields[3], Bytes(511, 'x'));
    EXPECT_EQ(cut.fields[4], "");   // nothing ran into the next field
    EXPECT_EQ(cut.fields[11], Bytes(510, 'a'));
}

TEST(MakeListInfo, FailuresAndWhatIsLeftStored)
{
    const Bytes file = Replay("kvor", {Info(), Comment("")});
    EXPECT_EQ(MakeRow(CKvoraRec(), "kvo").result, Unsupported);
    EXPECT_EQ(MakeRow(CKvoraRec(), Replay("KVOR", {Info(), Comment("")})).result, Unsupported);
    EXPECT_TRUE(MakeRow(CKvoraRec(), "kvo").fields.empty());
    HLOCAL none = nullptr;
    EXPECT_EQ(MakeListInfo(CKvoraRec(), nullptr, 10, &none, ""), Failure);
    EXPECT_EQ(MakeListInfo(CKvoraRec(), file.data(), uint32_t(file.size()), nullptr, ""), Failure);
    EXPECT_EQ(none, nullptr);
    // Without a comment or information section: 2, and an all-empty row.
    for (const Bytes& broken : {Replay("kvor", {Info()}), Replay("kvor", {Comment("x"), Comment("y")})}) {
        const Row row = MakeRow(CKvoraRec(), broken, "kvora_01.rpy");
        EXPECT_EQ(row.result, ReadError);
        EXPECT_EQ(row.fields, std::vector<std::string>(14));
    }
}

TEST(MakeInfoText, HandsOverThePayload)
{
    const ExactBytes file(Replay("kvor", {Info("Name X\r\n"), Section(1, "abc")}));
    HostBlock info, comment;
    ASSERT_EQ(MakeInfoText(CKvoraRec(), TextKind::Information, file.data(), file.size(), &info.block), Ok);
    EXPECT_EQ(std::memcmp(info.block, "Name X\r\n\0", 9), 0);
    ASSERT_EQ(MakeInfoText(CKvoraRec(), TextKind::Comment, file.data(), file.size(), &comment.block), Ok);
    EXPECT_EQ(Bytes(static_cast<const char*>(comment.block), 4), Bytes("abc", 4));  // a NUL was added

    const ExactBytes noComment(Replay("kvor", {Info()}));
    HLOCAL untouched = reinterpret_cast<HLOCAL>(0x1);
    EXPECT_EQ(MakeInfoText(CKvoraRec(), TextKind::Comment, noComment.data(), noComment.size(), &untouched), ReadError);
    EXPECT_EQ(untouched, reinterpret_cast<HLOCAL>(0x1));
    EXPECT_EQ(MakeInfoText(CKvoraRec(), TextKind::Information, file.data(), file.size(), nullptr), Failure);
    EXPECT_EQ(MakeInfoText(CKvoraRec(), TextKind::Information, nullptr, 100, &untouched), ReadError);
}
