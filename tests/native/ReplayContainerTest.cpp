#include <gtest/gtest.h>

#include "replay/ReplayContainer.h"
#include "support/ExactBytes.h"
#include "tools/games/ReplayBuilder.h"

using namespace testing_support;

namespace {

struct Found {
    int result;
    long offset;   // payload offset in the buffer, -1 if not found
    uint32_t size;
};

// The file in a block of exactly its size, so that a read past it shows.
Found Find(uint32_t type, const Bytes& bytes)
{
    const ExactBytes file(bytes);
    const char* text = nullptr;
    uint32_t size = 0xDEADBEEF;
    const int result = FindUserSection(type, file.data(), file.size(), &text, &size);
    return {result, text ? long(text - file.data()) : -1, size};
}

}  // namespace

TEST(FindUserSection, WorkedLayoutOf49Bytes)
{
    Bytes file = Replay("kvor", {Section(0, "ABCDEFGH"), Section(1, "Z")});
    ASSERT_EQ(file.size(), 49u);
    Found info = Find(0, file);
    EXPECT_EQ(info.result, 0);
    EXPECT_EQ(info.offset, 28);
    EXPECT_EQ(info.size, 8u);
    Found comment = Find(1, file);
    EXPECT_EQ(comment.result, 0);
    EXPECT_EQ(comment.offset, 48);
    EXPECT_EQ(comment.size, 1u);
}

TEST(FindUserSection, SectionsInEitherOrder)
{
    Bytes file = Replay("kvor", {Section(1, "comment!"), Section(0, "info")}, 5);
    EXPECT_EQ(Find(1, file).offset, 21 + 12);
    EXPECT_EQ(Find(0, file).offset, 21 + 20 + 12);
    EXPECT_EQ(Find(0, file).size, 4u);
}

TEST(FindUserSection, OnlyTheFirstTwoPlacesAreExamined)
{
    // Both sections of type 0: the comment is missing.
    EXPECT_EQ(Find(1, Replay("kvor", {Section(0, "a"), Section(0, "b")})).result, 2);
    // Unknown type first, then the information section.
    Bytes typeFive = Replay("kvor", {Section(5, "xx"), Section(0, "info"), Section(1, "c")});
    EXPECT_EQ(Find(0, typeFive).result, 0);
    EXPECT_EQ(Find(1, typeFive).result, 2);  // third place
}

TEST(FindUserSection, TagOfTheSteppedOverSectionIsNotTested)
{
    EXPECT_EQ(Find(1, Replay("kvor", {Section(0, "info", "JUNK"), Section(1, "c")})).result, 0);
    // The wanted type under a bad tag is refused without a step.
    EXPECT_EQ(Find(0, Replay("kvor", {Section(0, "info", "JUNK"), Section(0, "i2")})).result, 2);
}

TEST(FindUserSection, SectionMustLieInsideTheBuffer)
{
    Bytes file = Replay("kvor", {Section(0, "info"), Section(1, "comment")});
    EXPECT_EQ(Find(1, file).result, 0);  // ends exactly at the end
    Bytes longer = file;
    SetU32(longer, longer.size() - 8 - 12 + 4, 8 + 12 + 1);  // one byte beyond
    EXPECT_EQ(Find(1, longer).result, 2);
    EXPECT_EQ(Find(0, longer).result, 0);
}

TEST(FindUserSection, EmptyPayload)
{
    Found f = Find(1, Replay("kvor", {Section(0, "i"), Section(1, "")}));
    EXPECT_EQ(f.result, 0);
    EXPECT_EQ(f.size, 0u);
}

TEST(FindUserSection, BadCalls)
{
    Bytes file = Replay("kvor", {Section(0, "i"), Section(1, "c")});
    const char* text = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(FindUserSection(2, file.data(), uint32_t(file.size()), &text, &size), 1);
    EXPECT_EQ(FindUserSection(0, nullptr, 100, &text, &size), 1);
    EXPECT_EQ(FindUserSection(0, file.data(), uint32_t(file.size()), nullptr, &size), 1);
    EXPECT_EQ(FindUserSection(0, file.data(), uint32_t(file.size()), &text, nullptr), 1);
}

TEST(FindUserSection, PayloadPointsIntoTheCallersBuffer)
{
    Bytes file = Replay("kvor", {Section(0, "info"), Section(1, "abc")});
    const char* text = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(FindUserSection(1, file.data(), uint32_t(file.size()), &text, &size), 0);
    file[file.size() - 3] = 'X';
    EXPECT_EQ(text[0], 'X');
}

TEST(FindUserSection, HostileLayoutsGiveTwoAndLeaveOutputsAlone)
{
    const Bytes good = Replay("kvor", {Section(0, "info"), Section(1, "comment")});
    // Every truncation of a good file: never a read past the end (the
    // sanitizers watch), and a section cut short is never found.
    for (size_t n = 0; n < good.size(); ++n) {
        const Bytes cut = good.substr(0, n);
        for (uint32_t type : {0u, 1u}) {
            Found f = Find(type, cut);
            if (f.result == 0) {
                EXPECT_LE(f.offset + f.size, n);
            } else {
                EXPECT_EQ(f.result, 2) << n;
                EXPECT_EQ(f.offset, -1);
                EXPECT_EQ(f.size, 0xDEADBEEFu);
            }
        }
    }

    Bytes hugeOffset = good;
    SetU32(hugeOffset, 12, 0xFFFFFFF8u);
    EXPECT_EQ(Find(0, hugeOffset).result, 2);

    Bytes offsetAtEnd = good;
    SetU32(offsetAtEnd, 12, uint32_t(good.size() - 11));  // no room for a header
    EXPECT_EQ(Find(1, offsetAtEnd).result, 2);

    Bytes hugeLength = good;
    SetU32(hugeLength, 16 + 4, 0xFFFFFFF0u);  // the step would wrap around
    EXPECT_EQ(Find(1, hugeLength).result, 2);
    EXPECT_EQ(Find(0, hugeLength).result, 2);

    for (uint32_t shortLength : {0u, 4u, 11u}) {
        Bytes tooShort = good;
        SetU32(tooShort, 16 + 4, shortLength);
        EXPECT_EQ(Find(0, tooShort).result, 2) << shortLength;
        EXPECT_EQ(Find(1, tooShort).result, 2) << shortLength;
    }

    // The information section is the last thing in the file.
    EXPECT_EQ(Find(1, Replay("kvor", {Section(0, "info")})).result, 2);
}

TEST(ReadSectionPair, AcceptsOnlyTwoWholeSections)
{
    SectionPlace a{}, b{};
    const ExactBytes good(Replay("kvor", {Section(1, "c"), Section(0, "info")}, 3));
    ASSERT_TRUE(ReadSectionPair(good.data(), good.size(), a, b));
    EXPECT_EQ(a.offset, 19u);
    EXPECT_EQ(a.type, 1u);
    EXPECT_EQ(b.offset, 19u + 13u);
    EXPECT_EQ(b.length, 16u);
    EXPECT_FALSE(ReadSectionPair(good.data(), 15, a, b));
    EXPECT_FALSE(ReadSectionPair(good.data(), good.size() - 1, a, b));
    const ExactBytes one(Replay("kvor", {Section(0, "info")}));
    EXPECT_FALSE(ReadSectionPair(one.data(), one.size(), a, b));
}
