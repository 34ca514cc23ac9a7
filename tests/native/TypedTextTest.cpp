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

}  // namespace

// A change from `before` to `now` keeps the whole characters that fit.
TEST(FitTypedChange, KeepsTheWholeCharactersThatFit)
{
    const std::string stored(40, 's'), twin = "\x82\x82";
    const std::string paste = Repeat(kA + kE, 10000);
    const struct {
        std::string before, now;
        size_t limit;
        std::string kept;   // empty with caret 0: no cut
        size_t caret;
    } cases[] = {
        {"", "abc", 3, "", 0},
        {"ab", "ab" + kA, 4, "", 0},
        {std::string(10, 'x'), "", 3, "", 0},
        {std::string(9, 'a'), std::string(9, 'a') + "b", 10, "", 0},
        {stored, stored.substr(1), 30, "", 0},   // deleting is always allowed
        // One byte of room: a double-byte character does not fit.
        {std::string(9, 'a'), std::string(9, 'a') + kE, 10, std::string(9, 'a'), 9},
        // Typed in the middle: the end stays.
        {"abcdefgh", "abc" + kA + "defgh", 9, "abcdefgh", 3},
        // A paste keeps the characters that fit, never half of one.
        {"abyz", "ab" + Repeat(kE, 5) + "yz", 9, "ab" + Repeat(kE, 2) + "yz", 6},
        {"", paste, 30000, paste.substr(0, 30000), 30000},
        {"x", "x" + paste, 30000, "x" + paste.substr(0, 29998), 29999},
        // A replaced selection is gone and its replacement cut.
        {"abcdef", "ab" + Repeat(kA, 3) + "ef", 8, "ab" + Repeat(kA, 2) + "ef", 6},
        // The shared ends are whole characters.
        {"x\xA0\xA0", "x" + kA + "\xA0", 3, "x\xA0", 1},
        {twin + kA, twin + twin + twin + kA, 6, twin + twin + kA, 4},
        {twin + "\xA0", twin + "a" + twin + "\xA0", 3, twin + "\xA0", 2},   // the trail bytes are compared
        // A stored text over the limit takes nothing more.
        {stored, stored.substr(0, 20) + "x" + stored.substr(20), 30, stored, 20},
        {stored, stored.substr(0, 10) + "xy" + stored.substr(15), 30, stored.substr(0, 10) + stored.substr(15), 10},
    };
    for (const auto& c : cases) {
        const FittedText fitted = FitTypedChange(c.before, c.now, c.limit);
        const std::string where = ::testing::PrintToString(c.now.substr(0, 40));
        ASSERT_EQ(fitted.cut, !c.kept.empty()) << where;
        if (!fitted.cut) continue;
        EXPECT_EQ(c.now.substr(0, fitted.caret) + c.now.substr(fitted.caret + fitted.dropped), c.kept) << where;
        EXPECT_EQ(fitted.caret, c.caret) << where;
    }
}
