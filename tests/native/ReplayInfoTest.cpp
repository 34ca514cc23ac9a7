#include <gtest/gtest.h>

#include <string>

#include "support/ExactBytes.h"
#include "tools/games/GameReaders.h"
#include "tools/games/ReplayBuilder.h"

using namespace testing_support;

namespace {

// The text in a block of exactly its size, so that a read past it shows.
ReplayInfo ParseWith(const ReplayProfile& profile, const Bytes& text)
{
    const ExactBytes exact(text);
    ReplayInfo info;
    EXPECT_TRUE(info.Parse(exact.data(), exact.size(), profile.keys));
    return info;
}

std::string F(const ReplayInfo& info, InfoField field) { return info.Get(field); }

}  // namespace

TEST(ReplayInfo, ValuesEndAtTheirLineEnd)
{
    static const char text[] =
        "Version 1.00a\r\nName  Bob \nDate 2026\rChara A B\r\nRank\r\nStage \r\nScore 99\0Slow Rate 1.5";
    ReplayInfo info = ParseWith(kKvoraProfile, Bytes(text, sizeof text - 1));
    EXPECT_EQ(F(info, InfoField::Version), "1.00a");
    EXPECT_EQ(F(info, InfoField::Name), " Bob ");  // a blank after the key's own belongs to the value
    EXPECT_EQ(F(info, InfoField::Date), "2026");
    EXPECT_EQ(F(info, InfoField::Chara), "A B");
    EXPECT_EQ(F(info, InfoField::Rank), "");      // "Rank" without its blank does not match
    EXPECT_EQ(F(info, InfoField::Stage), "");     // key and blank only
    EXPECT_EQ(F(info, InfoField::Score), "99");
    EXPECT_EQ(F(info, InfoField::SlowRate), "");  // behind a NUL: the search stops there
}

TEST(ReplayInfo, OrderDoesNotMatterAndTheFirstOccurrenceWins)
{
    const Bytes canonical = "Version 1\r\nName N\r\nDate D\r\nChara C\r\nRank R\r\nStage S\r\nScore 1\r\nSlow Rate 2\r\n";
    const Bytes shuffled = "Slow Rate 2\r\nScore 1\r\nStage S\r\nRank R\r\nName N\r\nChara C\r\nDate D\r\nVersion 1\r\nName other\r\n";
    ReplayInfo a = ParseWith(kKvoraProfile, canonical);
    ReplayInfo b = ParseWith(kKvoraProfile, shuffled);
    for (int f = 0; f < int(InfoField::Count); ++f)
        EXPECT_STREQ(a.Get(InfoField(f)), b.Get(InfoField(f))) << f;
    EXPECT_EQ(F(b, InfoField::Name), "N");
}

TEST(ReplayInfo, KeysAreCaseSensitiveAndMissingKeysAreEmpty)
{
    ReplayInfo info = ParseWith(kKvoraProfile, "name lower\r\nVersion 2\r\n");
    EXPECT_EQ(F(info, InfoField::Name), "");
    EXPECT_EQ(F(info, InfoField::Version), "2");
    EXPECT_EQ(F(info, InfoField::Score), "");
}

TEST(ReplayInfo, LastLineWithoutLineEndAndPayloadWithoutNul)
{
    const Bytes text = "Name Carol\r\nScore 12345";  // no NUL anywhere
    ReplayInfo info = ParseWith(kKvoraProfile, text);
    EXPECT_EQ(F(info, InfoField::Score), "12345");
    EXPECT_EQ(F(info, InfoField::Name), "Carol");
}

TEST(ReplayInfo, ShiftJisValuesAreKeptByteForByte)
{
    const Bytes name = "\x83\x76\x83\x8C\x83\x43\x83\x84\x81\x5B \x5C";
    ReplayInfo info = ParseWith(kKvoraProfile, "Name " + name + "\r\n");
    EXPECT_EQ(F(info, InfoField::Name), name);
}

TEST(ReplayInfo, GamesReadTheirOwnKeys)
{
    ReplayInfo kvora = ParseWith(kKvoraProfile, kSampleInfo);
    ReplayInfo mirel = ParseWith(kMirelProfile, kSampleInfo);
    ReplayInfo tasko = ParseWith(kTaskoProfile, kSampleInfo);
    EXPECT_EQ(F(kvora, InfoField::Chara), "PilotA");
    EXPECT_EQ(F(kvora, InfoField::Route), "");
    EXPECT_EQ(F(mirel, InfoField::Route), "Bad");
    EXPECT_EQ(F(mirel, InfoField::Chara), "");
    for (InfoField f : {InfoField::Version, InfoField::Name, InfoField::Date, InfoField::Rank, InfoField::Stage,
                        InfoField::Score, InfoField::SlowRate})
        EXPECT_EQ(F(kvora, f), F(mirel, f));
    EXPECT_EQ(F(tasko, InfoField::Rank), "");
    EXPECT_EQ(F(tasko, InfoField::Stage), "");
    EXPECT_EQ(F(tasko, InfoField::Score), "123456780");
}

TEST(ReplayInfo, SceneIsTheEndOfTheLineBeforeScore)
{
    ReplayInfo info = ParseWith(kTaskoProfile, "Chara X\r\nScene ABCD\r\nScore 42\r\n");
    EXPECT_EQ(F(info, InfoField::Scene), "ABCD");
    EXPECT_EQ(F(info, InfoField::Score), "42");
    // Fewer than 6 bytes before "Score ": no scene, never a read before the text.
    EXPECT_EQ(F(ParseWith(kTaskoProfile, "ab\r\nScore 7"), InfoField::Scene), "");
    EXPECT_EQ(F(ParseWith(kTaskoProfile, "abcd\r\nScore 7"), InfoField::Scene), "abcd");
}

TEST(ReplayInfo, CallersBufferIsUnchanged)
{
    const Bytes before = Replay("kvor", {Info(), Comment("c")});
    const ExactBytes file(before);
    ReplayInfo info;
    ASSERT_EQ(CKvoraRec().GetInfo(file.data(), file.size(), info), 0);
    EXPECT_EQ(file.str(), before);
    EXPECT_EQ(F(info, InfoField::Name), "Alice");
}

TEST(ReplayInfo, GetInfoWithoutInformationSection)
{
    const ExactBytes file(Replay("kvor", {Comment("c")}));
    ReplayInfo info;
    EXPECT_EQ(CKvoraRec().GetInfo(file.data(), file.size(), info), 2);
}
