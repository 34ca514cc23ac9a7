// The comment editor end to end, and the write-back's steps failing one by
// one on the real file system (the layouts are tested natively).
#include <windows.h>

#include <gtest/gtest.h>

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
using host::ReadBytes;

namespace {

// What a failed save says, and why.
const std::wstring kNotSaved = L"コメントを保存できませんでした。", kReadOnly = L"ファイルが読み取り専用です。";
const std::wstring kVanished = L"ファイルが見つかりません。", kNotThisGame = L"このゲームのリプレイファイルではありません。";
const std::wstring kBadLayout = L"このリプレイファイルの構造は書き換えられません。";
const std::wstring kFolder = L"フォルダはリプレイファイルではありません。";
// "漾", "あ" and "黑": lead bytes from both ranges, 0x81-0x9F and 0xE0-0xFC.
const Bytes kUpperAndLower = "\xE0\x40\x82\xA0\xFC\x4B";
const Bytes kJapanese48000 = [] { Bytes text; for (int i = 0; i < 8000; ++i) text += kUpperAndLower; return text; }();

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class EditDialogTest : public ::testing::TestWithParam<Game> {
protected:
    EditDialogTest() : plugin(GetParam().plugin) {}
    void SetUp() override { ASSERT_TRUE(editDialog) << host::PluginPath(GetParam().plugin); }

    Bytes File(const std::vector<Bytes>& sections) const { return ReplayOf(GetParam(), sections, 24); }
    // The replay as OK writes it: the information section, then the comment.
    Bytes Saved(const Bytes& comment, const Bytes& info = Info()) const { return File({info, Comment(comment)}); }
    int Run(const std::string& path, const std::function<void(const Dialog&)>& script, HWND parent = nullptr)
    {
        return RunDialog([&] { return editDialog(parent, path.c_str()); }, script);
    }

    host::Plugin plugin;
    const EditDialogFn editDialog = plugin.exports.EditDialog;
    host::TempDir dir;
};

// OK stores what was typed; Cancel, Esc, the close box and a bad parent
// leave the file alone.
TEST_P(EditDialogTest, OkStoresWhatWasTypedAndNothingElseDoes)
{
    const std::string path = dir.Write("edit.rpy", File({Comment(kUpperAndLower), Info()}));
    const HWND host = CreateWindowA("STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                    nullptr);
    HFONT font = nullptr;
    EXPECT_EQ(Run(path, [&](const Dialog& dialog) {
        EXPECT_FALSE(IsWindowEnabled(host)) << "the host window is disabled while the dialog is up";
        wchar_t title[32] = {};
        GetWindowTextW(dialog.window, title, 32);
        EXPECT_EQ(std::wstring(title), L"コメントの編集");
        EXPECT_EQ(dialog.Text(), kUpperAndLower);
        EXPECT_EQ(SendMessageA(dialog.Edit(), EM_GETLIMITTEXT, 0, 0), 30000);
        GUITHREADINFO focus = {sizeof focus};
        EXPECT_TRUE(GetGUIThreadInfo(dialog.thread, &focus) && focus.hwndFocus == dialog.Edit())
            << "the edit control has the focus";
        font = reinterpret_cast<HFONT>(SendMessageA(dialog.Edit(), WM_GETFONT, 0, 0));
        LOGFONTW face = {};
        EXPECT_EQ(GetObjectW(font, sizeof face, &face), int(sizeof face));
        EXPECT_STREQ(face.lfFaceName, L"ＭＳ ゴシック");
        EXPECT_TRUE(face.lfHeight == 14 && face.lfWeight == FW_NORMAL && face.lfCharSet == SHIFTJIS_CHARSET);
        dialog.Select(0, -1);
        dialog.Type("Line one\rLine two");
        dialog.Paste(kUpperAndLower);
        dialog.Press(IDOK);
    }, host), 0);
    EXPECT_TRUE(IsWindowEnabled(host));
    DestroyWindow(host);
    const Bytes saved = Saved("Line one\r\nLine two" + kUpperAndLower);
    EXPECT_EQ(ReadBytes(path), saved);
    EXPECT_EQ(GetObjectType(font), 0u) << "the font is deleted once the dialog has ended";

    const std::function<void(const Dialog&)> endings[] = {
        [](const Dialog& d) { d.Press(IDCANCEL); },
        [](const Dialog& d) { d.PressEscape(); },
        [](const Dialog& d) { d.CloseBox(); },
    };
    for (const auto& ending : endings) {
        EXPECT_EQ(Run(path, [&](const Dialog& dialog) {
            dialog.Select(0, -1);
            dialog.Type("thrown away");
            ending(dialog);
        }), 1);
        EXPECT_EQ(ReadBytes(path), saved);
    }
    EXPECT_EQ(editDialog(HWND(0x7), path.c_str()), 1) << "not a window: no dialog";
    EXPECT_EQ(ReadBytes(path), saved);
}

INSTANTIATE_TEST_SUITE_P(Games, EditDialogTest, ::testing::ValuesIn(games::Replays()),
                         [](const auto& info) { return std::string(info.param.plugin); });

// The cases below do not depend on the game.
class EditDialogCases : public EditDialogTest {};

// What is shown of a stored comment, and what OK stores: at most 30000
// bytes, cut on a whole character.
TEST_P(EditDialogCases, CommentSizes)
{
    const Bytes straddling = Bytes(29999, 'a') + "\xE0\x40" + "b";
    const struct {
        const char* what;
        Bytes section, shown, saved;
    } cases[] = {
        {"stored without its NUL", Section(1, "no terminator"), "no terminator", "no terminator"},
        {"stored longer, 48000 bytes", Comment(kJapanese48000), kJapanese48000, kJapanese48000.substr(0, 30000)},
        {"a character across the limit", Comment(straddling), straddling, Bytes(29999, 'a')},
        {"emptied", Comment("old"), "old", ""},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write("sizes.rpy", File({Info(), c.section}));
        EXPECT_EQ(Run(path, [&](const Dialog& d) {
            EXPECT_EQ(d.Text(), c.shown) << c.what;
            if (c.saved.empty()) d.SetText("");
            d.Press(IDOK);
        }), 0) << c.what;
        EXPECT_EQ(ReadBytes(path), Saved(c.saved)) << c.what;
    }
}

// Japanese text stops at 30000 bytes where the control counts characters.
TEST_P(EditDialogCases, JapaneseTypingStopsAt30000Bytes)
{
    const std::string path = dir.Write("japanese.rpy", File({Info(), Comment("")}));
    const Bytes& paste = kJapanese48000;
    const Bytes typed = Bytes(10, 'h') + kUpperAndLower.substr(0, 2) + "Z" + Bytes(29985, 't');
    EXPECT_EQ(Run(path, [&](const Dialog& d) {
        d.Paste(paste);
        EXPECT_EQ(d.Text(), paste.substr(0, 30000));
        d.Select(0, -1);
        d.Paste(Bytes(10, 'h') + Bytes(29985, 't'));   // 5 bytes of room
        d.Select(10, 10);
        d.Paste(kUpperAndLower);   // "漾" and "あ" fit, "黑" does not
        EXPECT_EQ(d.Text(), Bytes(10, 'h') + kUpperAndLower.substr(0, 4) + Bytes(29985, 't'));
        d.Type("\bZ");             // "あ" goes, "Z" comes at its place
        EXPECT_EQ(d.Text(), typed);
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(ReadBytes(path), Saved(typed));
}

int WINAPI GetWindowTextFails(HWND, LPSTR buffer, int size)
{
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
}

// A failed save says why and keeps the dialog and its text; OK may be tried again.
TEST_P(EditDialogCases, FailedSavesSayWhyAndKeepTheText)
{
    // Gone while the dialog is up, then written anew: OK reads it afresh.
    const Bytes file = File({Info(), Comment("original")}), after = Info("Name After the game wrote it again\r\n");
    const std::string vanishing = dir.Write("vanishing.rpy", file);
    EXPECT_EQ(Run(vanishing, [&](const Dialog& d) {
        d.SetText("typed text");
        ASSERT_TRUE(DeleteFileA(vanishing.c_str()));
        d.Press(IDOK);
        const std::wstring message = d.DismissMessageBox();
        EXPECT_TRUE(Contains(message, kNotSaved) && Contains(message, kVanished)) << message;
        EXPECT_EQ(d.Text(), "typed text");
        EXPECT_FALSE(host::Exists(vanishing)) << "nothing was written";
        dir.Write("vanishing.rpy", File({after, Comment("after")}));
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(ReadBytes(vanishing), Saved("typed text", after));

    // A text that cannot be read is never stored as an empty comment.
    const Bytes magic = GetParam().Magic();
    Bytes theirs = magic.substr(0, 3) + char(magic[3] ^ 1);
    for (const Game& other : games::Replays())
        if (other.Magic() != magic) theirs = other.Magic();
    Bytes broken = file;
    SetU32(broken, 16 + 24 + Info().size() + 4, 0x7FFFFFFF);
    const struct {
        Bytes file;
        bool readOnly, unreadable;
        std::wstring why;
    } cases[] = {{file, true, false, kReadOnly},
                 {Replay(theirs.c_str(), {Info(), Comment("theirs")}), false, false, kNotThisGame},
                 {broken, false, false, kBadLayout},
                 {file, false, true, kNotSaved},
                 {"", false, false, kFolder}};
    for (const auto& c : cases) {
        const std::string path = c.file.empty() ? dir.Root() : dir.Write("failing.rpy", c.file);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL));
        EXPECT_EQ(Run(path, [&](const Dialog& d) {
            d.SetText("not saved");
            const host::ImportHook failing(c.unreadable ? plugin.module : nullptr, "USER32.dll", "GetWindowTextA",
                                           reinterpret_cast<const void*>(&GetWindowTextFails));
            EXPECT_EQ(failing.Installed(), c.unreadable);
            d.Press(IDOK);
            const std::wstring message = d.DismissMessageBox();
            EXPECT_TRUE(Contains(message, c.why)) << message;
            EXPECT_EQ(d.Text(), "not saved");
            d.CloseBox();
        }), 1) << c.why;
        if (!c.file.empty()) {
            EXPECT_EQ(ReadBytes(path), c.file) << c.why;
        }
        EXPECT_EQ((GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0, c.readOnly);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

// The host's other threads may change the current folder while the dialog is up.
TEST_P(EditDialogCases, OkWritesTheFileItShowed)
{
    host::TempDir other;
    const std::string shown = dir.Write("kvora_02.rpy", File({Info(), Comment("mine")}));
    const Bytes theirs = File({Info("Name Other\r\n"), Comment("theirs")});
    other.Write("kvora_02.rpy", theirs);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Root().c_str()));
    const int saved = Run("kvora_02.rpy", [&](const Dialog& d) {
        EXPECT_EQ(d.Text(), "mine");
        SetCurrentDirectoryA(other.Root().c_str());
        d.SetText("typed");
        d.Press(IDOK);
    });
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(ReadBytes(shown), Saved("typed"));
    EXPECT_EQ(ReadBytes(other.Path("kvora_02.rpy")), theirs);
}

INSTANTIATE_TEST_SUITE_P(OneGame, EditDialogCases, ::testing::Values(games::Replays().front()),
                         [](const auto& info) { return std::string(info.param.plugin); });

// The write-back on the real disk, each of its steps made to fail in turn.
class FailingFileSystem : public IFileSystem {
public:
    enum Step { Nothing, Read, Create, Write, Flush, Replace };
    explicit FailingFileSystem(Step step) : m_step(step) {}

    bool FullPath(const char* path, smart_array<char>& full) noexcept override { return m_real.FullPath(path, full); }
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
    bool ReplaceWithTemp(const char* path) noexcept override
    {
        return m_step != Replace && m_real.ReplaceWithTemp(path);
    }
    void DiscardTemp() noexcept override { m_real.DiscardTemp(); }

private:
    Step m_step;
    WindowsFileSystem m_real;
};

std::vector<std::string> FilesIn(const host::TempDir& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE find = FindFirstFileA(dir.Path("*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (entry.cFileName[0] != '.') names.push_back(entry.cFileName);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return names;
}

std::vector<DWORD> g_setAttributes;

// The system's own function, whatever the hooks put in this program's imports.
template <typename Function>
Function Kernel32(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

BOOL WINAPI GetFileAttributesExUnarchived(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data)
{
    const BOOL got = Kernel32<decltype(&GetFileAttributesExA)>("GetFileAttributesExA")(path, level, data);
    if (got) static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(data)->dwFileAttributes &= ~DWORD(FILE_ATTRIBUTE_ARCHIVE);
    return got;
}

BOOL WINAPI SetFileAttributesRecorded(LPCSTR path, DWORD attributes)
{
    g_setAttributes.push_back(attributes);
    return Kernel32<decltype(&SetFileAttributesA)>("SetFileAttributesA")(path, attributes);
}

TEST(WriteCommentOnDisk, EveryFailingStepLeavesTheReplayAsItWas)
{
    host::TempDir dir;
    const Bytes original = Replay("kvor", {Comment("old"), Info()}, 100);
    const std::string path = dir.Write("kvora_01.rpy", original);
    const std::vector<std::string> alone = {"kvora_01.rpy"};   // no temporary file left
    const struct {
        FailingFileSystem::Step step;
        int result;
        CommentFault fault;
    } steps[] = {{FailingFileSystem::Read, 2, CommentFault::Unreadable},
                 {FailingFileSystem::Create, 3, CommentFault::WriteFailed},
                 {FailingFileSystem::Write, 3, CommentFault::WriteFailed},
                 {FailingFileSystem::Flush, 3, CommentFault::WriteFailed},
                 {FailingFileSystem::Replace, 3, CommentFault::WriteFailed}};
    for (const auto& s : steps) {
        FailingFileSystem files(s.step);
        CommentFault fault = CommentFault::None;
        EXPECT_EQ(CKvoraRec().WriteComment(path.c_str(), "new", 4, files, &fault), s.result) << s.step;
        EXPECT_EQ(fault, s.fault) << s.step;
        EXPECT_EQ(ReadBytes(path), original) << s.step;
        EXPECT_EQ(FilesIn(dir), alone) << s.step;
    }
    // A backup program had cleared the archive attribute (Wine shows it set
    // on every file); the saved replay has it, and keeps being hidden.
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    g_setAttributes.clear();
    FailingFileSystem works(FailingFileSystem::Nothing);
    {
        const host::ImportHook unarchived(GetModuleHandleA(nullptr), "KERNEL32.dll", "GetFileAttributesExA",
                                          reinterpret_cast<const void*>(&GetFileAttributesExUnarchived));
        const host::ImportHook recording(GetModuleHandleA(nullptr), "KERNEL32.dll", "SetFileAttributesA",
                                         reinterpret_cast<const void*>(&SetFileAttributesRecorded));
        ASSERT_TRUE(unarchived.Installed() && recording.Installed());
        EXPECT_EQ(CKvoraRec().WriteComment(path.c_str(), "new", 4, works), 0);
    }
    EXPECT_EQ(g_setAttributes, std::vector<DWORD>{FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(ReadBytes(path), Replay("kvor", {Info(), Comment("new")}, 100));
    EXPECT_EQ(FilesIn(dir), alone);
}

// Another program's handle on the replay, closed at the first busy rename.
HANDLE g_heldReplay = INVALID_HANDLE_VALUE;
int g_busyRenames = 0;

BOOL WINAPI MoveFileExLettingGo(LPCSTR from, LPCSTR to, DWORD flags)
{
    const BOOL moved = Kernel32<decltype(&MoveFileExA)>("MoveFileExA")(from, to, flags);
    const DWORD error = GetLastError();
    if (!moved && g_heldReplay != INVALID_HANDLE_VALUE) {
        ++g_busyRenames;
        CloseHandle(g_heldReplay);
        g_heldReplay = INVALID_HANDLE_VALUE;
    }
    SetLastError(error);
    return moved;
}

TEST(WriteCommentOnDisk, ABusyReplayIsRenamedOnceLetGo)
{
    host::TempDir dir;
    dir.Write("kvora_02.rpy", Replay("kvor", {Info(), Comment("old")}));

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
    EXPECT_EQ(ReadBytes(path), Replay("kvor", {Info(), Comment("busy")}));
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"kvora_02.rpy"});
}

// Run in code page 1252 (plugin_tests_1252), where 0xE9 ("é") is no lead byte.
TEST(CodePage1252, PathsAreWalkedInTheProcesssCodePage)
{
    ASSERT_EQ(GetACP(), 1252u);
    host::TempDir dir;
    dir.Write("Caf\xC3\xA9\\kvora_01.rpy", Replay("kvor", {Info(), Comment("old")}));
    const std::string path = dir.Root() + "\\Caf\xE9\\kvora_01.rpy";   // the root is ASCII
    host::Plugin plugin("kvorarec");
    HLOCAL row = nullptr;
    ASSERT_EQ(plugin.exports.GetFileInfoList(path.c_str(), 0, &row), 0);
    EXPECT_STREQ(static_cast<const char*>(row) + 2 * 512, "No.01");
    LocalFree(row);
    EXPECT_EQ(CKvoraRec().WriteComment(path.c_str(), "new", 4), 0);
    EXPECT_EQ(ReadBytes(dir.Path("Caf\xC3\xA9\\kvora_01.rpy")), Replay("kvor", {Info(), Comment("new")}));
}

}  // namespace
