#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ExactBytes.h"
#include "tools/games/GameReaders.h"
#include "tools/games/ReplayBuilder.h"

using namespace testing_support;

namespace {

// The text in a block of exactly its size, so that a read past it shows.
std::vector<std::string> Parse(const ReplayProfile& profile, const Bytes& text)
{
    const ExactBytes exact(text);
    ReplayInfo info;
    EXPECT_TRUE(info.Parse(exact.data(), exact.size(), profile.keys));
    std::vector<std::string> values;
    for (int f = 0; f < int(InfoField::Count); ++f) values.push_back(info.Get(InfoField(f)));
    return values;
}

std::string F(const ReplayProfile& profile, const Bytes& text, InfoField field)
{
    return Parse(profile, text)[size_t(field)];
}

}  // namespace

TEST(ReplayInfo, ValuesAreTheRestOfTheirKeysLine)
{
    using I = InfoField;
    static const char kMixed[] = "Version 1.00a\r\nName  Bob \nDate 2026\rChara A B\r\nRank\r\nStage \r\nScore 99\0Slow Rate 1.5";
    const Bytes mixed(kMixed, sizeof kMixed - 1);
    const Bytes sjis = "\x83\x76\x83\x8C\x83\x43\x83\x84\x81\x5B \x5C";
    const struct {
        const ReplayProfile& game;
        Bytes text;
        InfoField field;
        std::string value;
    } cases[] = {
        {kKvoraProfile, mixed, I::Version, "1.00a"},
        {kKvoraProfile, mixed, I::Name, " Bob "},   // a blank after the key's own belongs to the value
        {kKvoraProfile, mixed, I::Date, "2026"},    // CR, LF or both end a line
        {kKvoraProfile, mixed, I::Chara, "A B"},
        {kKvoraProfile, mixed, I::Rank, ""},        // "Rank" without its blank does not match
        {kKvoraProfile, mixed, I::Stage, ""},
        {kKvoraProfile, mixed, I::Score, "99"},
        {kKvoraProfile, mixed, I::SlowRate, ""},    // behind a NUL: the search stops there
        {kKvoraProfile, "name lower\r\nVersion 2\r\n", I::Name, ""},   // keys are case-sensitive
        {kKvoraProfile, "Name A\r\nName B\r\n", I::Name, "A"},         // the first one counts
        {kKvoraProfile, "Name Carol\r\nScore 12345", I::Score, "12345"},  // no line end, no NUL
        {kKvoraProfile, "Name " + sjis + "\r\n", I::Name, sjis},
        {kKvoraProfile, kSampleInfo, I::Chara, "PilotA"},
        {kKvoraProfile, kSampleInfo, I::Route, ""},
        {kMirelProfile, kSampleInfo, I::Route, "Bad"},
        {kMirelProfile, kSampleInfo, I::Chara, ""},
        {kMirelProfile, kSampleInfo, I::SlowRate, "0.52"},
        {kTaskoProfile, kSampleInfo, I::Rank, ""},
        {kTaskoProfile, kSampleInfo, I::Score, "123456780"},
        // The scene is the end of the line before "Score ", at most 6 bytes,
        // never read from before the text.
        {kTaskoProfile, "Chara X\r\nScene ABCD\r\nScore 42\r\n", I::Scene, "ABCD"},
        {kTaskoProfile, "ab\r\nScore 7", I::Scene, ""},
        {kTaskoProfile, "abcd\r\nScore 7", I::Scene, "abcd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(F(c.game, c.text, c.field), c.value) << ::testing::PrintToString(c.text) << " field " << int(c.field);

    // The order of the lines does not matter.
    EXPECT_EQ(Parse(kKvoraProfile, "Slow Rate 2\r\nScore 1\r\nStage S\r\nRank R\r\nName N\r\nChara C\r\nDate D\r\nVersion 1"),
              Parse(kKvoraProfile, "Version 1\r\nName N\r\nDate D\r\nChara C\r\nRank R\r\nStage S\r\nScore 1\r\nSlow Rate 2"));
}

TEST(ReplayInfo, GetInfoReadsTheInformationSectionAndLeavesTheFileAlone)
{
    const Bytes before = Replay("kvor", {Info(), Comment("c")});
    const ExactBytes file(before);
    ReplayInfo info;
    ASSERT_EQ(CKvoraRec().GetInfo(file.data(), file.size(), info), 0);
    EXPECT_EQ(file.str(), before);
    EXPECT_STREQ(info.Get(InfoField::Name), "Alice");
    const ExactBytes noInfo(Replay("kvor", {Comment("c")}));
    EXPECT_EQ(CKvoraRec().GetInfo(noInfo.data(), noInfo.size(), info), 2);
}
