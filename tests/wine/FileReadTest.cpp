// What the plug-ins read of a file in path mode, counted where they ask the
// system for it: IsSupported reads the first four bytes and nothing more, so
// that the host can probe a large folder cheaply, and the exports that need
// the whole file read it once.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "wine/ImportHook.h"
#include "wine/PluginHost.h"

using games::Game;

namespace {

using ReadFileFn = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);

// What the plug-in under test asked ReadFile for; one test at a time.
struct Reads {
    int calls = 0;
    uint64_t asked = 0;
    uint64_t got = 0;
};
Reads g_reads;
ReadFileFn g_readFile = nullptr;

BOOL WINAPI CountingReadFile(HANDLE file, LPVOID to, DWORD count, LPDWORD got, LPOVERLAPPED overlapped)
{
    DWORD local = 0;
    if (!got) got = &local;
    const BOOL ok = g_readFile(file, to, count, got, overlapped);
    ++g_reads.calls;
    g_reads.asked += count;
    g_reads.got += *got;
    return ok;
}

class FileReads : public ::testing::TestWithParam<Game> {};

TEST_P(FileReads, IsSupportedReadsFourBytesAndTheOthersReadTheFileOnce)
{
    const Game& game = GetParam();
    const host::Plugin plugin(game.plugin);
    ASSERT_TRUE(plugin.module) << host::PluginPath(game.plugin);
    const auto isSupported = plugin.exports.IsSupported;
    const auto list = plugin.exports.GetFileInfoList;
    ASSERT_TRUE(isSupported && list);
    const host::ImportHook hook(plugin.module, "KERNEL32.dll", "ReadFile",
                                reinterpret_cast<const void*>(&CountingReadFile));
    ASSERT_TRUE(hook.Installed()) << "the plug-in reads files without ReadFile";
    g_readFile = reinterpret_cast<ReadFileFn>(hook.Original());

    host::TempDir dir;
    const std::string file = game.Magic() + std::string(1 << 20, 'x');
    const std::string path = dir.Write("large", file);
    g_reads = {};
    EXPECT_EQ(isSupported(path.c_str(), 0), 1);
    EXPECT_EQ(g_reads.asked, 4u);
    EXPECT_EQ(g_reads.got, 4u);

    g_reads = {};
    host::Block row;
    list(path.c_str(), 0, &row.handle);   // whatever it makes of the x's
    EXPECT_EQ(g_reads.got, file.size());
    EXPECT_EQ(g_reads.asked, file.size());
}

INSTANTIATE_TEST_SUITE_P(Plugins, FileReads, ::testing::ValuesIn(games::All()),
                         [](const auto& info) { return std::string(info.param.plugin); });

}  // namespace
