// kvhost.exe as its users run it: a process of its own, started with a wide
// command line, its output and error streams captured (in files, or in a
// console of the test's own), its exit code checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tools/games/Games.h"
#include "tools/games/ReplayBuilder.h"
#include "wine/DialogDriver.h"
#include "wine/KvhostFiles.h"
#include "wine/KvhostProcess.h"

using namespace kvhost_files;
using kvhost_process::Finished;
using kvhost_process::Launch;
using kvhost_process::RunKvhostExe;

namespace {

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// Terminal columns, East Asian wide characters as two.
size_t Columns(const std::string& utf8)
{
    size_t width = 0;
    for (wchar_t c : Wide(utf8)) width += (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                                                  (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xFF00 && c <= 0xFF60)
                                              ? 2
                                              : 1;
    return width;
}

// An error that is one line starting with "kvhost: ", and nothing on the output.
void ExpectOneLineError(const Finished& run, DWORD exit, const std::string& part)
{
    EXPECT_EQ(run.exit, exit) << part << "\n" << run.err;
    EXPECT_EQ(run.err.rfind("kvhost: ", 0), 0u) << run.err;
    EXPECT_TRUE(Contains(run.err, part)) << run.err;
    EXPECT_EQ(Lines(run.err), 1u) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(KvhostExe, ListsASampleFolderAsExpected)
{
    ScratchFolder folder;
    folder.CopySamples("kvorarec");
    const Finished run = RunKvhostExe({"list", "kvorarec", folder.Root(), "-v"});
    EXPECT_EQ(run.exit, 0u) << run.err;
    EXPECT_EQ(run.out, FileBytes(SourceDir() + "\\tests\\wine\\kvhost-listings\\kvorarec.txt"));
    EXPECT_EQ(run.err, "");
}

// The tests run in code page 932: "Ω" is in it, "é" is not, and a best-fit
// conversion would make "kvora_é.rpy" the other file, "kvora_e.rpy".
class WrongFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 932u) << "the Wine tests need LC_ALL=ja_JP.UTF-8";
        accented = folder.CopySample("kvorarec\\kvora_01.rpy", "kvora_\xC3\xA9.rpy");    // Bob
        plain = folder.CopySample("kvorarec\\kvora_02.rpy", "kvora_e.rpy");              // ミク
        omega = folder.CopySample("kvorarec\\kvora_07.rpy", "kvora_ud\xCE\xA9.rpy");   // Carol
        letterO = folder.CopySample("kvorarec\\kvora_25.rpy", "kvora_udO.rpy");         // あかり
    }

    Finished Run(const std::vector<std::string>& args, Launch launch = {})
    {
        launch.folder = Wide(folder.Root());  // relative names, as typed in the folder
        return RunKvhostExe(args, launch);
    }

    ScratchFolder folder;
    std::string accented, plain, omega, letterO;
};

const char kAccentedRefused[] =
    "  refused kvora_\xC3\xA9.rpy: its path holds \xC3\xA9 that the ANSI code page (932) lacks, and plug-ins take "
    "ANSI paths\n";

TEST_F(WrongFiles, ListRefusesTheNameAndListsEveryOtherFileOnce)
{
    for (bool verbose : {true, false}) {
        std::vector<std::string> args = {"list", "kvorarec", "."};
        if (verbose) args.push_back("-v");
        const Finished run = Run(args);
        ASSERT_EQ(run.exit, 0u) << run.err;
        const std::vector<std::string> lines = LinesOf(run.out);
        ASSERT_EQ(lines.size(), 6u) << run.out;
        EXPECT_EQ(lines[1].rfind("kvora_e.rpy ", 0), 0u);
        EXPECT_TRUE(Contains(lines[1], "\xE3\x83\x9F\xE3\x82\xAF"));  // ミク
        EXPECT_EQ(lines[2].rfind("kvora_udO.rpy ", 0), 0u);
        EXPECT_TRUE(Contains(lines[2], "\xE3\x81\x82\xE3\x81\x8B\xE3\x82\x8A"));  // あかり
        EXPECT_EQ(lines[3].rfind("kvora_ud\xCE\xA9.rpy ", 0), 0u);
        EXPECT_TRUE(Contains(lines[3], "Carol"));
        EXPECT_EQ(lines[4], "3 files listed, 1 refused");
        // Named with or without -v: it never reached the plug-in.
        EXPECT_EQ(lines[5] + "\n", kAccentedRefused);
        EXPECT_FALSE(Contains(run.out, "Bob"));
    }
    const Finished json = Run({"list", "kvorarec", ".", "--json"});
    EXPECT_TRUE(Contains(json.out, "{\"file\": \"kvora_\xC3\xA9.rpy\", \"result\": null, \"reason\": \"its path holds"))
        << json.out;
    EXPECT_EQ(json.err, std::string("kvorarec.kvp: 3 files listed, 1 refused\n") + kAccentedRefused);
}

TEST_F(WrongFiles, InfoPictureAndEditFailInOneLine)
{
    const std::string why = "cannot hand kvora_\xC3\xA9.rpy to a plug-in: its path holds \xC3\xA9 that the ANSI code "
                            "page (932) lacks";
    ExpectOneLineError(Run({"info", "kvorarec", "kvora_\xC3\xA9.rpy"}), 1, why);
    ExpectOneLineError(Run({"info", "--all", "kvora_\xC3\xA9.rpy"}), 1, why);
    const std::string before = FileBytes(plain);
    // No comment editor: kvhost ends before one shows, or the test closes it.
    Launch withoutDialog;
    withoutDialog.whileRunning = [](const PROCESS_INFORMATION& process) {
        for (DWORD waited = 0; waited < dialog_driver::kPatienceMs &&
                               WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT; waited += 10) {
            if (const HWND shown = dialog_driver::WaitForWindow(process.dwThreadId, dialog_driver::IsEditDialog, nullptr, 0)) {
                ADD_FAILURE() << "the comment editor showed";
                PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
                return;
            }
        }
    };
    ExpectOneLineError(Run({"edit", "kvorarec", "kvora_\xC3\xA9.rpy"}, withoutDialog), 1, why);
    EXPECT_EQ(FileBytes(plain), before);

    // A named shot, and the shots of a folder.
    folder.CopySample("brysspic\\sc0000.dat", "shots\\sc\xC3\xA9.dat");
    folder.CopySample("brysspic\\sc0001.dat", "shots\\sce.dat");
    ExpectOneLineError(Run({"picture", "brysspic", "shots\\sc\xC3\xA9.dat", "-o", "one.png"}), 1,
                       "cannot hand shots\\sc\xC3\xA9.dat to a plug-in: its path holds \xC3\xA9");
    EXPECT_FALSE(Exists(folder.Path("one.png")));
    const Finished shots = Run({"picture", "brysspic", "shots", "-o", "pictures"});
    EXPECT_EQ(shots.exit, 0u) << shots.err;
    EXPECT_EQ(shots.err, "kvhost: skipped sc\xC3\xA9.dat: its path holds \xC3\xA9 that the ANSI code page (932) "
                         "lacks, and plug-ins take ANSI paths\n");
    EXPECT_TRUE(Contains(shots.out, "1 picture written to pictures, 1 file skipped\n")) << shots.out;
    EXPECT_TRUE(Exists(folder.Path("pictures\\sce.png")));
    EXPECT_FALSE(Exists(folder.Path("pictures\\sc\xC3\xA9.png")));
}

TEST_F(WrongFiles, NamesTheCodePageHoldsReachTheirOwnFile)
{
    // "kvorarec.kvp" is the plug-in beside kvhost, as "kvorarec" is.
    const Finished info = Run({"info", "kvorarec.kvp", "kvora_ud\xCE\xA9.rpy"});
    ASSERT_EQ(info.exit, 0u) << info.err;
    EXPECT_TRUE(Contains(info.out, "Carol"));
    EXPECT_FALSE(Contains(info.out, "\xE3\x81\x82\xE3\x81\x8B\xE3\x82\x8A"));

    const std::string other = FileBytes(letterO);
    Launch driven;
    driven.whileRunning = [](const PROCESS_INFORMATION& process) {
        const HWND window = dialog_driver::WaitForWindow(process.dwThreadId, dialog_driver::IsEditDialog);
        ASSERT_NE(window, nullptr) << "the comment editor did not show";
        const dialog_driver::Dialog dialog{window, process.dwThreadId};
        dialog.SetText("saved through kvhost.exe");
        dialog.Press(IDOK);
    };
    const Finished edit = Run({"edit", "kvorarec", "kvora_ud\xCE\xA9.rpy"}, driven);
    EXPECT_EQ(edit.exit, 0u) << edit.err;
    EXPECT_EQ(edit.out, "comment saved in kvora_ud\xCE\xA9.rpy\n");
    EXPECT_TRUE(Contains(Run({"info", "kvorarec", omega}).out, "-- comment --\nsaved through kvhost.exe\n"));
    EXPECT_EQ(FileBytes(letterO), other);
}

TEST(KvhostExe, SaysWhenNothingMatchesAndListsTreesWithR)
{
    ScratchFolder folder;
    folder.Write("notes.txt", "not a replay");
    folder.CopySample("kvorarec\\kvora_01.rpy", "2024\\kvora_01.rpy");
    folder.CopySample("kvorarec\\kvora_02.rpy", "2025\\spring\\kvora_02.rpy");
    folder.CopySample("brysspic\\sc0000.dat", "2025\\sc0000.dat");
    const std::string& root = folder.Root();
    ExpectOneLineError(RunKvhostExe({"list", "kvorarec", root}), 1,
                       "no file in " + root + " matches kvora_*.rpy; 2 files in its subfolders do (-r includes them)");
    std::string patterns;   // of the plug-ins in the order of their names
    for (const games::Game& game : games::All()) patterns += (patterns.empty() ? "" : ", ") + std::string(game.pattern);
    ExpectOneLineError(RunKvhostExe({"list", "--all", root}), 1,
                       "no file in " + root + " matches the pattern of any plug-in (" + patterns + ")");
    ExpectOneLineError(RunKvhostExe({"list", "zoltepic", root, "-r"}), 1, "no file in " + root + " matches bs_*.dat");
    // No output folder for no pictures.
    ExpectOneLineError(RunKvhostExe({"picture", "brysspic", root, "-o", folder.Path("pictures")}), 1,
                       "matches sc*.dat; 1 file in its subfolders does (-r includes them)");
    EXPECT_FALSE(Exists(folder.Path("pictures")));

    Finished run = RunKvhostExe({"list", "kvorarec", root, "-r", "--csv", "--columns", "1,14"});
    ASSERT_EQ(run.exit, 0u) << run.err;
    EXPECT_EQ(run.out, "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE5\x90\x8D,"
                       "\xE3\x83\x87\xE3\x82\xA3\xE3\x83\xAC\xE3\x82\xAF\xE3\x83\x88\xE3\x83\xAA\r\n"  // ファイル名,ディレクトリ
                       "2024\\kvora_01.rpy," + root + "\\2024\r\n"
                       "2025\\spring\\kvora_02.rpy," + root + "\\2025\\spring\r\n");
    run = RunKvhostExe({"picture", "--all", root, "-r", "-o", folder.Path("pictures")});
    ASSERT_EQ(run.exit, 0u) << run.err;
    EXPECT_TRUE(Exists(folder.Path("pictures\\2025\\sc0000.png")));
    EXPECT_TRUE(Contains(run.out, "1 picture written to "));
}

TEST(KvhostExe, PicturesAreNeverWrittenOverUnlessForced)
{
    ScratchFolder folder;
    const std::string shot = folder.CopySample("brysspic\\sc0001.dat", "shots\\sc0001.dat");
    folder.CopySample("brysspic\\sc0000.dat", "shots\\sc0000.dat");
    const std::string out = folder.Path("new\\deeper\\shot.png");
    Finished run = RunKvhostExe({"picture", "brysspic", shot, "-o", out});
    ASSERT_EQ(run.exit, 0u) << run.err;  // the missing folders are made
    const std::string picture = FileBytes(out);
    EXPECT_EQ(picture.substr(1, 3), "PNG");

    folder.Write("new\\deeper\\shot.png", "mine");
    ExpectOneLineError(RunKvhostExe({"picture", "brysspic", shot, "-o", out}), 1,
                       out + " exists; --force writes over it");
    EXPECT_EQ(FileBytes(out), "mine");
    run = RunKvhostExe({"picture", "brysspic", shot, "-o", out, "--force"});
    EXPECT_EQ(run.exit, 0u) << run.err;
    EXPECT_EQ(FileBytes(out), picture);

    // A folder of shots: a file in the way of the folder, or of one picture,
    // and nothing is written.
    const std::string file = folder.Write("taken", "mine");
    ExpectOneLineError(RunKvhostExe({"picture", "brysspic", folder.Path("shots"), "-o", file}), 1,
                       file + " is a file; the pictures of a folder go into a folder");
    folder.Write("pictures\\sc0001.png", "mine");
    ExpectOneLineError(RunKvhostExe({"picture", "brysspic", folder.Path("shots"), "-o", folder.Path("pictures")}), 1,
                       folder.Path("pictures\\sc0001.png") + " exists; --force writes over it");
    EXPECT_FALSE(Exists(folder.Path("pictures\\sc0000.png")));
    run = RunKvhostExe({"picture", "brysspic", folder.Path("shots"), "-o", folder.Path("pictures"), "--force"});
    EXPECT_EQ(run.exit, 0u) << run.err;
    EXPECT_EQ(FileBytes(folder.Path("pictures\\sc0001.png")), picture);
    EXPECT_TRUE(Exists(folder.Path("pictures\\sc0000.png")));

    // Not even --force writes a picture over its shot.
    const std::string renamed = folder.CopySample("brysspic\\sc0000.dat", "sc0000.png");
    const std::string shotBytes = FileBytes(renamed);
    ExpectOneLineError(RunKvhostExe({"picture", "brysspic", renamed, "-o", renamed, "--force"}), 1,
                       "will not write the picture over its shot " + renamed);
    EXPECT_EQ(FileBytes(renamed), shotBytes);
}

std::string LongReplay(const std::string& comment)
{
    using namespace testing_support;
    return Replay("kvor", {Info(), Comment(comment)});
}

TEST(KvhostExe, TablesShowTheChosenColumnsAndCutOnlyTheTable)
{
    ScratchFolder folder;
    folder.CopySamples("kvorarec");
    // Shift-JIS in the replay, UTF-8 in the output: "初めて".
    const std::string comment = "A comment far longer than any table column should be \xE5\x88\x9D\xE3\x82\x81\xE3\x81\xA6";
    const std::string path = folder.Write("kvora_30.rpy", LongReplay("A comment far longer than any table column "
                                                                     "should be \x8F\x89\x82\xDF\x82\xC4"));
    StampFixedTime(path);
    const std::string& root = folder.Root();

    // By number and title, in the order given; the long comment cut at 40 columns.
    Finished run = RunKvhostExe({"list", "kvorarec", root, "--columns", "1,\xE3\x82\xB3\xE3\x83\xA1\xE3\x83\xB3\xE3\x83\x88,4",
                                 "--sort", "1", "--desc"});
    ASSERT_EQ(run.exit, 0u) << run.err;
    std::vector<std::string> lines = LinesOf(run.out);
    ASSERT_EQ(lines.size(), 10u) << run.out;
    EXPECT_EQ(lines[0], "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE5\x90\x8D        "
                        "\xE3\x82\xB3\xE3\x83\xA1\xE3\x83\xB3\xE3\x83\x88                                  "
                        "\xE3\x83\x97\xE3\x83\xAC\xE3\x82\xA4\xE3\x83\xA4\xE3\x83\xBC\xE5\x90\x8D");
    EXPECT_EQ(lines[4], "kvora_30.rpy      A comment far longer than any table co..  Alice");
    EXPECT_EQ(lines[8], "kvora_01.rpy      Bomb spam on stage 4, but it counts.      Bob");
    // Uncut with --width 0, and in CSV and JSON.
    run = RunKvhostExe({"list", "kvorarec", root, "--columns", "12", "--width", "0"});
    EXPECT_TRUE(Contains(run.out, "\n" + comment + "\n")) << run.out;
    run = RunKvhostExe({"list", "kvorarec", root, "--columns", "12", "--csv"});
    EXPECT_TRUE(Contains(run.out, "\r\n" + comment + "\r\n")) << run.out;
    run = RunKvhostExe({"list", "kvorarec", root, "--columns", "4,1", "--json"});
    EXPECT_TRUE(Contains(run.out, "\n    {\"\xE3\x83\x97\xE3\x83\xAC\xE3\x82\xA4\xE3\x83\xA4\xE3\x83\xBC\xE5\x90\x8D\": \"Alice\", "
                                  "\"\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE5\x90\x8D\": \"kvora_30.rpy\"}"))
        << run.out;

    // Fitted into 80 columns: long text cut down to 20 columns, then columns
    // left out from the right and named, in a note wrapped to fit too.
    run = RunKvhostExe({"list", "kvorarec", root, "--width", "80"});
    ASSERT_EQ(run.exit, 0u) << run.err;
    lines = LinesOf(run.out);
    ASSERT_EQ(lines.size(), 13u) << run.out;
    for (const std::string& line : lines) EXPECT_LE(Columns(line), 80u) << line;
    EXPECT_EQ(lines[0], "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE5\x90\x8D        "
                        "\xE6\x9B\xB4\xE6\x96\xB0\xE6\x97\xA5\xE6\x99\x82             No.    "
                        "\xE3\x83\x97\xE3\x83\xAC\xE3\x82\xA4\xE3\x83\xA4\xE3\x83\xBC\xE5\x90\x8D  "
                        "\xE3\x83\x97\xE3\x83\xAC\xE3\x82\xA4\xE6\x99\x82\xE5\x88\xBB");
    EXPECT_EQ(lines[6], "kvora_best.rpy    2026/01/02 12:04:05  ----   Carol         2026/08/17 23:11");
    const std::string note = lines[9] + " " + lines[10] + " " + lines[11];
    EXPECT_EQ(note.rfind("(8 columns left out to fit 80 columns: \xE4\xBD\xBF\xE7\x94\xA8\xE3\x82\xAD\xE3\x83\xA3\xE3\x83\xA9, ", 0), 0u)
        << note;  // 使用キャラ
    EXPECT_TRUE(Contains(note, "; --columns chooses them, --width 0 shows all)")) << note;
    EXPECT_EQ(lines[12], "8 files listed, 1 refused");
    // Where cutting the comment to 20 columns is enough, no column is left out.
    run = RunKvhostExe({"list", "kvorarec", root, "--width", "63", "--columns", "1,4,12,9"});
    EXPECT_TRUE(Contains(run.out, "\nkvora_30.rpy      Alice         A comment far long..  123456780\n")) << run.out;
    EXPECT_FALSE(Contains(run.out, "left out")) << run.out;
}

TEST(KvhostExe, WrongCommandLinesExitTwoAndSayWhy)
{
    const std::string replays = Samples("kvorarec");
    const std::string shot = Samples("brysspic\\sc0000.dat");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"list", "kvorarec", replays, "--desc"}, "--desc applies only with --sort"},
        {{"list", "kvorarec", replays, "--sort", "1", "--sort", "2"}, "--sort given twice"},
        {{"list", "kvorarec", replays, "-v", "--verbose"}, "--verbose given twice"},
        {{"list", "kvorarec", replays, "--rounds", "3"}, "--rounds applies only with --bench"},
        {{"list", "kvorarec", replays, "--bench", "--csv"}, "--csv does not apply to --bench"},
        {{"list", "kvorarec", replays, "--sort", "Nothing"}, "no column Nothing in kvorarec.kvp (kvhost columns kvorarec lists them)"},
        {{"list", "kvorarec", replays, "--columns", "1,99"}, "no column 99 in kvorarec.kvp"},
        {{"list", "kvorarec", replays, "--columns", "1,1"}, "--columns names"},
        {{"list", "kvorarec", replays, "--bom"}, "--bom applies only with --csv"},
        {{"list", "kvorarec", replays, "--csv", "--width", "80"}, "--width applies to the table, not to --csv"},
        {{"list", "kvorarec", replays, "--width", "5"}, "--width wants 0 or a number of columns from 20"},
        {{"list", "kvorarec", replays, "-o", "x.png"}, "-o does not apply to list"},
        {{"info", "kvorarec", replays, "--csv"}, "--csv does not apply to info"},
        {{"picture", "brysspic", shot, "-o", "x.png", "--bmp"}, "--bmp applies to a folder of shots"},
        {{"picture", "brysspic", shot, "-o", "x.png", "-r"}, "-r applies to a folder of shots"},
        {{"picture", "brysspic", shot, "-o", "x.gif"}, "the picture's name must end in .png or .bmp"},
        {{"about"}, "no plug-in named"},
        {{"frob", "kvorarec"}, "unknown command frob"},
        {{"list", "kvorarec", replays, "--frob"}, "unknown option --frob"},
    };
    for (const Case& c : cases) ExpectOneLineError(RunKvhostExe(c.args), 2, c.message);
    // The same column under --all, where a plug-in with files lacks it.
    ExpectOneLineError(RunKvhostExe({"list", "--all", Samples("zoltepic"), "--sort", "\xE3\x82\xB9\xE3\x82\xB3\xE3\x82\xA2"}),
                       2, "no column \xE3\x82\xB9\xE3\x82\xB3\xE3\x82\xA2 in zoltepic.kvp");

    const Finished version = RunKvhostExe({"--version"});
    EXPECT_EQ(version.exit, 0u);
    const char* release = std::getenv("KVP_RELEASE_VERSION");
    ASSERT_NE(release, nullptr);
    EXPECT_EQ(version.out, "kvhost " + std::string(release) + "\n");
    const Finished usage = RunKvhostExe({});
    EXPECT_EQ(usage.exit, 2u);
    EXPECT_EQ(usage.err, RunKvhostExe({"--help"}).out);
}

// A console of the test's own, of a chosen width, for kvhost.exe to write
// into; its cells are read back afterwards (Wine's console gives every
// character one cell).
class ScratchConsole {
public:
    explicit ScratchConsole(SHORT columns)
        : m_columns(columns), m_out(GetStdHandle(STD_OUTPUT_HANDLE)), m_err(GetStdHandle(STD_ERROR_HANDLE))
    {
        FreeConsole();
        AllocConsole();
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        m_handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inherit, OPEN_EXISTING, 0, nullptr);
        // The window first: the buffer may not be narrower than it.
        const SMALL_RECT window = {0, 0, SHORT(columns - 1), 24};
        SetConsoleWindowInfo(m_handle, TRUE, &window);
        SetConsoleScreenBufferSize(m_handle, COORD{columns, kRows});
        SetConsoleWindowInfo(m_handle, TRUE, &window);
    }
    ~ScratchConsole()
    {
        CloseHandle(m_handle);
        FreeConsole();
        SetStdHandle(STD_OUTPUT_HANDLE, m_out);
        SetStdHandle(STD_ERROR_HANDLE, m_err);
    }
    ScratchConsole(const ScratchConsole&) = delete;
    ScratchConsole& operator=(const ScratchConsole&) = delete;

    HANDLE Handle() const { return m_handle; }
    bool Ready() const
    {
        CONSOLE_SCREEN_BUFFER_INFO info;
        return GetConsoleScreenBufferInfo(m_handle, &info) && info.srWindow.Right - info.srWindow.Left + 1 == m_columns;
    }
    // Gives every cell an attribute that text written later does not get,
    // so that the cells written since are known afterwards.
    void MarkUnwritten()
    {
        CONSOLE_SCREEN_BUFFER_INFO info;
        GetConsoleScreenBufferInfo(m_handle, &info);
        m_unwritten = WORD(info.wAttributes ^ BACKGROUND_BLUE);
        DWORD filled = 0;
        FillConsoleOutputAttribute(m_handle, m_unwritten, DWORD(m_columns) * kRows, COORD{0, 0}, &filled);
    }
    // A row's cells up to the last one written since MarkUnwritten: '#'
    // written, '.' not.
    std::string Written(SHORT row) const
    {
        std::vector<WORD> attributes(static_cast<size_t>(m_columns));
        DWORD read = 0;
        ReadConsoleOutputAttribute(m_handle, attributes.data(), DWORD(m_columns), COORD{0, row}, &read);
        std::string cells;
        for (DWORD x = 0; x < read; ++x) cells += attributes[x] == m_unwritten ? '.' : '#';
        return cells.substr(0, cells.find_last_of('#') + 1);
    }
    // The screen's first rows, without trailing spaces.
    std::vector<std::string> Rows(SHORT count) const
    {
        std::vector<std::string> rows;
        for (SHORT y = 0; y < count; ++y) {
            std::wstring cells(size_t(m_columns), L' ');
            DWORD read = 0;
            ReadConsoleOutputCharacterW(m_handle, &cells[0], DWORD(m_columns), COORD{0, y}, &read);
            cells.resize(read);
            while (!cells.empty() && cells.back() == L' ') cells.pop_back();
            rows.push_back(Utf8(cells));
        }
        return rows;
    }

private:
    static constexpr SHORT kRows = 100;
    SHORT m_columns;
    HANDLE m_out, m_err;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    WORD m_unwritten = 0;
};

TEST(KvhostExe, ProgressIsShownOnAConsoleOnlyAndCleared)
{
    ScratchFolder folder;
    const std::string replay = FileBytes(Samples("nivrarec\\nivra_01.rpy"));
    for (int i = 0; i < 600; ++i) folder.Write("nivra_" + std::to_string(10000 + i) + ".rpy", replay);

    // In a file, no progress.
    Finished run = RunKvhostExe({"list", "nivrarec", folder.Root()});
    EXPECT_EQ(run.exit, 0u);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(Contains(run.out, "\n600 files listed, 0 refused\n"));

    // On a console, where it is cleared when the listing is done: the cells
    // it was written into tell that it was there, however fast kvhost was.
    // The table goes to a file.
    ScratchConsole console(100);
    ASSERT_TRUE(console.Ready());
    console.MarkUnwritten();
    Launch onConsole;
    onConsole.error = console.Handle();
    run = RunKvhostExe({"list", "nivrarec", folder.Root()}, onConsole);
    ASSERT_EQ(run.exit, 0u);
    EXPECT_TRUE(Contains(run.out, "\n600 files listed, 0 refused\n"));
    // As wide as the longest line, on the first row only, and blank again.
    EXPECT_EQ(console.Written(0), std::string(std::string("kvhost: 600 of 600 files matching nivra_*.rpy").size(), '#'));
    EXPECT_EQ(console.Written(1), "");
    EXPECT_EQ(console.Rows(2), (std::vector<std::string>{"", ""}));
}

TEST(KvhostExe, OnAConsoleTheTableFitsItsWidth)
{
    ScratchFolder folder;
    folder.CopySamples("kvorarec");
    ScratchConsole console(100);
    ASSERT_TRUE(console.Ready());
    Launch onConsole;
    onConsole.output = console.Handle();
    onConsole.error = console.Handle();
    const Finished run = RunKvhostExe({"list", "kvorarec", folder.Root()}, onConsole);
    ASSERT_EQ(run.exit, 0u);
    // No row wraps: each file's row starts a screen row; the note says what
    // was left out for 99 columns, one less than the window.
    const std::vector<std::string> rows = console.Rows(11);
    EXPECT_EQ(rows[1].rfind("kvora_01.rpy  ", 0), 0u) << rows[1];
    EXPECT_EQ(rows[7].rfind("kvora_udmine.rpy  ", 0), 0u) << rows[7];
    EXPECT_EQ(rows[8].rfind("(", 0), 0u) << rows[8];
    EXPECT_TRUE(Contains(rows[8], "columns left out to fit 99 columns"));
    EXPECT_EQ(rows[9].back(), ')') << rows[9];
    EXPECT_EQ(rows[10], "7 files listed, 1 refused");
    for (const std::string& row : rows) EXPECT_LE(Columns(row), 99u) << row;
}

TEST(KvhostExe, InfoOnAShotShowsItsRow)
{
    ScratchFolder folder;
    const std::string shot = folder.CopySample("brysspic\\sc0000.dat", "sc0000.dat");
    const Finished run = RunKvhostExe({"info", "brysspic", shot});
    ASSERT_EQ(run.exit, 0u) << run.err;
    EXPECT_TRUE(Contains(run.out, "files: sc*.dat\n"));
    EXPECT_TRUE(Contains(run.out, "-- row --\n\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE5\x90\x8D:     sc0000.dat\n"))
        << run.out;  // ファイル名
    EXPECT_TRUE(Contains(run.out, "\n\xE6\x9B\xB4\xE6\x96\xB0\xE6\x97\xA5\xE6\x99\x82:       2026/01/02 12:04:05\n"));  // 更新日時
    EXPECT_TRUE(Contains(run.out, "\n\xE5\xB9\x85:             160\n"));  // 幅
    EXPECT_TRUE(Contains(run.out, "\n\xE3\x83\x87\xE3\x82\xA3\xE3\x83\xAC\xE3\x82\xAF\xE3\x83\x88\xE3\x83\xAA:   " +
                                  folder.Root() + "\n"));  // ディレクトリ
    EXPECT_FALSE(Contains(run.out, "-- information --"));
    EXPECT_EQ(run.err, "");
}

TEST(KvhostExe, CsvWithAByteOrderMarkForSpreadsheets)
{
    const std::string plain = RunKvhostExe({"list", "kvorarec", Samples("kvorarec"), "--csv"}).out;
    const Finished run = RunKvhostExe({"list", "kvorarec", Samples("kvorarec"), "--csv", "--bom"});
    ASSERT_EQ(run.exit, 0u) << run.err;
    EXPECT_EQ(run.out, "\xEF\xBB\xBF" + plain);
    EXPECT_EQ(plain.rfind("\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE5\x90\x8D,", 0), 0u);  // ファイル名,
}

// A matching file of 4 GiB less a byte (sparse: nothing of it is on the
// disk): its size is the one GetFileSize cannot tell from a failure, and a
// 32-bit kvhost cannot hold it. The bench leaves it out, says so, and times
// the other file; it never allocates for it.
TEST(KvhostExe, TheBenchLeavesOutAFileTooLargeToReadWhole)
{
    ScratchFolder folder;
    folder.CopySample("kvorarec\\kvora_01.rpy", "kvora_01.rpy");
    const std::string huge = folder.Path("kvora_huge.rpy");
    HANDLE file = CreateFileW(Wide(huge).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD ignored = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);  // where it is needed
    LARGE_INTEGER size;
    size.QuadPart = 0xFFFFFFFFll;
    const bool sized = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(sized);

    const Finished run = RunKvhostExe({"list", "kvorarec", folder.Root(), "--bench", "--rounds", "1"});
    EXPECT_EQ(run.exit, 0u) << run.err;
    EXPECT_EQ(run.err, "kvhost: left out of the bench " + huge +
                           ": 4294967295 bytes, too large for a 32-bit host to read whole\n");
    EXPECT_TRUE(Contains(run.out, "kvorarec.kvp: 1 files (1 listed), median of 1 rounds\n")) << run.out;
}

}  // namespace
