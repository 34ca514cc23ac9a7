// kvhost's commands, run in this process against the built plug-ins and the
// bundled samples: listings compared with the expected ones, pictures decoded
// again and compared with the generator's, and every error path.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "Commands.h"
#include "tools/games/GameFiles.h"
#include "tools/games/Games.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"
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

// Running out of memory where a test wants it: while the limit is not 0, every
// allocation of more bytes fails as it does when memory runs out. The
// plug-ins have their own allocator and are not limited.
static std::atomic<size_t> g_allocationLimit{0};

void* operator new(std::size_t size)
{
    const size_t limit = g_allocationLimit.load();
    if (limit && size > limit) throw std::bad_alloc();
    if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {

class AllocationLimit {
public:
    explicit AllocationLimit(size_t bytes) { g_allocationLimit = bytes; }
    ~AllocationLimit() { g_allocationLimit = 0; }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};

class CapturedConsole : public Console {
public:
    void Out(const std::string& text) override { out += text; }
    void Err(const std::string& text) override { err += text; }
    void Progress(const std::string& text) override { progress.push_back(text); }
    void EndProgress() override { progress.push_back(""); }
    size_t Width() const override { return 0; }
    std::string out, err;
    std::vector<std::string> progress;  // "" where it was cleared
};

struct Outcome {
    int exit;
    std::string out, err;
    std::vector<std::string> progress;
};

std::string PluginFolder()
{
    const char* dir = std::getenv("KVP_PLUGIN_DIR");
    return dir ? dir : ".";
}

std::string Samples(const std::string& name)
{
    const char* dir = std::getenv("KVP_SOURCE_DIR");
    return std::string(dir ? dir : "..") + "\\samples\\" + name;
}

Outcome Kvhost(const std::vector<std::string>& args)
{
    CapturedConsole console;
    KvhostContext context{console, PluginFolder(), "test"};
    const int exit = RunKvhost(args, context);
    return {exit, console.out, console.err, console.progress};
}

// The sample folder's files in a scratch folder, all dated 2026-01-02 03:04:05
// UTC, so that the host's update-time column is the same on every machine.
void CopySamples(const std::string& game, const host::TempDir& dir)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((Samples(game) + "\\*").c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE) << Samples(game);
    SYSTEMTIME when = {2026, 1, 0, 2, 3, 4, 5, 0};
    FILETIME stamp;
    SystemTimeToFileTime(&when, &stamp);
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string path =
            dir.Write(entry.cFileName, host::ReadBytes(Samples(game) + "\\" + entry.cFileName));
        HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &stamp);
        CloseHandle(file);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

size_t Lines(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

// The golden listings: for every plug-in, what kvhost prints of it in
// tests/wine/kvhost-listings, NAME.txt its listing of samples/NAME and
// NAME.about.txt its strings and columns, every byte of them. What kvhost
// printed instead, or for a plug-in without them, is written into the build
// folder's kvhost-listings, to be checked and copied.
std::string ListingsFolder() { return std::getenv("KVP_SOURCE_DIR") + std::string("\\tests\\wine\\kvhost-listings"); }

void ExpectListing(const std::string& name, const std::string& printed)
{
    const std::string expected = host::ReadBytes(ListingsFolder() + "\\" + name);
    if (printed == expected) return;
    const char* build = std::getenv("KVP_BUILD_DIR");
    const std::string written = std::string(build ? build : ".") + "\\kvhost-listings";
    CreateDirectoryA(written.c_str(), nullptr);
    HANDLE file = CreateFileA((written + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(file, printed.data(), DWORD(printed.size()), &done, nullptr);
    CloseHandle(file);
    ADD_FAILURE() << (expected.empty() ? "no listing " : "another listing than ") << ListingsFolder() << "\\" << name
                  << "; kvhost's is in " << written << "\\" << name;
}

class KvhostListing : public ::testing::TestWithParam<games::Game> {};

TEST_P(KvhostListing, SampleFolderListsAsExpected)
{
    const std::string plugin = GetParam().plugin;
    host::TempDir dir;
    CopySamples(plugin, dir);
    const Outcome run = Kvhost({"list", plugin, dir.Root(), "-v"});
    EXPECT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ExpectListing(plugin + ".txt", run.out);
}

TEST_P(KvhostListing, StringsAndColumnsAsExpected)
{
    const std::string plugin = GetParam().plugin;
    const Outcome about = Kvhost({"about", plugin});
    const Outcome columns = Kvhost({"columns", plugin});
    EXPECT_EQ(about.exit + columns.exit, 0) << about.err << columns.err;
    ExpectListing(plugin + ".about.txt", about.out + columns.out);
}

INSTANTIATE_TEST_SUITE_P(Samples, KvhostListing, ::testing::ValuesIn(games::All()),
                         [](const auto& info) { return std::string(info.param.plugin); });

// One column of a CSV text, below its title; quoted fields may hold commas,
// doubled quotes and line breaks.
std::vector<std::string> CsvColumn(const std::string& csv, size_t column)
{
    std::vector<std::string> values;
    std::string field;
    size_t index = 0;
    bool quoted = false, title = true;
    for (size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') field += csv[++i];
            else if (c == '"') quoted = false;
            else field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',' || c == '\n') {
            if (index == column && !title) values.push_back(field);
            field.clear();
            index = c == ',' ? index + 1 : 0;
            if (c == '\n') title = false;
        } else if (c != '\r') {
            field += c;
        }
    }
    return values;
}

TEST(Kvhost, SortsByTheColumnsKindAndWritesCsvAndJson)
{
    const std::string folder = Samples("zoltepic");
    // Titles are named in UTF-8; "幅", the width, sorts as a whole number
    // (as text, 99 would come first).
    Outcome run = Kvhost({"list", "zoltepic", folder, "--csv", "--sort", "\xE5\xB9\x85", "--desc"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(CsvColumn(run.out, 4), (std::vector<std::string>{"175", "160", "99"}));
    // Quotes inside a field are doubled; the summary goes to the error stream.
    EXPECT_TRUE(Contains(run.out, ",\"Glass Sign \"\"Paper Lantern\"\"\","));
    EXPECT_EQ(run.err, "3 files listed, 0 refused\n");

    run = Kvhost({"list", "kvorarec", Samples("kvorarec"), "--csv", "--sort", "9"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const std::vector<std::string> scores = CsvColumn(run.out, 8);
    ASSERT_EQ(scores.size(), 7u);
    EXPECT_EQ(scores.front(), "99999997");  // first as a number, last as text
    for (size_t i = 1; i < scores.size(); ++i) EXPECT_LT(std::atoll(scores[i - 1].c_str()), std::atoll(scores[i].c_str()));
    // A multi-line comment stays whole inside its quotes.
    EXPECT_TRUE(Contains(run.out, ",\"line one\r\nline two\r\n\xE3\x81\x82\xE3\x81\x84\","));

    run = Kvhost({"list", "kvorarec", Samples("kvorarec"), "--json"});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "\"\xE3\x82\xB3\xE3\x83\xA1\xE3\x83\xB3\xE3\x83\x88\": "
                                  "\"line one\\r\\nline two\\r\\n\xE3\x81\x82\xE3\x81\x84\""));  // "コメント"
    EXPECT_TRUE(Contains(run.out, "\"refused\": [\n    {\"file\": \"kvora_03.rpy\", \"result\": 2, "));
    EXPECT_EQ(Lines(run.out.substr(run.out.find("\"rows\""), run.out.find("\"refused\"") - run.out.find("\"rows\""))),
              9u);  // the opening line, seven rows, the closing line

    run = Kvhost({"list", "kvorarec", Samples("kvorarec"), "--sort", "Nothing"});
    EXPECT_EQ(run.exit, 2);
    EXPECT_TRUE(Contains(run.err, "no column Nothing in kvorarec.kvp (kvhost columns kvorarec lists them)")) << run.err;
}

TEST(Kvhost, LargeFoldersShowProgress)
{
    host::TempDir dir;
    const std::string replay = host::ReadBytes(Samples("nivrarec") + "\\nivra_01.rpy");
    for (int i = 0; i < int(kProgressThreshold) + 1; ++i) dir.Write("nivra_" + std::to_string(1000 + i) + ".rpy", replay);
    const Outcome run = Kvhost({"list", "nivrarec", dir.Root()});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "301 files listed, 0 refused\n"));
    // Every hundred files, the last one, then cleared.
    EXPECT_EQ(run.progress, (std::vector<std::string>{"kvhost: 0 of 301 files matching nivra_*.rpy",
                                                      "kvhost: 100 of 301 files matching nivra_*.rpy",
                                                      "kvhost: 200 of 301 files matching nivra_*.rpy",
                                                      "kvhost: 300 of 301 files matching nivra_*.rpy",
                                                      "kvhost: 301 of 301 files matching nivra_*.rpy", ""}));
    // Files that do not match do not count.
    dir.Write("other.rpy", replay);
    for (int i = 0; i < 60; ++i) dir.Write("nivra_" + std::to_string(1000 + i) + ".bak", replay);
    EXPECT_EQ(Kvhost({"list", "nivrarec", dir.Root()}).progress[1], "kvhost: 100 of 301 files matching nivra_*.rpy");
    EXPECT_EQ(Kvhost({"list", "nivrarec", Samples("nivrarec")}).progress, std::vector<std::string>{""});
}

// Pixels as the generator made them, red-green-blue: the picture's first row
// is the top one.
std::vector<unsigned char> GeneratorPixels(uint32_t width, uint32_t height, uint32_t bytesPerPixel, uint32_t seed)
{
    const std::string picture = MakeSamplePicture(width, height, bytesPerPixel, seed);
    std::vector<unsigned char> rgb;
    for (size_t at = 0; at < picture.size(); at += bytesPerPixel)
        rgb.insert(rgb.end(), {(unsigned char)picture[at + 2], (unsigned char)picture[at + 1], (unsigned char)picture[at]});
    return rgb;
}

std::vector<unsigned char> DecodedPixels(const std::string& file, int& width, int& height)
{
    const std::string bytes = host::ReadBytes(file);
    int channels = 0;
    unsigned char* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), int(bytes.size()),
                                                  &width, &height, &channels, 3);
    std::vector<unsigned char> out;
    if (pixels) out.assign(pixels, pixels + size_t(width) * height * 3);
    stbi_image_free(pixels);
    return out;
}

TEST(Kvhost, PicturesAreTheGeneratorsPictures)
{
    host::TempDir dir;
    struct Shot {
        const char* plugin;
        const char* file;
        uint32_t width, height, bytesPerPixel, seed;
    };
    // Both depths; 175 pixels of 3 bytes leave padding at each row's end.
    for (const Shot& shot : {Shot{"brysspic", "sc0001.dat", 200, 150, 4, 2}, Shot{"zoltepic", "bs_07_3.dat", 175, 100, 3, 5}}) {
        for (const char* extension : {".png", ".bmp"}) {
            const std::string out = dir.Path(std::string(shot.plugin) + extension);
            const Outcome run = Kvhost({"picture", shot.plugin, Samples(std::string(shot.plugin) + "\\" + shot.file), "-o", out});
            ASSERT_EQ(run.exit, 0) << run.err;
            int width = 0, height = 0;
            const std::vector<unsigned char> pixels = DecodedPixels(out, width, height);
            EXPECT_EQ(width, int(shot.width));
            EXPECT_EQ(height, int(shot.height));
            EXPECT_TRUE(pixels == GeneratorPixels(shot.width, shot.height, shot.bytesPerPixel, shot.seed)) << out;
        }
    }
    // A folder of shots, with the plug-in found among all of them.
    const Outcome run = Kvhost({"picture", "--all", Samples("zoltepic"), "-o", dir.Path("shots")});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "3 pictures written to "));
    int width = 0, height = 0;
    EXPECT_TRUE(DecodedPixels(dir.Path("shots\\bs_11_2.png"), width, height) == GeneratorPixels(99, 77, 3, 6));
}

// Out of memory while a picture is made, in the pixels or in the PNG
// encoder, is said in one line with exit code 1: the pictures written before
// stay whole, and the one it failed on is not made at all.
TEST(Kvhost, OutOfMemoryForAPictureIsSaidAndNothingHalfWritten)
{
    host::TempDir dir;
    const games::Game& game = games::Pictures().front();
    auto shot = [&](int16_t width, int16_t height) {
        const std::string black(size_t(width) * height * game.image->bytesPerPixel, '\0');
        shot_support::ScreenShot screen;
        shot_support::BestShot best;
        screen.width = best.width = width;
        screen.height = best.height = height;
        return testing_support::ShotOf(game, screen, best, EncodeLzss(black.data(), black.size()));
    };
    dir.Write(game.FileName("0000"), shot(40, 30));
    dir.Write(game.FileName("0001"), shot(800, 600));
    const std::string pictures = dir.Path("pictures");
    const std::string small = pictures + "\\" + game.FileName("0000").substr(0, game.FileName("0000").rfind('.'));
    const std::string large = pictures + "\\" + game.FileName("0001").substr(0, game.FileName("0001").rfind('.'));
    const Outcome whole = Kvhost({"picture", game.plugin, dir.Path(game.FileName("0000")), "-o", dir.Path("whole.png")});
    ASSERT_EQ(whole.exit, 0) << whole.err;

    // 800 x 600 pixels are 1440000 bytes as red, green and blue, and 1440600
    // as the PNG encoder's rows with their filter bytes.
    for (size_t limit : {size_t(1000000), size_t(1440300)}) {
        Outcome run;
        {
            const AllocationLimit outOfMemory(limit);
            run = Kvhost({"picture", game.plugin, dir.Root(), "-o", pictures, "--force"});
        }
        EXPECT_EQ(run.exit, 1) << limit;
        EXPECT_EQ(run.err, "kvhost: out of memory for the 800 x 600 picture of " + dir.Path(game.FileName("0001")) +
                               "; nothing written to " + large + ".png\n");
        EXPECT_EQ(host::ReadBytes(small + ".png"), host::ReadBytes(dir.Path("whole.png"))) << limit;
        EXPECT_EQ(GetFileAttributesA((large + ".png").c_str()), INVALID_FILE_ATTRIBUTES) << limit;
    }
    // With the memory it needs, the same picture is written.
    EXPECT_EQ(Kvhost({"picture", game.plugin, dir.Root(), "-o", pictures, "--force"}).exit, 0);
    EXPECT_NE(GetFileAttributesA((large + ".png").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Kvhost, InfoColumnsAndAbout)
{
    Outcome run = Kvhost({"info", "kvorarec", Samples("kvorarec\\kvora_udlong.rpy")});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "files: kvora_*.rpy\n"));
    EXPECT_TRUE(Contains(run.out, "-- information --\nVersion "));
    EXPECT_TRUE(Contains(run.out, "-- comment --\nline one\nline two\n\xE3\x81\x82\xE3\x81\x84\n"));
    // Without a comment section the comment pane fails, and says so.
    run = Kvhost({"info", "--all", Samples("kvorarec\\kvora_03.rpy")});
    EXPECT_EQ(run.exit, 1);
    EXPECT_TRUE(Contains(run.out, "== kvorarec.kvp\n"));
    EXPECT_TRUE(Contains(run.out, "-- row --\n(GetFileInfoList answered 2)\n"));
    EXPECT_TRUE(Contains(run.out, "-- comment --\n(GetFileInfoText2 answered 2)\n"));

    run = Kvhost({"columns", "brysspic"});
    ASSERT_EQ(run.exit, 0);
    const size_t ninth = run.out.find("\n  9  ");
    ASSERT_NE(ninth, std::string::npos) << run.out;
    const std::string slowRate = run.out.substr(ninth + 1, run.out.find('\n', ninth + 1) - ninth - 1);
    EXPECT_TRUE(Contains(slowRate, "\xE5\x87\xA6\xE7\x90\x86\xE8\x90\xBD\xE3\x81\xA1\xE7\x8E\x87 "));  // 処理落ち率
    EXPECT_TRUE(Contains(slowRate, "  right  decimal       plug-in")) << slowRate;
    EXPECT_EQ(Lines(run.out), 13u);  // name, titles, eleven columns

    run = Kvhost({"about", "--all"});
    ASSERT_EQ(run.exit, 0);
    for (const games::Game& game : games::All())
        EXPECT_TRUE(Contains(run.out, "== " + std::string(game.plugin) + ".kvp\ndescription: KARVO Plug-in For ")) << game;
    EXPECT_TRUE(Contains(run.out, "serves: columns, list rows, picture\n"));
}

TEST(Kvhost, EditOpensTheCommentEditor)
{
    host::TempDir dir;
    const std::string replay = host::ReadBytes(Samples("taskorec\\tasko_01.rpy"));
    const std::string path = dir.Write("tasko_01.rpy", replay);
    Outcome run;
    auto edit = [&] {
        run = Kvhost({"edit", "--all", path});
        return run.exit;
    };
    EXPECT_EQ(dialog_driver::RunDialog(edit, [](const dialog_driver::Dialog& d) { d.Press(IDCANCEL); }), 1);
    EXPECT_EQ(run.out, "closed without saving; " + path + " is unchanged\n");
    EXPECT_EQ(host::ReadBytes(path), replay);

    EXPECT_EQ(dialog_driver::RunDialog(edit, [](const dialog_driver::Dialog& d) {
        d.SetText("edited by kvhost");
        d.Press(IDOK);
    }), 0);
    EXPECT_EQ(run.out, "comment saved in " + path + "\n");
    EXPECT_TRUE(Contains(Kvhost({"info", "taskorec", path}).out, "-- comment --\nedited by kvhost\n"));
}

TEST(Kvhost, ErrorsSayWhatAndWhereInOneLine)
{
    host::TempDir dir;
    const std::string shot = Samples("brysspic\\sc0000.dat");
    const std::string shotBytes = host::ReadBytes(shot);
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string message;
    };
    const Case cases[] = {
        {{"list", "nosuch", Samples("kvorarec")}, 1, "\\nosuch.kvp not found"},
        {{"about", "C:\\windows\\system32\\kernel32.dll"}, 1, "is not a plug-in: it has no export GetPluginInfo"},
        {{"list", "kvorarec", Samples("nothing-here")}, 1, "\\samples\\nothing-here does not exist"},
        {{"info", "kvorarec", Samples("kvorarec\\kvora_99.rpy")}, 1, "does not exist"},
        {{"picture", "brysspic", shot, "-o", dir.Write("file", "x") + "\\y.png"}, 1,
         dir.Path("file") + " is a file, not a folder"},
        {{"picture", "brysspic", shot, "-o", shot}, 2, "must end in .png or .bmp"},
        {{"picture", "kvorarec", shot, "-o", dir.Path("x.png")}, 1, "kvorarec.kvp has no pictures"},
        {{"edit", "brysspic", shot}, 1, "brysspic.kvp has no comment editor"},
        {{"edit", "--all", shot}, 1, "no replay plug-in accepts "},
        {{"frob", "kvorarec"}, 2, "unknown command frob"},
        {{"list", "kvorarec"}, 2, "wrong number of arguments for list"},
        {{"list", "kvorarec", ".", "--csv", "--json"}, 2, "--csv and --json exclude each other"},
        {{"list", "--all", ".", "--csv"}, 2, "--csv lists one plug-in at a time"},
    };
    for (const Case& c : cases) {
        const Outcome run = Kvhost(c.args);
        EXPECT_EQ(run.exit, c.exit) << c.message;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(Lines(run.err), 1u) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // A picture is never written over a file, even one renamed to .png.
    const std::string renamed = dir.Write("sc0000.png", shotBytes);
    const Outcome run = Kvhost({"picture", "brysspic", renamed, "-o", renamed});
    EXPECT_EQ(run.exit, 1);
    EXPECT_TRUE(Contains(run.err, "will not write the picture over ")) << run.err;
    EXPECT_EQ(host::ReadBytes(renamed), shotBytes);
}

}  // namespace
