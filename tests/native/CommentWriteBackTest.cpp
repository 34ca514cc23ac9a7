#include <gtest/gtest.h>

#include <string>

#include "replay/CommentWriteBack.h"
#include "replay/ReplayContainer.h"
#include "support/ExactBytes.h"
#include "tools/games/ReplayBuilder.h"

using namespace testing_support;

namespace {

struct Built {
    int result;
    Bytes bytes;
};

// On exact-size copies, so that the sanitizer sees a read past either.
Built Build(const Bytes& file, const Bytes& text)
{
    const ExactBytes data(file), comment(text);
    smart_array<char> out;
    const int result = BuildCommentedReplay(file.empty() ? nullptr : data.data(), data.size(),
                                            text.empty() ? nullptr : comment.data(), comment.size(), out);
    if (result != kCommentBuilt) {
        EXPECT_EQ(out.data, nullptr) << "out written on failure";
        return {result, {}};
    }
    return {result, Bytes(out.data, out.size)};
}

const Bytes kNew = Bytes("new comment") + Bytes(1, '\0');

}  // namespace

// Head and body, the information, the new comment, any other section of the
// two examined, then whatever stood behind them.
TEST(BuildCommentedReplay, NewLayouts)
{
    const Bytes info = Info(), comment = Section(1, kNew);
    const Bytes five = Section(5, "unknown"), tagged = Section(1, "tagged", "ABCD"), second = Info("Name B\r\n");
    const struct {
        std::vector<Bytes> sections;
        Bytes built;
    } cases[] = {
        {{info, Comment("old one")}, info + comment},
        // What stands behind the two examined sections stays behind them.
        {{info, Comment("old"), Section(2, "third")}, info + comment + Section(2, "third")},
        {{Comment("old"), info, Bytes("tail")}, info + comment + "tail"},
        {{Comment("old comment first"), second}, second + comment},
        {{info}, info + comment},
        {{info, five}, info + comment + five},
        {{info, tagged}, info + comment + tagged},
        {{info, second}, info + comment + second},
        {{five, info}, info + comment + five},
        // Without an information section the comment comes first.
        {{tagged, five}, comment + tagged + five},
        {{five, Comment("old")}, comment + five},
        {{five}, comment + five},
        {{Comment("old")}, comment},
    };
    for (const auto& c : cases) {
        const Built built = Build(Replay("kvor", c.sections, 6), kNew);
        ASSERT_EQ(built.result, kCommentBuilt) << ::testing::PrintToString(c.built);
        EXPECT_EQ(built.bytes, Replay("kvor", {}, 6) + c.built);
    }
}

// An empty comment is its NUL (length 13), zero bytes a bare header (12),
// the longest 30000 bytes and the NUL (30013).
TEST(BuildCommentedReplay, CommentHeaderLengths)
{
    const Bytes info = Info();
    for (auto [text, length] : {std::pair{Bytes(1, '\0'), Bytes("\x0D\0\0\0", 4)}, {Bytes(), Bytes("\x0C\0\0\0", 4)},
                                {Bytes(30000, 'y') + Bytes(1, '\0'), Bytes("\x3D\x75\0\0", 4)}}) {
        const Built built = Build(Replay("kvor", {info, Comment("x"), Bytes("trailing bytes")}), text);
        EXPECT_EQ(built.bytes, Replay("kvor", {info}) + "USER" + length + Bytes("\x01\0\0\0", 4) + text + "trailing bytes");
    }
}

TEST(BuildCommentedReplay, RefusesEveryLayoutThatWouldBeReadOutsideTheFile)
{
    const Bytes info = Info("Name A\r\n");
    const Bytes good = Replay("kvor", {info, Comment("comment")}, 5);
    const size_t first = 16 + 5, second = first + info.size();
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_EQ(Build(good.substr(0, n), kNew).result, n == second ? kCommentBuilt : kCommentBadLayout) << n;

    const std::pair<size_t, uint32_t> breaks[] = {
        {12, 15}, {12, uint32_t(good.size())}, {12, 0xFFFFFFF8u},            // user-data offset
        {first + 4, 11}, {first + 4, 0}, {first + 4, 0xFFFFFFF0u},           // the first section's length
        {second + 4, 11}, {second + 4, uint32_t(good.size() - second + 1)}, {second + 4, 0xFFFFFFFFu},
    };
    for (auto [at, value] : breaks) {
        Bytes file = good;
        SetU32(file, at, value);
        EXPECT_EQ(Build(file, kNew).result, kCommentBadLayout) << at << " " << value;
    }
    // Fewer than 12 bytes behind the information section are no header.
    EXPECT_EQ(Build(Replay("kvor", {info, Bytes("USER\x20")}), kNew).result, kCommentBadLayout);

    // A size that does not fit is refused before the (short) text is read.
    const Bytes file = Replay("kvor", {Info(), Comment("c")});
    const char text[1] = {0};
    smart_array<char> out;
    EXPECT_EQ(BuildCommentedReplay(file.data(), uint32_t(file.size()), text, 0xFFFFFFF0u, out), kCommentBadLayout);
    EXPECT_EQ(BuildCommentedReplay(file.data(), uint32_t(file.size()), nullptr, 5, out), kCommentBadLayout);
    EXPECT_EQ(BuildCommentedReplay(nullptr, 100, text, 1, out), kCommentBadLayout);
    EXPECT_EQ(out.data, nullptr);
}
