#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "plugins/kvorarec/KvoraRec.h"
#include "replay/CommentWriteBack.h"
#include "replay/ReplayContainer.h"
#include "support/ReplayBuilder.h"

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

TEST(BuildCommentedReplay, TagAndTypeComeFromTheOldCommentHeader)
{
    const Bytes info = Info();
    EXPECT_EQ(Build(Replay("kvor", {info, Section(7, "odd", "ABCD")}), kNew).bytes,
              Replay("kvor", {info}) + Section(7, kNew, "ABCD"));
    // The section at the user-data offset is the information section only if
    // its type is 0; the type of the other one is not examined.
    EXPECT_EQ(Build(Replay("kvor", {Section(1, "c", "JUNK"), Section(5, "i")}), kNew).bytes,
              Replay("kvor", {Section(5, "i")}) + Section(1, kNew, "JUNK"));
}

TEST(BuildCommentedReplay, InformationAsTheLastSectionGetsAFirstComment)
{
    const Bytes infoOnly = Replay("kvor", {Info()}, 9);
    EXPECT_EQ(Build(infoOnly, kNew).bytes, infoOnly + Section(1, kNew));
    // A first section of another type with nothing behind it is not a replay
    // that can be rewritten.
    EXPECT_EQ(Build(Replay("kvor", {Comment("c")}), kNew).result, kCommentBadLayout);
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
}

TEST(BuildCommentedReplay, SizesThatDoNotFitAreRefusedBeforeAnythingIsRead)
{
    const Bytes file = Replay("kvor", {Info(), Comment("c")});
    const char text[1] = {0};
    smart_array<char> out;
    // The text is far shorter than the count: it must not be read at all.
    EXPECT_EQ(BuildCommentedReplay(file.data(), uint32_t(file.size()), text, 0xFFFFFFF0u, out), kCommentBadLayout);
    EXPECT_EQ(BuildCommentedReplay(file.data(), uint32_t(file.size()), nullptr, 5, out), kCommentBadLayout);
    EXPECT_EQ(BuildCommentedReplay(nullptr, 100, text, 1, out), kCommentBadLayout);
    EXPECT_EQ(out.data, nullptr);
}

namespace {

// A file system in memory whose steps can be made to fail.
class FakeFileSystem : public IFileSystem {
public:
    enum Step { None, Create, Write, Flush, Replace };

    std::map<std::string, Bytes> files;
    std::map<std::string, bool> readOnly;
    Step failAt = None;
    std::vector<std::string> calls;
    bool tempExists = false;
    Bytes temp;

    FileState Probe(const char* path) noexcept override
    {
        calls.push_back("Probe");
        if (!files.count(path)) return FileState::Missing;
        return readOnly[path] ? FileState::ReadOnly : FileState::Writable;
    }
    bool Load(const char* path, smart_array<char>& buffer) noexcept override
    {
        calls.push_back("Load");
        auto it = files.find(path);
        if (it == files.end() || it->second.empty()) return false;
        char* block = new char[it->second.size()];
        std::memcpy(block, it->second.data(), it->second.size());
        return buffer.reset(block, uint32_t(it->second.size()));
    }
    bool CreateTemp(const char*) noexcept override
    {
        calls.push_back("CreateTemp");
        if (failAt == Create) return false;
        tempExists = true;
        temp.clear();
        return true;
    }
    bool WriteTemp(const char* bytes, uint32_t count) noexcept override
    {
        calls.push_back("WriteTemp");
        temp.append(bytes, failAt == Write ? count / 2 : count);
        return failAt != Write;
    }
    bool FlushTemp() noexcept override
    {
        calls.push_back("FlushTemp");
        return failAt != Flush;
    }
    bool ReplaceWithTemp(const char* path) noexcept override
    {
        calls.push_back("Replace");
        if (failAt == Replace) return false;
        files[path] = temp;
        tempExists = false;
        return true;
    }
    void DiscardTemp() noexcept override
    {
        calls.push_back("Discard");
        tempExists = false;
    }
};

}  // namespace

TEST(WriteComment, WritesThroughATemporaryFileAndRemovesItOnEveryFailure)
{
    const Bytes old = Replay("kvor", {Info(), Comment("old")}, 7);
    const Bytes text = Bytes("typed") + Bytes(1, '\0');

    FakeFileSystem fine;
    fine.files["r.rpy"] = old;
    CommentFault fault = CommentFault::WriteFailed;
    EXPECT_EQ(CKvoraRec().WriteComment("r.rpy", text.data(), int(text.size()), fine, &fault), kCommentWritten);
    EXPECT_EQ(fault, CommentFault::None);
    EXPECT_EQ(fine.files["r.rpy"], Replay("kvor", {Info()}, 7) + Section(1, text));
    EXPECT_EQ(fine.calls, (std::vector<std::string>{"Probe", "Load", "CreateTemp", "WriteTemp", "FlushTemp", "Replace"}));

    for (FakeFileSystem::Step step : {FakeFileSystem::Create, FakeFileSystem::Write, FakeFileSystem::Flush,
                                      FakeFileSystem::Replace}) {
        FakeFileSystem files;
        files.files["r.rpy"] = old;
        files.failAt = step;
        EXPECT_EQ(CKvoraRec().WriteComment("r.rpy", text.data(), int(text.size()), files, &fault), kCommentNotWritten)
            << step;
        EXPECT_EQ(fault, CommentFault::WriteFailed);
        EXPECT_EQ(files.files["r.rpy"], old) << step;
        EXPECT_FALSE(files.tempExists) << step;
        EXPECT_EQ(files.calls.back(), "Discard") << step;
    }
}

TEST(WriteComment, RefusesBeforeAnyTemporaryFileIsMade)
{
    struct Case {
        const char* name;
        Bytes bytes;
        bool readOnly;
        int result;
        CommentFault fault;
    };
    const Case cases[] = {
        {"read-only", Replay("kvor", {Info(), Comment("c")}), true, kCommentNotWritten, CommentFault::ReadOnly},
        {"other game", Replay("mirl", {Info(), Comment("c")}), false, kCommentNotAReplay, CommentFault::NotThisGame},
        {"short", Bytes("kvor1234"), false, kCommentNotAReplay, CommentFault::NotThisGame},
        {"empty", Bytes(), false, kCommentNotAReplay, CommentFault::Unreadable},
        {"bad length", Replay("kvor", {Section(0, "i"), Bytes("USER\x05\0\0\0\x01\0\0\0", 12)}), false,
         kCommentNotAReplay, CommentFault::NotThisGame},
    };
    const char text[] = "t";
    for (const Case& c : cases) {
        FakeFileSystem files;
        files.files["r.rpy"] = c.bytes;
        files.readOnly["r.rpy"] = c.readOnly;
        CommentFault fault = CommentFault::None;
        EXPECT_EQ(CKvoraRec().WriteComment("r.rpy", text, 2, files, &fault), c.result) << c.name;
        EXPECT_EQ(fault, c.fault) << c.name;
        EXPECT_EQ(files.files["r.rpy"], c.bytes) << c.name;
        for (const std::string& call : files.calls) EXPECT_NE(call, "CreateTemp") << c.name;
    }

    FakeFileSystem none;
    CommentFault fault = CommentFault::None;
    EXPECT_EQ(CKvoraRec().WriteComment("gone.rpy", text, 2, none, &fault), kCommentNotAReplay);
    EXPECT_EQ(fault, CommentFault::Vanished);
    EXPECT_EQ(CKvoraRec().WriteComment("gone.rpy", text, -1, none), kCommentNotAReplay);
    EXPECT_EQ(CKvoraRec().WriteComment(nullptr, text, 2, none), kCommentNotAReplay);
    EXPECT_TRUE(none.files.empty());
}
