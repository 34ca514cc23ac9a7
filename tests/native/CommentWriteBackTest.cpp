#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "replay/CommentWriteBack.h"
#include "replay/ReplayContainer.h"
#include "tools/games/ReplayBuilder.h"

using namespace testing_support;

namespace {

struct Built {
    int result;
    Bytes bytes;
};

// Runs the builder on an exact-size heap copy, so that the sanitizer sees
// any read past the file's end.
Built Build(const Bytes& file, const Bytes& text)
{
    const std::vector<char> data(file.begin(), file.end());
    const std::vector<char> comment(text.begin(), text.end());
    smart_array<char> out;
    const int result = BuildCommentedReplay(data.empty() ? nullptr : data.data(), uint32_t(data.size()),
                                            comment.empty() ? nullptr : comment.data(), uint32_t(comment.size()), out);
    if (result != kCommentBuilt) {
        EXPECT_EQ(out.data, nullptr) << "out written on failure";
        return {result, {}};
    }
    return {result, Bytes(out.data, out.size)};
}

const Bytes kNew = Bytes("new comment") + Bytes(1, '\0');

}  // namespace

TEST(BuildCommentedReplay, InformationFirstKeepsEverythingUpToItsEnd)
{
    const Bytes head = Replay("kvor", {Info()}, 40);
    const Built built = Build(Replay("kvor", {Info(), Comment("old one")}, 40), kNew);
    ASSERT_EQ(built.result, kCommentBuilt);
    EXPECT_EQ(built.bytes, head + Section(1, kNew));
}

TEST(BuildCommentedReplay, CommentFirstPutsTheInformationAtTheUserDataOffset)
{
    const Built built = Build(Replay("kvor", {Comment("old comment first"), Info("Name B\r\n")}, 3), kNew);
    ASSERT_EQ(built.result, kCommentBuilt);
    EXPECT_EQ(built.bytes, Replay("kvor", {Info("Name B\r\n"), Section(1, kNew)}, 3));

    // Read back as the readers read it.
    const char* text = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(FindUserSection(kInfoSection, built.bytes.data(), uint32_t(built.bytes.size()), &text, &size), 0);
    EXPECT_EQ(text - built.bytes.data(), 16 + 3 + 12);
    ASSERT_EQ(FindUserSection(kCommentSection, built.bytes.data(), uint32_t(built.bytes.size()), &text, &size), 0);
    EXPECT_EQ(size, kNew.size());
    EXPECT_STREQ(text, "new comment");
}

TEST(BuildCommentedReplay, CommentHeaderSizesAndWhatIsDropped)
{
    const Bytes info = Info();
    // An empty comment is its NUL: length 13. Nothing is stored behind it,
    // whatever stood behind the second section.
    const Built empty = Build(Replay("kvor", {info, Comment("x"), Bytes("trailing bytes")}), Bytes(1, '\0'));
    EXPECT_EQ(empty.bytes, Replay("kvor", {info}) + Section(1, Bytes(1, '\0')));
    EXPECT_EQ(empty.bytes.substr(16 + info.size() + 4, 4), Bytes("\x0D\0\0\0", 4));

    // Zero bytes make a bare header of length 12.
    const Built bare = Build(Replay("kvor", {info, Comment("x")}), "");
    EXPECT_EQ(bare.bytes, Replay("kvor", {info}) + Bytes("USER\x0C\0\0\0\x01\0\0\0", 12));

    // 30000 bytes and the NUL: length 30013.
    const Bytes longest = Bytes(30000, 'y') + Bytes(1, '\0');
    const Built full = Build(Replay("kvor", {info, Comment("x")}), longest);
    EXPECT_EQ(full.bytes, Replay("kvor", {info}) + Section(1, longest));
    EXPECT_EQ(full.bytes.substr(16 + info.size() + 4, 4), Bytes("\x3D\x75\0\0", 4));
}

// Only the comment the readers find is replaced, by a "USER" section of type
// 1; any other section of the two is kept behind it, the information first.
TEST(BuildCommentedReplay, SectionsThatAreNotTheCommentAreKeptBehindIt)
{
    const Bytes head = Replay("kvor", {}, 6);
    const Bytes info = Info(), comment = Section(1, kNew);
    const Bytes five = Section(5, "unknown"), tagged = Section(1, "tagged", "ABCD"), second = Info("Name B\r\n");
    const struct {
        std::vector<Bytes> sections;
        Bytes built;
    } cases[] = {
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
        ASSERT_EQ(built.result, kCommentBuilt) << c.built;
        EXPECT_EQ(built.bytes, head + c.built);
    }
}

TEST(BuildCommentedReplay, InformationAsTheLastSectionGetsAFirstComment)
{
    const Bytes infoOnly = Replay("kvor", {Info()}, 9);
    EXPECT_EQ(Build(infoOnly, kNew).bytes, infoOnly + Section(1, kNew));
}

TEST(BuildCommentedReplay, RefusesEveryLayoutThatWouldBeReadOutsideTheFile)
{
    const Bytes info = Info("Name A\r\n");
    const Bytes good = Replay("kvor", {info, Comment("comment")}, 5);
    const size_t infoEnd = 16 + 5 + info.size();
    for (size_t n = 0; n < good.size(); ++n) {
        const Built built = Build(good.substr(0, n), kNew);
        if (n == infoEnd) {
            EXPECT_EQ(built.result, kCommentBuilt) << "cut right behind the information section";
        } else {
            EXPECT_EQ(built.result, kCommentBadLayout) << n;
        }
    }

    auto with = [&](size_t at, uint32_t value) {
        Bytes file = good;
        SetU32(file, at, value);
        return Build(file, kNew).result;
    };
    const size_t first = 16 + 5, second = first + info.size();
    EXPECT_EQ(with(12, 15), kCommentBadLayout);           // user-data offset inside the head
    EXPECT_EQ(with(12, uint32_t(good.size())), kCommentBadLayout);
    EXPECT_EQ(with(12, 0xFFFFFFF8u), kCommentBadLayout);
    EXPECT_EQ(with(first + 4, 11), kCommentBadLayout);    // shorter than its own header
    EXPECT_EQ(with(first + 4, 0), kCommentBadLayout);
    EXPECT_EQ(with(first + 4, 0xFFFFFFF0u), kCommentBadLayout);
    EXPECT_EQ(with(second + 4, 11), kCommentBadLayout);
    EXPECT_EQ(with(second + 4, uint32_t(good.size() - second + 1)), kCommentBadLayout);
    EXPECT_EQ(with(second + 4, 0xFFFFFFFFu), kCommentBadLayout);

    // Fewer than 12 bytes behind the information section are no header.
    EXPECT_EQ(Build(Replay("kvor", {info, Bytes("USER\x20")}), kNew).result, kCommentBadLayout);

    // A size that does not fit is refused before the text (far shorter than
    // the count) is read.
    const Bytes file = Replay("kvor", {Info(), Comment("c")});
    const char text[1] = {0};
    smart_array<char> out;
    EXPECT_EQ(BuildCommentedReplay(file.data(), uint32_t(file.size()), text, 0xFFFFFFF0u, out), kCommentBadLayout);
    EXPECT_EQ(BuildCommentedReplay(file.data(), uint32_t(file.size()), nullptr, 5, out), kCommentBadLayout);
    EXPECT_EQ(BuildCommentedReplay(nullptr, 100, text, 1, out), kCommentBadLayout);
    EXPECT_EQ(out.data, nullptr);
}
