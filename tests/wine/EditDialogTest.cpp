// The comment editor of every replay plug-in, end to end: EditDialog runs
// the real dialog on the test's thread while a helper thread finds it, checks
// what it shows, types, and presses its buttons; the test then checks the
// result and the file on disk byte for byte. The write-back's steps are also
// made to fail one by one on the real file system.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/PluginExports.h"
#include "replay/WindowsFileSystem.h"
#include "tools/games/GameFiles.h"
#include "tools/games/GameReaders.h"
#include "wine/DialogDriver.h"
#include "wine/ImportHook.h"
#include "wine/PluginHost.h"

using namespace testing_support;
using namespace dialog_driver;
using games::Game;

namespace {

// "夜明けの一面、ノーミス。" and "二行目のコメント"
const char kJapanese[] = "\x96\xE9\x96\xBE\x82\xAF\x82\xCC\x88\xEA\x96\xCA\x81\x41\x83\x6D\x81\x5B\x83\x7E\x83\x58\x81\x42";
const char kJapanese2[] = "\x93\xF1\x8D\x73\x96\xDA\x82\xCC\x83\x52\x83\x81\x83\x93\x83\x67";
// "ＭＳ ゴシック"
const char kFontFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
// "コメントを保存できませんでした。" and the reasons behind it.
const char kNotSaved[] = "\x83\x52\x83\x81\x83\x93\x83\x67\x82\xF0\x95\xDB\x91\xB6\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1"
                         "\x82\xC5\x82\xB5\x82\xBD\x81\x42";
const char kReadOnly[] = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x93\xC7\x82\xDD\x8E\xE6\x82\xE8\x90\xEA\x97\x70\x82\xC5"
                         "\x82\xB7\x81\x42";  // ファイルが読み取り専用です。
const char kVanished[] = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1"
                         "\x81\x42";  // ファイルが見つかりません。
const char kNotThisGame[] = "\x82\xB1\x82\xCC\x83\x51\x81\x5B\x83\x80\x82\xCC\x83\x8A\x83\x76\x83\x8C\x83\x43\x83\x74\x83\x40"
                            "\x83\x43\x83\x8B\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42";
                            // このゲームのリプレイファイルではありません。

// "漾", "あ" and "黑": lead bytes from both ranges, 0x81-0x9F and 0xE0-0xFC.
const Bytes kUpperAndLower = "\xE0\x40\x82\xA0\xFC\x4B";

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

Bytes Repeat(const Bytes& piece, size_t times)
{
    Bytes out;
    for (size_t i = 0; i < times; ++i) out += piece;
    return out;
}

class EditDialogTest : public ::testing::TestWithParam<Game> {
protected:
    EditDialogTest() : plugin(GetParam().plugin) {}

    void SetUp() override
    {
        ASSERT_TRUE(plugin.module) << host::PluginPath(GetParam().plugin);
        editDialog = plugin.exports.EditDialog;
        ASSERT_NE(editDialog, nullptr);
    }

    Bytes Magic() const { return GetParam().Magic(); }
    Bytes Head() const { return ReplayOf(GetParam(), {}, 24); }
    Bytes File(const std::vector<Bytes>& sections) const { return ReplayOf(GetParam(), sections, 24); }
    int Run(const std::string& path, const std::function<void(const Dialog&)>& script, HWND parent = nullptr)
    {
        return RunDialog([&] { return editDialog(parent, path.c_str()); }, script);
    }

    host::Plugin plugin;
    EditDialogFn editDialog = nullptr;
    host::TempDir dir;
};

TEST_P(EditDialogTest, ShowsTheCommentAndOkStoresWhatWasTyped)
{
    const Bytes info = Info();
    const std::string path = dir.Write("edit.rpy", File({info, Comment(kJapanese)}));

    const HWND host = CreateWindowA("STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    HFONT font = nullptr;
    const int result = Run(path, [&](const Dialog& dialog) {
        EXPECT_FALSE(IsWindowEnabled(host)) << "the host window is disabled while the dialog is up";
        wchar_t title[32] = {};
        GetWindowTextW(dialog.window, title, 32);
        EXPECT_EQ(std::wstring(title), L"\u30B3\u30E1\u30F3\u30C8\u306E\u7DE8\u96C6");  // コメントの編集
        EXPECT_EQ(dialog.Text(), kJapanese);
        EXPECT_EQ(SendMessageA(dialog.Edit(), EM_GETLIMITTEXT, 0, 0), 30000);
        GUITHREADINFO focus = {sizeof focus};
        ASSERT_TRUE(GetGUIThreadInfo(dialog.thread, &focus));
        EXPECT_EQ(focus.hwndFocus, dialog.Edit()) << "the edit control has the focus";

        font = reinterpret_cast<HFONT>(SendMessageA(dialog.Edit(), WM_GETFONT, 0, 0));
        LOGFONTA face = {};
        ASSERT_EQ(GetObjectA(font, sizeof face, &face), int(sizeof face));
        EXPECT_STREQ(face.lfFaceName, kFontFace);
        EXPECT_EQ(face.lfHeight, 14);
        EXPECT_EQ(face.lfWeight, FW_NORMAL);
        EXPECT_EQ(face.lfCharSet, SHIFTJIS_CHARSET);

        dialog.SelectAll();
        dialog.Type("Line one\rLine two");
        SendMessageA(dialog.Edit(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kJapanese2));
        dialog.Press(IDOK);
    }, host);
    EXPECT_TRUE(IsWindowEnabled(host));
    DestroyWindow(host);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(host::ReadBytes(path), Head() + info + Comment(std::string("Line one\r\nLine two") + kJapanese2));
    EXPECT_EQ(GetObjectType(font), 0u) << "the font is deleted once the dialog has ended";
}

TEST_P(EditDialogTest, CancelEscapeAndTheCloseBoxLeaveTheFileAlone)
{
    const Bytes file = File({Comment("kept"), Info()});
    const std::string path = dir.Write("edit.rpy", file);
    const std::vector<std::function<void(const Dialog&)>> endings = {
        [](const Dialog& d) { d.Press(IDCANCEL); },
        [](const Dialog& d) { d.PressEscape(); },
        [](const Dialog& d) { d.CloseBox(); },
    };
    for (size_t i = 0; i < endings.size(); ++i) {
        EXPECT_EQ(Run(path, [&](const Dialog& dialog) {
            dialog.SelectAll();
            dialog.Type("thrown away");
            endings[i](dialog);
        }), 1) << "ending " << i;
        EXPECT_EQ(host::ReadBytes(path), file) << "ending " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Games, EditDialogTest, ::testing::ValuesIn(games::Replays()),
                         [](const auto& info) { return std::string(info.param.plugin); });

// The cases below do not depend on the game.
class EditDialogCases : public EditDialogTest {};

TEST_P(EditDialogCases, CommentSizes)
{
    const Bytes info = Info();
    // An empty control stores the NUL alone: length 13.
    const std::string empty = dir.Write("empty.rpy", File({info, Comment("old")}));
    EXPECT_EQ(Run(empty, [](const Dialog& d) {
        d.SetText("");
        d.Press(IDOK);
    }), 0);
    const Bytes emptyFile = host::ReadBytes(empty);
    EXPECT_EQ(emptyFile, Head() + info + Section(1, Bytes(1, '\0')));
    EXPECT_EQ(emptyFile.substr(Head().size() + info.size() + 4, 4), Bytes("\x0D\0\0\0", 4));

    // Typing stops at 30000 bytes, and all of them are stored: length 30013.
    const std::string full = dir.Write("full.rpy", File({info, Comment("")}));
    EXPECT_EQ(Run(full, [](const Dialog& d) {
        const std::string typed(30001, 'k');
        SendMessageA(d.Edit(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(typed.c_str()));
        EXPECT_EQ(GetWindowTextLengthA(d.Edit()), 30000);
        d.Press(IDOK);
    }), 0);
    const Bytes fullFile = host::ReadBytes(full);
    EXPECT_EQ(fullFile, Head() + info + Comment(Bytes(30000, 'k')));
    EXPECT_EQ(fullFile.substr(Head().size() + info.size() + 4, 4), Bytes("\x3D\x75\0\0", 4));

    // A longer stored comment is shown whole; OK keeps its first 30000 bytes.
    Bytes stored;
    for (int i = 0; stored.size() < 30500; ++i) stored += "line " + std::to_string(i) + "\r\n";
    stored.resize(30500);
    const std::string longer = dir.Write("long.rpy", File({info, Comment(stored)}));
    EXPECT_EQ(Run(longer, [&](const Dialog& d) {
        EXPECT_EQ(d.Text(), stored);
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(host::ReadBytes(longer), Head() + info + Comment(stored.substr(0, 30000)));

    // The cut falls on a whole character: never a lone lead byte before the
    // NUL, whichever range the lead byte is from.
    for (const char* character : {"\xE0\x40", "\x82\xA0", "\xFC\x4B"}) {
        const Bytes straddling = Bytes(29999, 'a') + character + Bytes(500, 'b');
        const std::string cut = dir.Write("cut.rpy", File({info, Comment(straddling)}));
        EXPECT_EQ(Run(cut, [&](const Dialog& d) {
            EXPECT_EQ(d.Text(), straddling);
            d.Press(IDOK);
        }), 0);
        EXPECT_EQ(host::ReadBytes(cut), Head() + info + Comment(Bytes(29999, 'a')));
    }

    // A stored comment of 48000 bytes of Japanese is shown whole, read whole,
    // and stored as its first 30000 bytes.
    const Bytes japanese = Repeat(kUpperAndLower, 8000);
    const std::string wide = dir.Write("wide.rpy", File({info, Comment(japanese)}));
    EXPECT_EQ(Run(wide, [&](const Dialog& d) {
        EXPECT_EQ(d.Text(), japanese);
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(host::ReadBytes(wide), Head() + info + Comment(japanese.substr(0, 30000)));
}

// Japanese text, as an input method hands it to the dialog and as it is
// pasted, stops at 30000 bytes: where the edit control counts characters
// (under Wine) it would take twice that.
TEST_P(EditDialogCases, JapaneseTypingStopsAt30000Bytes)
{
    const Bytes info = Info();
    const std::string path = dir.Write("japanese.rpy", File({info, Comment("")}));
    const Bytes paste = Repeat(kUpperAndLower, 4000);   // 24000 bytes of Japanese, 12000 characters
    EXPECT_EQ(Run(path, [&](const Dialog& d) {
        d.Paste(paste + paste);
        EXPECT_EQ(GetWindowTextLengthA(d.Edit()), 30000);
        EXPECT_EQ(d.Text(), (paste + paste).substr(0, 30000));
        d.TypeJapanese("z\xE0\x40");   // no room for either
        EXPECT_EQ(d.Text(), (paste + paste).substr(0, 30000));
        d.Type("\b");                    // the last character, two bytes
        d.TypeJapanese("a\xFC\x4B" "b");  // room for "a" and "b" only
        EXPECT_EQ(d.Text(), (paste + paste).substr(0, 29998) + "ab");
        d.Press(IDOK);
    }), 0);
    const Bytes stored = host::ReadBytes(path);
    EXPECT_EQ(stored, Head() + info + Comment((paste + paste).substr(0, 29998) + "ab"));
    EXPECT_EQ(stored.substr(Head().size() + info.size() + 4, 4), Bytes("\x3D\x75\0\0", 4));

    // Pasted in the middle: what fits goes in there, whole characters only,
    // the rest of the text stays behind it, and typing goes on at the caret.
    const std::string middle = dir.Write("middle.rpy", File({info, Comment("")}));
    const Bytes around = Bytes(10, 'h') + Bytes(29985, 't');   // 5 bytes of room
    EXPECT_EQ(Run(middle, [&](const Dialog& d) {
        d.Paste(around);
        SendMessageA(d.Edit(), EM_SETSEL, 10, 10);
        d.Paste(kUpperAndLower);   // "漾" and "あ" fit, "黑" does not
        EXPECT_EQ(d.Text(), Bytes(10, 'h') + kUpperAndLower.substr(0, 4) + Bytes(29985, 't'));
        d.Type("\bZ");             // "あ" goes, "Z" comes at its place
        EXPECT_EQ(d.Text(), Bytes(10, 'h') + kUpperAndLower.substr(0, 2) + "Z" + Bytes(29985, 't'));
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(host::ReadBytes(middle),
              Head() + info + Comment(Bytes(10, 'h') + kUpperAndLower.substr(0, 2) + "Z" + Bytes(29985, 't')));
}

TEST_P(EditDialogCases, OldLayoutsAreRewrittenWithTheInformationFirst)
{
    const Bytes info = Info("Name Someone\r\n");
    // Comment section first: the information section moves to the front.
    const std::string first = dir.Write("first.rpy", File({Comment("was first"), info}));
    EXPECT_EQ(Run(first, [](const Dialog& d) {
        EXPECT_EQ(d.Text(), "was first");
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(host::ReadBytes(first), Head() + info + Comment("was first"));

    // Bytes behind the second section are dropped.
    const std::string behind = dir.Write("behind.rpy", File({info, Comment("c"), Bytes("\x01\x02tail bytes")}));
    EXPECT_EQ(Run(behind, [](const Dialog& d) { d.Press(IDOK); }), 0);
    EXPECT_EQ(host::ReadBytes(behind), Head() + info + Comment("c"));

    // No comment section yet: the first comment is added behind the
    // information section.
    const std::string none = dir.Write("none.rpy", File({info}));
    EXPECT_EQ(Run(none, [](const Dialog& d) {
        EXPECT_EQ(d.Text(), "");
        d.Type("first words");
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(host::ReadBytes(none), Head() + info + Comment("first words"));

    // A stored comment without its NUL is shown up to its section's end.
    const std::string bare = dir.Write("bare.rpy", File({info, Section(1, "no terminator")}));
    EXPECT_EQ(Run(bare, [](const Dialog& d) {
        EXPECT_EQ(d.Text(), "no terminator");
        d.Press(IDCANCEL);
    }), 1);
}

// A replay whose sections beside the information hold no comment the plug-in
// reads: the editor opens empty, and OK stores a comment that the plug-in
// reads back, the information first and the other section kept behind it.
TEST_P(EditDialogCases, ASectionThatIsNotTheCommentIsKeptBehindTheNewOne)
{
    const Bytes info = Info();
    const Bytes five = Section(5, "unknown"), tagged = Section(1, "tagged", "ABCD"), second = Info("Name Second\r\n");
    const struct {
        std::vector<Bytes> sections;
        Bytes kept;
    } shapes[] = {{{info, five}, five}, {{info, tagged}, tagged}, {{info, second}, second}, {{five, info}, five}};
    const PluginExportTable& exports = plugin.exports;
    for (const auto& shape : shapes) {
        const std::string path = dir.Write("kvora_01.rpy", File(shape.sections));
        EXPECT_EQ(Run(path, [](const Dialog& d) {
            EXPECT_EQ(d.Text(), "");
            d.Type("mine");
            d.Press(IDOK);
        }), 0) << shape.kept;
        EXPECT_EQ(host::ReadBytes(path), Head() + info + Comment("mine") + shape.kept);
        host::Block comment, row;
        EXPECT_EQ(exports.GetFileInfoText2(path.c_str(), 0, &comment.handle), 0) << shape.kept;
        EXPECT_EQ(std::string(comment.Bytes(), comment.Size()).c_str(), std::string("mine"));
        EXPECT_EQ(exports.GetFileInfoList(path.c_str(), 0, &row.handle), 0) << shape.kept;
    }
}

TEST_P(EditDialogCases, OkWorksOnTheFileAsItIsWhenOkIsPressed)
{
    const std::string path = dir.Write("changing.rpy", File({Info("Name Before\r\n"), Comment("before")}));
    const Bytes now = File({Info("Name After the game wrote it again\r\n"), Comment("after")});
    EXPECT_EQ(Run(path, [&](const Dialog& d) {
        EXPECT_EQ(d.Text(), "before");
        dir.Write("changing.rpy", now);
        d.SetText("mine");
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(host::ReadBytes(path), File({Info("Name After the game wrote it again\r\n"), Comment("mine")}));
}

// The editor's own reading of the control's text, made to fail.
int WINAPI GetWindowTextFails(HWND, LPSTR buffer, int size)
{
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
}

// OK never stores an empty comment for a control that holds text: when the
// text cannot be read, the save fails and says so, and the file is left alone.
TEST_P(EditDialogCases, ATextThatCannotBeReadIsNotStoredEmpty)
{
    const Bytes file = File({Info(), Comment("kept")});
    const std::string path = dir.Write("unread.rpy", file);
    EXPECT_EQ(Run(path, [&](const Dialog& d) {
        d.CaretToEnd();
        d.Type(" and typed");
        {
            const host::ImportHook failing(plugin.module, "USER32.dll", "GetWindowTextA",
                                           reinterpret_cast<const void*>(&GetWindowTextFails));
            ASSERT_TRUE(failing.Installed());
            d.Press(IDOK);
            const std::string message = d.DismissMessageBox();
            EXPECT_TRUE(Contains(message, kNotSaved)) << message;
        }
        EXPECT_EQ(d.Text(), "kept and typed");
        d.Press(IDCANCEL);
    }), 1);
    EXPECT_EQ(host::ReadBytes(path), file);
}

// A failed save keeps the dialog open, with the text as typed, and says why
// in a message box owned by the dialog; the user can then try again.
TEST_P(EditDialogCases, FailedSavesSayWhyAndKeepTheText)
{
    const Bytes file = File({Info(), Comment("original")});

    // The file vanishes while the dialog is up, then comes back.
    const std::string vanishing = dir.Write("vanishing.rpy", file);
    EXPECT_EQ(Run(vanishing, [&](const Dialog& d) {
        d.SetText("typed text");
        ASSERT_TRUE(DeleteFileA(vanishing.c_str()));
        d.Press(IDOK);
        const std::string message = d.DismissMessageBox();
        EXPECT_TRUE(Contains(message, kNotSaved)) << message;
        EXPECT_TRUE(Contains(message, kVanished)) << message;
        EXPECT_TRUE(IsWindow(d.window));
        EXPECT_EQ(d.Text(), "typed text");
        EXPECT_EQ(GetFileAttributesA(vanishing.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was written";
        dir.Write("vanishing.rpy", file);
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(host::ReadBytes(vanishing), Head() + Info() + Comment("typed text"));

    // Read-only: not written, still read-only.
    const std::string locked = dir.Write("readonly.rpy", file);
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Run(locked, [&](const Dialog& d) {
        d.CaretToEnd();
        d.Type(" and more");
        d.Press(IDOK);
        const std::string message = d.DismissMessageBox();
        EXPECT_TRUE(Contains(message, kReadOnly)) << message;
        EXPECT_EQ(d.Text(), "original and more");
        d.Press(IDCANCEL);
    }), 1);
    EXPECT_EQ(host::ReadBytes(locked), file);
    EXPECT_NE(GetFileAttributesA(locked.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    // Another game's replay (another magic, where there is no other replay
    // game), and a replay whose sections run past its end.
    Bytes theirs = Magic().substr(0, 3) + char(Magic()[3] ^ 1);
    for (const Game& other : games::Replays())
        if (other.Magic() != Magic()) theirs = other.Magic();
    const Bytes foreign = Replay(theirs.c_str(), {Info(), Comment("theirs")});
    Bytes broken = file;
    SetU32(broken, Head().size() + Info().size() + 4, 0x7FFFFFFF);
    for (const Bytes& bytes : {foreign, broken}) {
        const std::string path = dir.Write("other.rpy", bytes);
        EXPECT_EQ(Run(path, [&](const Dialog& d) {
            d.SetText("not for them");
            d.Press(IDOK);
            const std::string message = d.DismissMessageBox();
            EXPECT_TRUE(Contains(message, kNotThisGame)) << message;
            EXPECT_EQ(d.Text(), "not for them");
            d.CloseBox();
        }), 1);
        EXPECT_EQ(host::ReadBytes(path), bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(OneGame, EditDialogCases, ::testing::Values(games::Replays().front()),
                         [](const auto& info) { return std::string(info.param.plugin); });

// The write-back with each of its steps made to fail on the real disk.
class FailingFileSystem : public IFileSystem {
public:
    enum Step { Nothing, Read, Create, Write, Flush, Replace };
    explicit FailingFileSystem(Step step) : m_step(step) {}

    bool FullPath(const char* path, smart_array<char>& full) noexcept override
    {
        return m_real.FullPath(path, full);
    }
    FileState Probe(const char* path) noexcept override { return m_real.Probe(path); }
    bool Load(const char* path, smart_array<char>& buffer) noexcept override
    {
        return m_step != Read && m_real.Load(path, buffer);
    }
    bool CreateTemp(const char* path) noexcept override { return m_step != Create && m_real.CreateTemp(path); }
    bool WriteTemp(const char* bytes, uint32_t count) noexcept override
    {
        if (m_step != Write) return m_real.WriteTemp(bytes, count);
        m_real.WriteTemp(bytes, count / 2);   // comes up short
        return false;
    }
    bool FlushTemp() noexcept override { return m_real.FlushTemp() && m_step != Flush; }
    bool ReplaceWithTemp(const char* path) noexcept override { return m_step != Replace && m_real.ReplaceWithTemp(path); }
    void DiscardTemp() noexcept override { m_real.DiscardTemp(); }

protected:
    Step m_step;
    WindowsFileSystem m_real;
};

// The host's other threads may change the current folder at any time.
class FolderChangingFileSystem : public FailingFileSystem {
public:
    explicit FolderChangingFileSystem(const std::string& folder) : FailingFileSystem(Nothing), m_folder(folder) {}
    bool Load(const char* path, smart_array<char>& buffer) noexcept override
    {
        const bool loaded = m_real.Load(path, buffer);
        SetCurrentDirectoryA(m_folder.c_str());
        return loaded;
    }

private:
    std::string m_folder;
};

std::vector<std::string> FilesIn(const host::TempDir& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA(dir.Path("*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (std::strcmp(entry.cFileName, ".") && std::strcmp(entry.cFileName, "..")) names.push_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

TEST(WriteCommentOnDisk, EveryFailingStepLeavesTheReplayAsItWas)
{
    host::TempDir dir;
    const Bytes original = Replay("kvor", {Comment("old"), Info()}, 100);
    const std::string path = dir.Write("kvora_01.rpy", original);
    const char text[] = "new";
    for (FailingFileSystem::Step step : {FailingFileSystem::Create, FailingFileSystem::Write, FailingFileSystem::Flush,
                                         FailingFileSystem::Replace}) {
        FailingFileSystem files(step);
        CommentFault fault = CommentFault::None;
        EXPECT_EQ(CKvoraRec().WriteComment(path.c_str(), text, 4, files, &fault), 3) << step;
        EXPECT_EQ(fault, CommentFault::WriteFailed) << step;
        EXPECT_EQ(host::ReadBytes(path), original) << step;
        EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"kvora_01.rpy"}) << "temporary file left, step " << step;
    }

    // The fresh read fails: nothing is created, and the user is told why.
    FailingFileSystem unreadable(FailingFileSystem::Read);
    CommentFault fault = CommentFault::None;
    EXPECT_EQ(CKvoraRec().WriteComment(path.c_str(), text, 4, unreadable, &fault), 2);
    EXPECT_EQ(fault, CommentFault::Unreadable);
    EXPECT_EQ(host::ReadBytes(path), original);
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"kvora_01.rpy"});

    FailingFileSystem works(FailingFileSystem::Nothing);
    EXPECT_EQ(CKvoraRec().WriteComment(path.c_str(), text, 4, works), 0);
    EXPECT_EQ(host::ReadBytes(path), Replay("kvor", {Info(), Comment("new")}, 100));
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"kvora_01.rpy"});
}

// Another program's handle on the replay, closed when the rename first finds
// the replay busy: the rename is then tried again, whatever the timing.
HANDLE g_heldReplay = INVALID_HANDLE_VALUE;
int g_busyRenames = 0;

BOOL WINAPI MoveFileExLettingGo(LPCSTR from, LPCSTR to, DWORD flags)
{
    using MoveFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    static const auto real = reinterpret_cast<MoveFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "MoveFileExA")));
    const BOOL moved = real(from, to, flags);
    const DWORD error = GetLastError();
    if (!moved && g_heldReplay != INVALID_HANDLE_VALUE) {
        ++g_busyRenames;
        CloseHandle(g_heldReplay);
        g_heldReplay = INVALID_HANDLE_VALUE;
    }
    SetLastError(error);
    return moved;
}

TEST(WriteCommentOnDisk, RelativeNamesAndABusyReplay)
{
    host::TempDir dir;
    const Bytes original = Replay("kvor", {Info(), Comment("old")});
    dir.Write("kvora_02.rpy", original);
    // A replay of the same name in another folder, which becomes the current
    // one while the write-back runs: the relative name still means the first.
    host::TempDir other;
    const Bytes theirs = Replay("kvor", {Info("Name Other\r\n"), Comment("theirs")});
    other.Write("kvora_02.rpy", theirs);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Root().c_str()));
    FolderChangingFileSystem changing(other.Root());
    const int relative = CKvoraRec().WriteComment("kvora_02.rpy", "rel", 4, changing);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(relative, 0);
    EXPECT_EQ(host::ReadBytes(dir.Path("kvora_02.rpy")), Replay("kvor", {Info(), Comment("rel")}));
    EXPECT_EQ(host::ReadBytes(other.Path("kvora_02.rpy")), theirs);
    EXPECT_EQ(FilesIn(other), std::vector<std::string>{"kvora_02.rpy"});

    // Held open by another program that lets go a moment later.
    const std::string path = dir.Path("kvora_02.rpy");
    g_heldReplay = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(g_heldReplay, INVALID_HANDLE_VALUE);
    g_busyRenames = 0;
    int busy = -1;
    {
        const host::ImportHook lettingGo(GetModuleHandleA(nullptr), "KERNEL32.dll", "MoveFileExA",
                                         reinterpret_cast<const void*>(&MoveFileExLettingGo));
        ASSERT_TRUE(lettingGo.Installed());
        busy = CKvoraRec().WriteComment(path.c_str(), "busy", 5);
    }
    if (g_heldReplay != INVALID_HANDLE_VALUE) CloseHandle(g_heldReplay);
    EXPECT_EQ(g_busyRenames, 1) << "the held replay did not stop the first rename";
    EXPECT_EQ(busy, 0);
    EXPECT_EQ(host::ReadBytes(path), Replay("kvor", {Info(), Comment("busy")}));
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"kvora_02.rpy"});
}

}  // namespace
