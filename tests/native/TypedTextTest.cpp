#include <gtest/gtest.h>

#include <string>

#include "editor/TypedText.h"

namespace {

// "あ" (0x82 0xA0) and "漾" (0xE0 0x40): two bytes each.
const std::string kA = "\x82\xA0";
const std::string kE = "\xE0\x40";

std::string Repeat(const std::string& piece, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
}

// What the control is to hold after a cut of the text `now`.
std::string Kept(const std::string& now, const FittedText& fitted)
{
    return now.substr(0, fitted.caret) + now.substr(fitted.caret + fitted.dropped);
}

}  // namespace

TEST(FitTypedChange, ChangesWithinTheLimitAreLeftAlone)
{
    EXPECT_FALSE(FitTypedChange("", "abc", 3).cut);
    EXPECT_FALSE(FitTypedChange("ab", "ab" + kA, 4).cut);
    EXPECT_FALSE(FitTypedChange(std::string(10, 'x'), "", 3).cut);
}

TEST(FitTypedChange, TypingStopsAtTheLimitInBytes)
{
    // One byte of room: a double-byte character does not fit, a single one does.
    const std::string before(9, 'a');
    const std::string typed = before + kE;
    const FittedText refused = FitTypedChange(before, typed, 10);
    ASSERT_TRUE(refused.cut);
    EXPECT_EQ(Kept(typed, refused), before);
    EXPECT_EQ(refused.caret, 9u);
    EXPECT_FALSE(FitTypedChange(before, before + "b", 10).cut);

    // Typed in the middle: the end stays, the caret stays behind what was kept.
    const std::string inside = "abc" + kA + "defgh";
    const FittedText middle = FitTypedChange("abcdefgh", inside, 9);
    ASSERT_TRUE(middle.cut);
    EXPECT_EQ(Kept(inside, middle), "abcdefgh");
    EXPECT_EQ(middle.caret, 3u);
}

TEST(FitTypedChange, APasteKeepsTheWholeCharactersThatFit)
{
    // 5 bytes of room between "ab" and "yz": two characters of the five.
    const std::string pasted = "ab" + Repeat(kE, 5) + "yz";
    const FittedText fitted = FitTypedChange("abyz", pasted, 9);
    ASSERT_TRUE(fitted.cut);
    EXPECT_EQ(Kept(pasted, fitted), "ab" + Repeat(kE, 2) + "yz");
    EXPECT_EQ(fitted.caret, 6u);

    // Into an empty control: 30000 bytes of a 40000-byte paste.
    const std::string paste = Repeat(kA + kE, 10000);
    const FittedText full = FitTypedChange("", paste, 30000);
    ASSERT_TRUE(full.cut);
    EXPECT_EQ(Kept(paste, full), paste.substr(0, 30000));
    EXPECT_EQ(full.caret, 30000u);
    const FittedText odd = FitTypedChange("x", "x" + paste, 30000);
    EXPECT_EQ(Kept("x" + paste, odd), "x" + paste.substr(0, 29998));   // never half a character
}

TEST(FitTypedChange, AReplacedSelectionIsGoneAndItsReplacementCut)
{
    // "cd" selected and replaced by three double-byte characters.
    const std::string replacing = "ab" + Repeat(kA, 3) + "ef";
    const FittedText fitted = FitTypedChange("abcdef", replacing, 8);
    ASSERT_TRUE(fitted.cut);
    EXPECT_EQ(Kept(replacing, fitted), "ab" + Repeat(kA, 2) + "ef");
    EXPECT_EQ(fitted.caret, 6u);
}

TEST(FitTypedChange, TheSharedEndsAreWholeCharacters)
{
    // The first of two half-width katakana (0xA0, one byte each) replaced by
    // "あ": the shared end is the last katakana alone, not the trail byte of
    // "あ" with it.
    const std::string katakana = "x" + kA + "\xA0";
    const FittedText replaced = FitTypedChange("x\xA0\xA0", katakana, 3);
    ASSERT_TRUE(replaced.cut);
    EXPECT_EQ(Kept(katakana, replaced), "x\xA0");
    EXPECT_EQ(replaced.caret, 1u);
    // Two characters 0x82 0x82 typed behind one, before "あ" (0x82 0xA0), with
    // room for one: the shared start ends behind the first character, not
    // inside the second, so the caret lands between characters.
    const std::string twin = "\x82\x82";
    const std::string twins = twin + twin + twin + kA;
    const FittedText repeated = FitTypedChange(twin + kA, twins, 6);
    ASSERT_TRUE(repeated.cut);
    EXPECT_EQ(Kept(twins, repeated), twin + twin + kA);
    EXPECT_EQ(repeated.caret, 4u);
}

TEST(FitTypedChange, ALongerStoredTextTakesNothingMore)
{
    const std::string stored(40, 's');
    const std::string inserted = stored.substr(0, 20) + "x" + stored.substr(20);
    const FittedText typed = FitTypedChange(stored, inserted, 30);
    ASSERT_TRUE(typed.cut);
    EXPECT_EQ(Kept(inserted, typed), stored);
    EXPECT_EQ(typed.caret, 20u);
    // Deleting is always allowed, and so is replacing by nothing.
    EXPECT_FALSE(FitTypedChange(stored, stored.substr(1), 30).cut);
    // Replacing five bytes by two in a text still over the limit puts nothing in.
    const std::string shorter = stored.substr(0, 10) + "xy" + stored.substr(15);
    const FittedText replaced = FitTypedChange(stored, shorter, 30);
    ASSERT_TRUE(replaced.cut);
    EXPECT_EQ(Kept(shorter, replaced), stored.substr(0, 10) + stored.substr(15));
}
