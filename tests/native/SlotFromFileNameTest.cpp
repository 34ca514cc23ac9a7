#include <gtest/gtest.h>

#include <string>

#include "plugins/kvorarec/KvoraRec.h"
#include "plugins/nivrarec/NivraRec.h"

namespace {

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

}  // namespace

TEST(SlotFromFileName, NumberedSlots)
{
    EXPECT_EQ(Recognise("kvora_01.rpy").kind, Numbered);
    EXPECT_EQ(Recognise("kvora_01.rpy").text, "01");
    EXPECT_EQ(Recognise("C:\\replay\\kvora_25.rpy").text, "25");
    EXPECT_EQ(Recognise("KVORA_07.RPY").text, "07");
    EXPECT_EQ(Recognise("kvora_07xrpy").kind, Numbered);  // any character before "rpy"
    for (const char* name : {"kvora_00.rpy", "kvora_26.rpy", "kvora_99.rpy", "kvora_7.rpy", "kvora_123.rpy",
                             "kvora_07.rpyx", "xkvora_07.rpy", "kvora_0a.rpy"}) {
        Slot slot = Recognise(name);
        EXPECT_EQ(slot.kind, Other) << name;
        EXPECT_EQ(slot.text, "????") << name;  // buffer untouched
    }
}

TEST(SlotFromFileName, UserNamedReplays)
{
    EXPECT_EQ(Recognise("kvora_ud.rpy").kind, User);
    EXPECT_EQ(Recognise("kvora_ud.rpy").text, "");
    EXPECT_EQ(Recognise("kvora_udabcd.rpy").text, "abcd");
    EXPECT_EQ(Recognise("kvora_udabcde.rpy").kind, Other);
    Slot digits = Recognise("kvora_ud12.rpy");
    EXPECT_EQ(digits.kind, User);
    EXPECT_EQ(digits.text, "12");
    // Case is ignored; a double-byte user name is kept as it is.
    EXPECT_EQ(Recognise("KVORA_UD\x82\xA0.rpy").text, "\x82\xA0");
}

TEST(SlotFromFileName, OtherGamesAndEmptyNames)
{
    EXPECT_EQ(Recognise("mirel_01.rpy").kind, Other);
    EXPECT_EQ(Recognise("").kind, Other);
    EXPECT_EQ(Recognise("nivra_03.rpy", CNivraRec()).text, "03");
    EXPECT_EQ(Recognise("kvora_03.rpy", CNivraRec()).kind, Other);
}

TEST(SlotFromFileName, SeparatorsAreFoundCharacterByCharacter)
{
    // "表" is 0x95 0x5C: its trail byte is not a separator.
    EXPECT_EQ(Recognise("C:\\\x95\x5Ckvora_05.rpy").kind, Other);
    // Lead bytes of the upper range, 0xE0 to 0xFC, too.
    EXPECT_EQ(Recognise("C:\\\xE0\x5Ckvora_05.rpy").kind, Other);
    EXPECT_EQ(Recognise("C:\\\xFB\x5Ckvora_05.rpy").kind, Other);
    EXPECT_EQ(Recognise("C:\\\xE0\x5C\\kvora_05.rpy").text, "05");
    EXPECT_EQ(Recognise("C:\\\x95\x5C\\kvora_05.rpy").text, "05");
    EXPECT_EQ(Recognise("/home/user/replays/kvora_11.rpy").text, "11");
    EXPECT_EQ(Recognise("dir\\kvora_ud\x95\x5C.rpy").text, "\x95\x5C");
}

TEST(SlotFromFileName, NullArgumentsWriteNothing)
{
    char buffer[5] = "abc";
    SlotKind kind = Numbered;
    CKvoraRec reader;
    EXPECT_EQ(reader.GetSlotFromFileName(nullptr, &kind, buffer, 5), 1);
    EXPECT_EQ(reader.GetSlotFromFileName("kvora_01.rpy", nullptr, buffer, 5), 1);
    EXPECT_EQ(reader.GetSlotFromFileName("kvora_01.rpy", &kind, nullptr, 5), 1);
    EXPECT_EQ(kind, Numbered);
    EXPECT_STREQ(buffer, "abc");
}

TEST(SlotFromFileName, CaptureThatDoesNotFitLeavesOther)
{
    char small[2] = "x";
    SlotKind kind = Numbered;
    EXPECT_EQ(CKvoraRec().GetSlotFromFileName("kvora_12.rpy", &kind, small, sizeof small), 0);
    EXPECT_EQ(kind, Other);
    EXPECT_STREQ(small, "x");
}
