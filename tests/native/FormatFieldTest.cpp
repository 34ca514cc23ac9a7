#include <gtest/gtest.h>

#include <string>

#include "common/ColumnInfo.h"
#include "common/PluginInfo.h"
#include "common/PathName.h"

// At most 511 bytes and the NUL, cut on a whole character (lead bytes
// 0x81-0x9F and 0xE0-0xFC).
TEST(FormatField, CutsAt511BytesOnAWholeCharacter)
{
    const std::string a509(509, 'a'), a510(510, 'a');
    const struct {
        std::string text, field;
    } cases[] = {
        {std::string(2000, 'q'), std::string(511, 'q')}, {std::string(511, 'r'), std::string(511, 'r')},
        {a509 + "\x82\xA0\x82\xA2", a509 + "\x82\xA0"},  {a510 + "\x82\xA0", a510},
        {a510 + "\x81\x40", a510},                       {a510 + "\x9F\xFC", a510},
        {a510 + "\xE0\x40", a510},                       {a510 + "\xFC\x4B", a510},
        {a510 + "\xB1\xB2", a510 + "\xB1"},              {a510 + "\x80x", a510 + "\x80"},
        {a510 + "\xA0x", a510 + "\xA0"},                 {a510 + "\xDFx", a510 + "\xDF"},
        {a510 + "\xFDx", a510 + "\xFD"},                 {a510 + "\xFFx", a510 + "\xFF"},
    };
    char block[2 * kFieldSize];
    for (const auto& c : cases) {
        std::fill(std::begin(block), std::end(block), 'Z');
        FormatField(block, "%s", c.text.c_str());
        EXPECT_EQ(std::string(block), c.field) << ::testing::PrintToString(c.text.substr(505));
        EXPECT_EQ(block[kFieldSize], 'Z');
    }
    FormatField(block, "No.%2s", "07");
    EXPECT_STREQ(block, "No.07");
}

// A separator is a byte of its own, never the trail byte of a character of
// the process's code page: 932 has lead bytes, 1252 none ("\xE9" is "é").
TEST(FileNamePart, WalksThePathInItsCodePage)
{
    const LeadByteRule codePage1252 = [](unsigned char) noexcept { return false; };
    const struct {
        const char* path;
        const char* in932;
        const char* in1252;
    } cases[] = {
        {"a\\b/c", "c", "c"},
        {"noseparator", "noseparator", "noseparator"},
        {"x\\\x95\x5C", "\x95\x5C", ""},
        {"x\\\xE0\x5C", "\xE0\x5C", ""},
        {"x\\\xFB\x5C", "\xFB\x5C", ""},
        {"trail\\\x95", "\x95", "\x95"},
        {"Caf\xE9\\kvora_01.rpy", "Caf\xE9\\kvora_01.rpy", "kvora_01.rpy"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(FileNamePart(c.path), c.in932) << c.path;
        EXPECT_STREQ(FileNamePart(c.path, codePage1252), c.in1252) << c.path;
    }
}

TEST(CopyPluginInfo, CopiesOnlyWhatFitsWhole)
{
    const PluginStrings strings{{"zero", "\x83\x5E\x83\x43\x83\x67\x83\x8B", "two", "three"}};
    char buffer[16] = "untouched";
    EXPECT_EQ(CopyPluginInfo(strings, 4, buffer, 16), 0);
    EXPECT_EQ(CopyPluginInfo(strings, -1, buffer, 16), 0);
    EXPECT_EQ(CopyPluginInfo(strings, 1, nullptr, 0), 8);
    EXPECT_EQ(CopyPluginInfo(strings, 1, buffer, 8), 0);
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_EQ(CopyPluginInfo(strings, 1, buffer, -5), 8);  // negative size is huge when unsigned
    EXPECT_EQ(CopyPluginInfo(strings, 1, buffer, 9), 8);
    EXPECT_STREQ(buffer, strings.text[1]);
}
