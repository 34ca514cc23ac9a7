#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "tools/games/GameReaders.h"

namespace {

// The two shapes of names as regular expressions, which the plug-ins do without.
class SlotRegex {
public:
    explicit SlotRegex(const std::string& prefix)
        : m_numbered(prefix + "_([[:digit:]]{2}).rpy", kSyntax), m_user(prefix + "_ud(.{0,4}).rpy", kSyntax) {}
    bool Numbered(const std::string& name, SlotCapture& capture) const { return Match(m_numbered, name, capture); }
    bool User(const std::string& name, SlotCapture& capture) const { return Match(m_user, name, capture); }

private:
    static constexpr auto kSyntax = std::regex::ECMAScript | std::regex::icase;
    static bool Match(const std::regex& pattern, const std::string& name, SlotCapture& capture)
    {
        std::smatch match;
        if (!std::regex_match(name, match, pattern)) return false;
        capture = {size_t(match.position(1)), size_t(match.length(1))};
        return true;
    }
    std::regex m_numbered, m_user;
};

struct Slot {
    SlotKind kind;
    std::string text;
};

Slot Recognise(const char* name, const CReplayReader& reader = CKvoraRec())
{
    char buffer[5] = {'?', '?', '?', '?', '\0'};
    SlotKind kind = SlotKind(-1);
    EXPECT_EQ(reader.GetSlotFromFileName(name, &kind, buffer, sizeof buffer), 0);
    return {kind, buffer};
}

// In each place of the two shapes, what may stand there or in its stead,
// CR, LF, lead and trail bytes (0x82, 0xA0, 0x5C) included.
std::vector<std::string> NamesAround(const std::string& prefix, const std::string& otherPrefix)
{
    std::string upper = prefix;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string mixed = upper.substr(0, 1) + prefix.substr(1);
    const std::string cut = prefix.substr(0, prefix.size() - 1);

    std::vector<std::string> names;
    const std::string slotCharacters = "0126a\n\r\x82\xa0\\";
    const std::string beforeRpy = ".x\n\r\x82";
    for (const std::string& p : {prefix, upper, mixed, cut, otherPrefix})
        for (char tens : slotCharacters)
            for (char ones : slotCharacters)
                for (char before : beforeRpy)
                    for (const char* end : {"rpy", "RPY", "rPy", "rpyy"})
                        names.push_back(p + "_" + tens + ones + before + end);
    for (const char* odd : {"_1.rpy", "_123.rpy", "_00.rpy", "_26.rpy", "__01.rpy", ".rpy", "", "_", "_01"})
        names.push_back(prefix + odd);

    // User characters: every string of up to five of these.
    std::vector<std::string> users = {""};
    for (size_t from = 0, length = 1; length <= 5; ++length) {
        const size_t to = users.size();
        for (size_t i = from; i < to; ++i)
            for (char c : std::string("a\n\x82"))
                users.push_back(users[i] + c);
        from = to;
    }
    for (const std::string& p : {prefix, upper, otherPrefix})
        for (const char* ud : {"_ud", "_UD", "_u"})
            for (const std::string& user : users)
                for (const char* end : {".rpy", "\rrpy", "XRPY"}) names.push_back(p + ud + user + end);
    return names;
}

}  // namespace

// The prefix is data: one game's names are enough.
TEST(SlotFromFileName, MatchesTheRegularExpressions)
{
    const char* prefix = kKvoraProfile.prefix;
    const SlotRegex oracle(prefix);
    for (const std::string& name : NamesAround(prefix, kMirelProfile.prefix)) {
        SlotCapture expected{99, 99};
        SlotCapture found{99, 99};
        const bool isNumbered = oracle.Numbered(name, expected);
        ASSERT_EQ(MatchNumberedName(prefix, name.data(), name.size(), found), isNumbered)
            << ::testing::PrintToString(name);
        ASSERT_TRUE(found.start == expected.start && found.length == expected.length) << ::testing::PrintToString(name);
        const bool isUser = oracle.User(name, expected);
        ASSERT_EQ(MatchUserName(prefix, name.data(), name.size(), found), isUser) << ::testing::PrintToString(name);
        ASSERT_TRUE(found.start == expected.start && found.length == expected.length) << ::testing::PrintToString(name);
    }
}

// The slot comes from the name's last part, found character by character:
// a trail byte 0x5C ("表" is 0x95 0x5C) is no separator.
TEST(SlotFromFileName, KindAndSlotText)
{
    const struct {
        const char* name;
        SlotKind kind;
        const char* text;   // "????": the buffer untouched
    } cases[] = {
        {"kvora_01.rpy", Numbered, "01"},          {"C:\\replay\\kvora_25.rpy", Numbered, "25"},
        {"KVORA_07.RPY", Numbered, "07"},          {"kvora_07xrpy", Numbered, "07"},
        {"kvora_00.rpy", Other, "????"},           {"kvora_26.rpy", Other, "????"},
        {"kvora_7.rpy", Other, "????"},            {"kvora_07.rpyx", Other, "????"},
        {"xkvora_07.rpy", Other, "????"},          {"mirel_01.rpy", Other, "????"},
        {"", Other, "????"},                       {"kvora_ud.rpy", User, ""},
        {"kvora_udabcd.rpy", User, "abcd"},        {"kvora_udabcde.rpy", Other, "????"},
        {"KVORA_UD\x82\xA0.rpy", User, "\x82\xA0"}, {"C:\\\x95\x5Ckvora_05.rpy", Other, "????"},
        {"C:\\\xE0\x5Ckvora_05.rpy", Other, "????"}, {"C:\\\xFB\x5Ckvora_05.rpy", Other, "????"},
        {"C:\\\xE0\x5C\\kvora_05.rpy", Numbered, "05"}, {"C:\\\x95\x5C\\kvora_05.rpy", Numbered, "05"},
        {"/home/user/replays/kvora_11.rpy", Numbered, "11"}, {"dir\\kvora_ud\x95\x5C.rpy", User, "\x95\x5C"},
    };
    for (const auto& c : cases) {
        const Slot slot = Recognise(c.name);
        EXPECT_EQ(slot.kind, c.kind) << ::testing::PrintToString(std::string(c.name));
        EXPECT_EQ(slot.text, c.text) << ::testing::PrintToString(std::string(c.name));
    }
    EXPECT_EQ(Recognise("nivra_03.rpy", CNivraRec()).text, "03");
    EXPECT_EQ(Recognise("kvora_03.rpy", CNivraRec()).kind, Other);
}

TEST(SlotFromFileName, BadCallsAndShortBuffersWriteNothing)
{
    char buffer[5] = "abc";
    SlotKind kind = Numbered;
    CKvoraRec reader;
    EXPECT_EQ(reader.GetSlotFromFileName(nullptr, &kind, buffer, 5), 1);
    EXPECT_EQ(reader.GetSlotFromFileName("kvora_01.rpy", nullptr, buffer, 5), 1);
    EXPECT_EQ(reader.GetSlotFromFileName("kvora_01.rpy", &kind, nullptr, 5), 1);
    EXPECT_EQ(kind, Numbered);
    EXPECT_EQ(reader.GetSlotFromFileName("kvora_12.rpy", &kind, buffer, 2), 0);   // "12" does not fit
    EXPECT_EQ(kind, Other);
    EXPECT_STREQ(buffer, "abc");
}
