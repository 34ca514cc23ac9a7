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

Bytes With(Bytes file, size_t at, uint32_t value)
{
    SetU32(file, at, value);
    return file;
}

}  // namespace

// Only the section at the user-data offset and the one right behind it are
// examined; a section is found only whole, under "USER", of the wanted type.
TEST(FindUserSection, FindsOnlyWholeSectionsInTheFirstTwoPlaces)
{
    const Bytes good = Replay("kvor", {Section(0, "info"), Section(1, "comment")});
    const size_t second = 16 + 16;
    const struct {
        Bytes file;
        uint32_t type;
        Found found;
    } cases[] = {
        // magic, 8 bytes, offset, then "USER" 20 0 "ABCDEFGH" and "USER" 13 1 "Z": 49 bytes.
        {Replay("kvor", {Section(0, "ABCDEFGH"), Section(1, "Z")}), 0, {0, 28, 8}},
        {Replay("kvor", {Section(0, "ABCDEFGH"), Section(1, "Z")}), 1, {0, 48, 1}},
        {Replay("kvor", {Section(1, "comment!"), Section(0, "info")}, 5), 1, {0, 21 + 12, 8}},
        {Replay("kvor", {Section(1, "comment!"), Section(0, "info")}, 5), 0, {0, 21 + 20 + 12, 4}},
        {Replay("kvor", {Section(0, "i"), Section(1, "")}), 1, {0, 41, 0}},
        {Replay("kvor", {Section(0, "a"), Section(0, "b")}), 1, {2, -1, 0xDEADBEEF}},
        {Replay("kvor", {Section(5, "xx"), Section(0, "info"), Section(1, "c")}), 0, {0, 16 + 14 + 12, 4}},
        {Replay("kvor", {Section(5, "xx"), Section(0, "info"), Section(1, "c")}), 1, {2, -1, 0xDEADBEEF}},
        // The tag of the section stepped over is not looked at; the wanted one's is.
        {Replay("kvor", {Section(0, "info", "JUNK"), Section(1, "c")}), 1, {0, 16 + 16 + 12, 1}},
        {Replay("kvor", {Section(0, "info", "JUNK"), Section(0, "i2")}), 0, {2, -1, 0xDEADBEEF}},
        {Replay("kvor", {Section(0, "info")}), 1, {2, -1, 0xDEADBEEF}},
        {good, 1, {0, long(second + 12), 7}},
        {With(good, second + 4, 20), 1, {2, -1, 0xDEADBEEF}},           // one byte beyond the end
        {With(good, 12, 0xFFFFFFF8u), 0, {2, -1, 0xDEADBEEF}},          // offset far out
        {With(good, 12, uint32_t(good.size() - 11)), 1, {2, -1, 0xDEADBEEF}},  // no room for a header
        {With(good, 16 + 4, 0xFFFFFFF0u), 1, {2, -1, 0xDEADBEEF}},      // the step would wrap
        {With(good, 16 + 4, 0xFFFFFFF0u), 0, {2, -1, 0xDEADBEEF}},
        {With(good, 16 + 4, 0), 0, {2, -1, 0xDEADBEEF}},                // shorter than a header
        {With(good, 16 + 4, 11), 1, {2, -1, 0xDEADBEEF}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Found f = Find(cases[i].type, cases[i].file);
        EXPECT_EQ(f.result, cases[i].found.result) << "case " << i;
        EXPECT_EQ(f.offset, cases[i].found.offset) << "case " << i;
        EXPECT_EQ(f.size, cases[i].found.size) << "case " << i;
    }

    // A section cut short is never found.
    for (size_t n = 0; n < good.size(); ++n)
        for (uint32_t type : {0u, 1u}) {
            const Found f = Find(type, good.substr(0, n));
            EXPECT_TRUE(f.result == 0 ? size_t(f.offset) + f.size <= n : f.result == 2 && f.size == 0xDEADBEEF) << n;
        }
}

TEST(FindUserSection, BadCallsAndThePayloadInTheCallersBuffer)
{
    Bytes file = Replay("kvor", {Section(0, "info"), Section(1, "abc")});
    const char* text = nullptr;
    uint32_t size = 0;
    EXPECT_EQ(FindUserSection(2, file.data(), uint32_t(file.size()), &text, &size), 1);
    EXPECT_EQ(FindUserSection(0, nullptr, 100, &text, &size), 1);
    EXPECT_EQ(FindUserSection(0, file.data(), uint32_t(file.size()), nullptr, &size), 1);
    EXPECT_EQ(FindUserSection(0, file.data(), uint32_t(file.size()), &text, nullptr), 1);
    ASSERT_EQ(FindUserSection(1, file.data(), uint32_t(file.size()), &text, &size), 0);
    file[file.size() - 3] = 'X';
    EXPECT_EQ(text[0], 'X');
}
