#include <gtest/gtest.h>

#include <string>

#include "common/ColumnInfo.h"
#include "common/PluginInfo.h"
#include "common/ShiftJis.h"

TEST(FormatField, NeverRunsPastItsField)
{
    char block[2 * kFieldSize];
    std::fill(std::begin(block), std::end(block), 'Z');
    const std::string text(2000, 'q');
    FormatField(block, "%s", text.c_str());
    EXPECT_EQ(std::string(block), std::string(511, 'q'));
    EXPECT_EQ(block[kFieldSize], 'Z');

    FormatField(block, "%s", std::string(511, 'r').c_str());
    EXPECT_EQ(std::string(block), std::string(511, 'r'));
    FormatField(block, "No.%2s", "07");
    EXPECT_STREQ(block, "No.07");
}

TEST(FormatField, CutDropsALoneLeadByte)
{
    char field[kFieldSize];
    // 509 ASCII bytes, then two double-byte characters: the second straddles byte 511.
    FormatField(field, "%s", (std::string(509, 'a') + "\x82\xA0\x82\xA2").c_str());
    EXPECT_EQ(std::string(field), std::string(509, 'a') + "\x82\xA0");
    FormatField(field, "%s", (std::string(510, 'a') + "\x82\xA0").c_str());
    EXPECT_EQ(std::string(field), std::string(510, 'a'));
    // A half-width katakana (single byte, 0xA0-0xDF) is not a lead byte.
    FormatField(field, "%s", (std::string(510, 'a') + "\xB1\xB2").c_str());
    EXPECT_EQ(std::string(field), std::string(510, 'a') + "\xB1");
    // Lead bytes run from 0x81 to 0x9F and from 0xE0 to 0xFC.
    for (const char* character : {"\x81\x40", "\x9F\xFC", "\xE0\x40", "\xEA\xA4", "\xFC\x4B"}) {
        FormatField(field, "%s", (std::string(510, 'a') + character).c_str());
        EXPECT_EQ(std::string(field), std::string(510, 'a')) << std::hex << (unsigned(character[0]) & 0xFF);
    }
    for (const char* single : {"\x80", "\xA0", "\xDF", "\xFD", "\xFF"}) {
        FormatField(field, "%s", (std::string(510, 'a') + single + "x").c_str());
        EXPECT_EQ(std::string(field), std::string(510, 'a') + single) << std::hex << (unsigned(single[0]) & 0xFF);
    }
}

TEST(ShiftJis, FileNamePart)
{
    EXPECT_STREQ(sjis::FileNamePart("a\\b/c"), "c");
    EXPECT_STREQ(sjis::FileNamePart("noseparator"), "noseparator");
    EXPECT_STREQ(sjis::FileNamePart("x\\\x95\x5C"), "\x95\x5C");
    EXPECT_STREQ(sjis::FileNamePart("x\\\xE0\x5C"), "\xE0\x5C");  // "濬": 0xE0 leads too
    EXPECT_STREQ(sjis::FileNamePart("x\\\xFB\x5C"), "\xFB\x5C");  // "犾"
    EXPECT_STREQ(sjis::FileNamePart("trail\\\x95"), "\x95");  // lone lead byte at the end
}

TEST(CopyPluginInfo, Contract)
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
