// kvhost's commands in this process, and kvhost.exe where the process is the
// point: its exit codes and its Unicode command line.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Commands.h"
#include "tools/SamplePicture.h"
#include "tools/games/GameFiles.h"
#include "wine/DialogDriver.h"
#include "wine/PluginHost.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image.h>
#pragma GCC diagnostic pop

using dialog_driver::Dialog;
using dialog_driver::RunDialog;
using host::ReadBytes;
using host::TempDir;

namespace {

struct Outcome : Console {
    void Out(const std::string& text) override { out += text; }
    void Err(const std::string& text) override { err += text; }
    void Progress(const std::string&) override {}
    void EndProgress() override {}
    size_t Width() const override { return 0; }
    int exit = -1;
    std::string out, err;
};

Outcome Kvhost(const std::vector<std::string>& args)
{
    Outcome run;
    KvhostContext context{run, host::Env("KVP_PLUGIN_DIR"), "test"};
    run.exit = RunKvhost(args, context);
    return run;
}

std::string Samples(const std::string& name) { return host::Env("KVP_SOURCE_DIR") + "\\samples\\" + name; }
bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// An error said in one line, and nothing on the output.
void ExpectOneLineError(const Outcome& run, int exit, const std::string& part)
{
    EXPECT_EQ(run.exit, exit) << part;
    EXPECT_EQ(run.err.rfind("kvhost: ", 0), 0u) << run.err;
    EXPECT_TRUE(Contains(run.err, part)) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "");
}

// A sample (every sample of a plug-in for "NAME\\"), dated 2026-01-02.
std::string CopySample(const TempDir& dir, const std::string& sample, const std::string& name)
{
    if (sample.back() == '\\') {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((Samples(sample) + "*.*").c_str(), &entry);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &entry))
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                CopySample(dir, sample + entry.cFileName, name + entry.cFileName);
        FindClose(find);
        return name.empty() ? dir.Root() : dir.Path(name);
    }
    const std::string path = dir.Write(name, ReadBytes(Samples(sample)));
    SYSTEMTIME when = {2026, 1, 0, 2, 3, 4, 5, 0};
    FILETIME stamp;
    SystemTimeToFileTime(&when, &stamp);
    HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
    return path;
}

// A golden listing of tests/wine/kvhost-listings; what was printed instead
// goes into the build folder's kvhost-listings.
void ExpectListing(const std::string& name, const std::string& printed)
{
    const std::string golden = host::Env("KVP_SOURCE_DIR") + "\\tests\\wine\\kvhost-listings\\" + name;
    if (printed == ReadBytes(golden)) return;
    const std::string written = host::Env("KVP_BUILD_DIR") + "\\kvhost-listings\\" + name;
    host::WriteBytes(written, printed);
    ADD_FAILURE() << "kvhost does not print " << golden << "; what it prints is in " << written;
}

class KvhostListing : public ::testing::TestWithParam<games::Game> {};

TEST_P(KvhostListing, SamplesStringsAndColumnsAsExpected)
{
    const std::string plugin = GetParam().plugin;
    TempDir dir;
    const Outcome list = Kvhost({"list", plugin, CopySample(dir, plugin + "\\", ""), "-v"});
    EXPECT_EQ(list.exit, 0) << list.err;
    EXPECT_EQ(list.err, "");
    ExpectListing(plugin + ".txt", list.out);
    const Outcome about = Kvhost({"about", plugin}), columns = Kvhost({"columns", plugin});
    EXPECT_EQ(about.exit + columns.exit, 0) << about.err << columns.err;
    ExpectListing(plugin + ".about.txt", about.out + columns.out);
}

INSTANTIATE_TEST_SUITE_P(Samples, KvhostListing, ::testing::ValuesIn(games::All()),
                         [](const auto& info) { return std::string(info.param.plugin); });

// Replays only in subfolders, a shot in one, and a file of no plug-in.
std::string MakeTree(const TempDir& dir)
{
    dir.Write("tree\\notes.txt", "not a replay");
    CopySample(dir, "kvorarec\\kvora_01.rpy", "tree\\2024\\kvora_01.rpy");
    CopySample(dir, "kvorarec\\kvora_02.rpy", "tree\\2025\\spring\\kvora_02.rpy");
    CopySample(dir, "brysspic\\sc0000.dat", "tree\\2025\\sc0000.dat");
    return dir.Path("tree");
}

TEST(Kvhost, ErrorsExitWithTheirCodeInOneLine)
{
    TempDir dir;
    const std::string tree = MakeTree(dir), file = dir.Write("file", "x");
    dir.Write("refused\\kvora_01.rpy", "not a replay");
    const std::string replays = Samples("kvorarec"), shot = Samples("brysspic\\sc0000.dat");
    std::string patterns;   // of the plug-ins in the order of their names
    for (const games::Game& game : games::All()) patterns += (patterns.empty() ? "" : ", ") + std::string(game.pattern);
    const struct {
        std::vector<std::string> args;
        int exit;
        std::string message;
    } cases[] = {
        // Failed, or nothing to do.
        {{"list", "nosuch", replays}, 1, "\\nosuch.kvp not found"},
        {{"about", "C:\\windows\\system32\\kernel32.dll"}, 1, "is not a plug-in: it has no export GetPluginInfo"},
        {{"list", "kvorarec", Samples("nothing-here")}, 1, "\\samples\\nothing-here does not exist"},
        {{"info", "kvorarec", Samples("kvorarec\\kvora_99.rpy")}, 1, "does not exist"},
        {{"info", "kvorarec", shot}, 1, "is not a file of kvorarec.kvp (IsSupported answered 0)"},
        {{"picture", "brysspic", shot, "-o", file + "\\y.png"}, 1, file + " is a file, not a folder"},
        {{"picture", "kvorarec", shot, "-o", dir.Path("x.png")}, 1, "kvorarec.kvp has no pictures"},
        {{"edit", "brysspic", shot}, 1, "brysspic.kvp has no comment editor"},
        {{"edit", "--all", shot}, 1, "no replay plug-in accepts "},
        {{"list", "kvorarec", tree}, 1,
         "no file in " + tree + " matches kvora_*.rpy; 2 files in its subfolders do (-r includes them)"},
        {{"list", "--all", tree}, 1, "no file in " + tree + " matches the pattern of any plug-in (" + patterns + ")"},
        {{"list", "zoltepic", tree, "-r"}, 1, "no file in " + tree + " matches bs_*.dat"},
        {{"picture", "brysspic", tree, "-o", dir.Path("pictures")}, 1, "matches sc*.dat; 1 file in its subfolders does"},
        {{"list", "kvorarec", dir.Path("refused"), "--bench"}, 1,
         "kvorarec.kvp listed none of the files (1 file refused; kvhost list -v says why): nothing to time"},
        // A wrong command line.
        {{"frob", "kvorarec"}, 2, "unknown command frob"},
        {{"list", "kvorarec", replays, "--frob"}, 2, "unknown option --frob"},
        {{"list", "kvorarec"}, 2, "wrong number of arguments for list"},
        {{"about"}, 2, "no plug-in named"},
        {{"list", "kvorarec", replays, "-v", "--verbose"}, 2, "--verbose given twice"},
        {{"list", "kvorarec", replays, "--csv", "--json"}, 2, "--csv and --json exclude each other"},
        {{"list", "--all", replays, "--csv"}, 2, "--csv lists one plug-in at a time"},
        {{"list", "kvorarec", replays, "--desc"}, 2, "--desc applies only with --sort"},
        {{"list", "kvorarec", replays, "--bom"}, 2, "--bom applies only with --csv"},
        {{"list", "kvorarec", replays, "--bench", "--csv"}, 2, "--csv does not apply to --bench"},
        {{"list", "kvorarec", replays, "--csv", "--width", "80"}, 2, "--width applies to the table, not to --csv"},
        {{"list", "kvorarec", replays, "--width", "5"}, 2, "--width wants 0 or a number of columns from 20"},
        {{"picture", "brysspic", shot, "-o", "x.gif"}, 2, "the picture's name must end in .png or .bmp"},
        {{"list", "kvorarec", replays, "--sort", "Nothing"}, 2,
         "no column Nothing in kvorarec.kvp (kvhost columns kvorarec lists them)"},
        {{"list", "kvorarec", replays, "--columns", "1,1"}, 2, "--columns names"},
        // The score column under --all, where a plug-in with files lacks it.
        {{"list", "--all", Samples("zoltepic"), "--sort", "スコア"}, 2,
         "no column スコア in zoltepic.kvp"},
    };
    for (const auto& c : cases) ExpectOneLineError(Kvhost(c.args), c.exit, c.message);
    EXPECT_FALSE(host::Exists(dir.Path("pictures"))) << "an output folder for no pictures";
}

// Sorting, columns, CSV, JSON, widths, and info.
TEST(Kvhost, WhatListAndInfoPrint)
{
    TempDir dir;
    const std::string root = CopySample(dir, "kvorarec\\", ""), tree = MakeTree(dir);
    // Shift-JIS in the replay, UTF-8 in the output: "初めて".
    dir.Write("kvora_30.rpy", testing_support::Replay("kvor", {testing_support::Info(),
        testing_support::Comment("A comment far longer than any table column should be \x8F\x89\x82\xDF\x82\xC4")}));
    const std::string comment = "A comment far longer than any table column should be 初めて";
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> shown;   // parts of the output, in this order
        size_t width;                     // that no line exceeds, if not 0
    } cases[] = {
        // The score sorts as a whole number: as text, 99999997 would be last.
        {{"list", "kvorarec", root, "--csv", "--columns", "9", "--sort", "9"},
         {"\r\n99999997\r\n101234564\r\n", "\r\n107407399\r\n123456780\r\n"}},
        {{"list", "zoltepic", Samples("zoltepic"), "--csv", "--bom"},
         {"\xEF\xBB\xBF", ",\"Glass Sign \"\"Paper Lantern\"\"\","}},
        {{"list", "kvorarec", root, "--csv", "--columns", "12"},
         {"\r\n" + comment + "\r\n", "\r\n\"line one\r\nline two\r\nあい\"\r\n"}},
        {{"list", "kvorarec", root, "--json", "--columns", "12,1"},
         {comment, "\"line one\\r\\nline two\\r\\nあい\", ",
          "\"refused\": [\n    {\"file\": \"kvora_03.rpy\", \"result\": 2, "}},
        // Long text cut to 20 columns first; then columns left out from the right, and named.
        {{"list", "kvorarec", root, "--width", "63", "--columns", "1,4,12,9"},
         {"\nkvora_30.rpy      Alice         A comment far long..  123456780\n"}, 63},
        {{"list", "kvorarec", root, "--width", "80"},
         {"\nkvora_best.rpy    2026/01/02 12:04:05  ----   Carol         2026/08/17 23:11\n",
          "\n(8 columns left out to fit 80 columns: 使用キャラ, ",
          "; --columns chooses them,", "--width 0 shows all)\n8 files listed, 1 refused\n"}, 80},
        // -r: the path from FOLDER, and each file's own folder.
        {{"list", "kvorarec", tree, "-r", "--csv", "--columns", "1,14"},
         {"\r\n2024\\kvora_01.rpy," + tree + "\\2024\r\n2025\\spring\\kvora_02.rpy," + tree + "\\2025\\spring\r\n"}},
        {{"info", "kvorarec", Samples("kvorarec\\kvora_udlong.rpy")},
         {"files: kvora_*.rpy\n", "-- information --\nVersion ", "-- comment --\nline one\nline two\nあい\n"}},
        // A shot's row, the host's columns from the file system.
        {{"info", "brysspic", tree + "\\2025\\sc0000.dat"},
         {"-- row --\nファイル名:     sc0000.dat\n更新日時:       2026/01/02 12:04:05\n", "\n幅:             160\n",
          ":   " + tree + "\\2025\n"}},
    };
    for (const auto& c : cases) {
        const Outcome run = Kvhost(c.args);
        EXPECT_EQ(run.exit, 0) << run.err;
        size_t at = 0;
        for (const std::string& part : c.shown)
            EXPECT_NE(at = run.out.find(part, at), std::string::npos) << part << "\n" << run.out;
        for (size_t line = 0, next; c.width && (next = run.out.find('\n', line)) != std::string::npos; line = next + 1)
            EXPECT_LE(DisplayWidth(run.out.substr(line, next - line)), c.width);
    }
    // Without a comment section the row and the comment fail, and say so.
    const Outcome info = Kvhost({"info", "--all", Samples("kvorarec\\kvora_03.rpy")});
    EXPECT_EQ(info.exit, 1);
    EXPECT_TRUE(Contains(info.out, "== kvorarec.kvp\n") &&
                Contains(info.out, "-- row --\n(GetFileInfoList answered 2)\n") &&
                Contains(info.out, "-- comment --\n(GetFileInfoText2 answered 2)\n")) << info.out;
    const Outcome pictures = Kvhost({"picture", "--all", tree, "-r", "-o", dir.Path("pictures")});
    EXPECT_TRUE(pictures.exit == 0 && host::Exists(dir.Path("pictures\\2025\\sc0000.png"))) << pictures.err;
}

// The tests run in code page 932: "Ω" is in it, "é" is not, and a best-fit
// conversion would make "kvora_é.rpy" another file, "kvora_e.rpy".
TEST(Kvhost, APathTheCodePageLacksNeverReachesAPlugin)
{
    ASSERT_EQ(GetACP(), 932u) << "the Wine tests need LC_ALL=ja_JP.UTF-8";
    TempDir dir;
    const std::string accented = CopySample(dir, "kvorarec\\kvora_01.rpy", "kvora_é.rpy");   // Bob
    const std::string plain = CopySample(dir, "kvorarec\\kvora_02.rpy", "kvora_e.rpy");             // ミク
    const std::string omega = CopySample(dir, "kvorarec\\kvora_07.rpy", "kvora_udΩ.rpy");    // Carol
    const std::string letterO = CopySample(dir, "kvorarec\\kvora_25.rpy", "kvora_udO.rpy");         // あかり
    const std::string lacks = "its path holds é that the ANSI code page (932) lacks";
    for (const char* verbose : {"-v", "--csv"}) {   // named with or without -v
        const Outcome run = Kvhost({"list", "kvorarec", dir.Root(), verbose, "--columns", "1,4"});
        EXPECT_EQ(run.exit, 0) << run.err;
        for (const char* row : {"kvora_e.rpy", "ミク", "kvora_udO.rpy", "あかり",
                                "kvora_udΩ.rpy", "Carol"})
            EXPECT_TRUE(Contains(run.out, row)) << row;
        EXPECT_FALSE(Contains(run.out, "Bob"));
        EXPECT_TRUE(Contains(run.out + run.err, "3 files listed, 1 refused\n  refused kvora_é.rpy: " + lacks +
                                                    ", and plug-ins take ANSI paths\n")) << run.out << run.err;
    }
    // Each file command fails in one line, without a dialog and writing nothing.
    const std::string before = ReadBytes(plain);
    ExpectOneLineError(Kvhost({"info", "--all", accented}), 1, "to a plug-in: " + lacks);
    Outcome edit;
    RunDialog([&] { return (edit = Kvhost({"edit", "kvorarec", accented})).exit; }, [](const Dialog& d) {
        ADD_FAILURE() << "the comment editor showed";
        d.Press(IDCANCEL);
    }, false);
    ExpectOneLineError(edit, 1, "to a plug-in: " + lacks);
    EXPECT_EQ(ReadBytes(plain), before);
    CopySample(dir, "brysspic\\sc0000.dat", "shots\\scé.dat");
    CopySample(dir, "brysspic\\sc0001.dat", "shots\\sce.dat");
    ExpectOneLineError(Kvhost({"picture", "brysspic", dir.Path("shots\\scé.dat"), "-o", dir.Path("one.png")}), 1,
                       lacks);
    const Outcome shots = Kvhost({"picture", "brysspic", dir.Path("shots"), "-o", dir.Path("pictures")});
    EXPECT_EQ(shots.err, "kvhost: skipped scé.dat: " + lacks + ", and plug-ins take ANSI paths\n");
    EXPECT_TRUE(shots.exit == 0 && Contains(shots.out, "1 picture written to ")) << shots.out;
    EXPECT_TRUE(host::Exists(dir.Path("pictures\\sce.png")) && !host::Exists(dir.Path("pictures\\scé.png")));
    EXPECT_FALSE(host::Exists(dir.Path("one.png")));

    // A name the code page holds reaches its own file, not a look-alike; the
    // comment editor saves it or, cancelled, leaves it alone.
    const std::string other = ReadBytes(letterO), carol = ReadBytes(omega);
    auto editOmega = [&] { return (edit = Kvhost({"edit", "--all", omega})).exit; };
    EXPECT_EQ(RunDialog(editOmega, [](const Dialog& d) { d.Press(IDCANCEL); }), 1);
    EXPECT_EQ(edit.out, "closed without saving; " + omega + " is unchanged\n");
    EXPECT_EQ(ReadBytes(omega), carol);
    EXPECT_EQ(RunDialog(editOmega, [](const Dialog& d) {
        d.SetText("saved under its own name");
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(edit.out, "comment saved in " + omega + "\n");
    const Outcome info = Kvhost({"info", "kvorarec.kvp", omega});
    EXPECT_TRUE(Contains(info.out, "Carol") && Contains(info.out, "-- comment --\nsaved under its own name\n"))
        << info.out;
    EXPECT_EQ(ReadBytes(letterO), other);
}

// What kvhost writes is the picture the generator made: PNG or the bitmap
// as handed over, at both depths (175 pixels of 3 bytes leave padding).
TEST(Kvhost, PicturesAreTheGeneratorsPictures)
{
    TempDir dir;
    const struct {
        const char *plugin, *shot;
        int width, height, bytesPerPixel;
        uint32_t seed;
    } shots[] = {{"brysspic", "brysspic\\sc0001.dat", 200, 150, 4, 2},
                 {"zoltepic", "zoltepic\\bs_07_3.dat", 175, 100, 3, 5}};
    for (const auto& shot : shots) {
        const std::string picture = MakeSamplePicture(shot.width, shot.height, shot.bytesPerPixel, shot.seed);
        std::vector<unsigned char> rgb;
        for (size_t at = 0; at < picture.size(); at += size_t(shot.bytesPerPixel))
            rgb.insert(rgb.end(), {stbi_uc(picture[at + 2]), stbi_uc(picture[at + 1]), stbi_uc(picture[at])});
        for (const char* name : {"shot.png", "shot.bmp"}) {
            const Outcome run = Kvhost({"picture", shot.plugin, Samples(shot.shot), "-o", dir.Path(name), "--force"});
            ASSERT_EQ(run.exit, 0) << run.err;
            const std::string bytes = ReadBytes(dir.Path(name));
            int w = 0, h = 0, channels = 0;
            stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), int(bytes.size()), &w,
                                                    &h, &channels, 3);
            EXPECT_TRUE(pixels && w == shot.width && h == shot.height && std::equal(rgb.begin(), rgb.end(), pixels))
                << shot.shot << " as " << name;
            stbi_image_free(pixels);
        }
    }
}

// kvhost writes a picture only where it is asked to: never over a file
// unless forced, never over its own shot.
TEST(Kvhost, PicturesAreNeverWrittenOverUnlessForced)
{
    TempDir dir;
    const std::string shot = CopySample(dir, "brysspic\\sc0001.dat", "shots\\sc0001.dat");
    CopySample(dir, "brysspic\\sc0000.dat", "shots\\sc0000.dat");
    const std::string out = dir.Path("new\\deeper\\shot.png");
    ASSERT_EQ(Kvhost({"picture", "brysspic", shot, "-o", out}).exit, 0);   // the missing folders are made
    const std::string picture = ReadBytes(out);
    dir.Write("new\\deeper\\shot.png", "mine");
    ExpectOneLineError(Kvhost({"picture", "brysspic", shot, "-o", out}), 1, out + " exists; --force writes over it");
    EXPECT_EQ(ReadBytes(out), "mine");
    EXPECT_EQ(Kvhost({"picture", "brysspic", shot, "-o", out, "--force"}).exit, 0);
    EXPECT_EQ(ReadBytes(out), picture);
    // A folder of shots: one picture in the way, and nothing is written.
    dir.Write("pictures\\sc0001.png", "mine");
    ExpectOneLineError(Kvhost({"picture", "brysspic", dir.Path("shots"), "-o", dir.Path("pictures")}), 1,
                       dir.Path("pictures\\sc0001.png") + " exists; --force writes over it");
    EXPECT_FALSE(host::Exists(dir.Path("pictures\\sc0000.png")));
    EXPECT_EQ(Kvhost({"picture", "brysspic", dir.Path("shots"), "-o", dir.Path("pictures"), "--force"}).exit, 0);
    EXPECT_EQ(ReadBytes(dir.Path("pictures\\sc0001.png")), picture);
    // Not even --force writes a picture over its shot.
    const std::string renamed = CopySample(dir, "brysspic\\sc0000.dat", "sc0000.png");
    ExpectOneLineError(Kvhost({"picture", "brysspic", renamed, "-o", renamed, "--force"}), 1,
                       "will not write the picture over its shot " + renamed);
    EXPECT_EQ(ReadBytes(renamed), ReadBytes(Samples("brysspic\\sc0000.dat")));
}

// kvhost.exe with a wide command line in `dir`, its output in files.
Outcome RunKvhostExe(const TempDir& dir, const std::vector<std::string>& args)
{
    std::wstring line = L"\"" + Utf8ToWide(host::Env("KVP_PLUGIN_DIR")) + L"\\kvhost.exe\"";
    for (const std::string& arg : args) line += L" \"" + Utf8ToWide(arg) + L"\"";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    auto open = [&](const std::string& path) {
        return CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, CREATE_ALWAYS, 0, nullptr);
    };
    STARTUPINFOW startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = open("NUL");
    startup.hStdOutput = open(dir.Path("stdout"));
    startup.hStdError = open(dir.Path("stderr"));
    PROCESS_INFORMATION process = {};
    Outcome run;
    DWORD exit = ~0u;
    EXPECT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                               Utf8ToWide(dir.Root()).c_str(), &startup, &process)) << WideToUtf8(line);
    if (process.hProcess && WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << WideToUtf8(line) << " did not end in time";
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    GetExitCodeProcess(process.hProcess, &exit);
    run.exit = int(exit);
    for (HANDLE handle : {process.hThread, process.hProcess, startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);
    run.out = ReadBytes(dir.Path("stdout"));
    run.err = ReadBytes(dir.Path("stderr"));
    return run;
}

// The exit code is RunKvhost's; the arguments arrive in Unicode (relative
// names, as typed in the folder); the version is the file's own.
TEST(KvhostExe, ExitCodesAndAUnicodeCommandLine)
{
    TempDir dir;
    CopySample(dir, "kvorarec\\kvora_07.rpy", "kvora_udΩ.rpy");   // Carol
    CopySample(dir, "kvorarec\\kvora_25.rpy", "kvora_udO.rpy");
    CopySample(dir, "kvorarec\\kvora_01.rpy", "kvora_é.rpy");
    CopySample(dir, "kvorarec\\kvora_02.rpy", "kvora_e.rpy");
    const Outcome run = RunKvhostExe(dir, {"info", "kvorarec", "kvora_udΩ.rpy"});
    EXPECT_TRUE(run.exit == 0 && Contains(run.out, "Carol")) << run.out << run.err;
    ExpectOneLineError(RunKvhostExe(dir, {"info", "kvorarec", "kvora_é.rpy"}), 1,
                       "cannot hand kvora_é.rpy to a plug-in: its path holds é that the ANSI code page (932) lacks");
    const Outcome version = RunKvhostExe(dir, {"--version"}), usage = RunKvhostExe(dir, {});
    EXPECT_EQ(version.exit, 0);
    EXPECT_EQ(version.out, "kvhost " + host::Env("KVP_RELEASE_VERSION") + "\n");
    EXPECT_EQ(usage.exit, 2);
    EXPECT_EQ(usage.err, RunKvhostExe(dir, {"--help"}).out);
}

}  // namespace
