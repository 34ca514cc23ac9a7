// Path-mode cost of listing replays through a plug-in, against the bare cost
// of opening and reading the same files in the same process.
//   list_bench PLUGIN.kvp [FILES] [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "Timing.h"
#include "support/ReplayBuilder.h"

using namespace testing_support;

namespace {

using IsSupportedFn = int(WINAPI*)(LPCSTR, DWORD);
using FileInfoFn = int(WINAPI*)(LPCSTR, DWORD, HLOCAL*);

bool BareRead(const std::string& path, std::vector<char>& buffer, DWORD count)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    const DWORD want = count ? count : size;
    buffer.resize(want);
    DWORD got = 0;
    const bool ok = ReadFile(file, buffer.data(), want, &got, nullptr) && got == want;
    CloseHandle(file);
    return ok;
}

// The load as first designed: test the path, open to measure, close, then
// open again as a stream to read.
bool TwoOpenLoad(const std::string& path, std::vector<char>& buffer, DWORD head)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    const DWORD count = head ? head : size;
    FILE* stream = nullptr;
    if (fopen_s(&stream, path.c_str(), "rb") != 0 || !stream) return false;
    buffer.resize(count);
    const bool ok = std::fread(buffer.data(), count, 1, stream) == 1;
    std::fclose(stream);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: list_bench PLUGIN.kvp [FILES] [ROUNDS]\n");
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 200;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 7;
    HMODULE plugin = LoadLibraryA(argv[1]);
    if (!plugin) {
        std::fprintf(stderr, "list_bench: cannot load %s\n", argv[1]);
        return 1;
    }
    auto isSupported = reinterpret_cast<IsSupportedFn>(reinterpret_cast<void*>(GetProcAddress(plugin, "IsSupported")));
    auto list = reinterpret_cast<FileInfoFn>(reinterpret_cast<void*>(GetProcAddress(plugin, "GetFileInfoList")));

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "kvp-list-bench";
    CreateDirectoryA(dir.c_str(), nullptr);
    const Bytes replay = Replay("kvor", {Info(), Comment("a comment")}, 60 * 1024);
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\kvora_%02d.rpy", 1 + i % 25);
        files.push_back(dir + "\\" + std::to_string(i) + name);
        CreateDirectoryA((dir + "\\" + std::to_string(i)).c_str(), nullptr);
        HANDLE f = CreateFileA(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, replay.data(), DWORD(replay.size()), &written, nullptr);
        CloseHandle(f);
    }

    std::vector<char> buffer;
    const double bareHead = PerFile(files, rounds, [&](const std::string& f) { BareRead(f, buffer, 4); });
    const double bareWhole = PerFile(files, rounds, [&](const std::string& f) { BareRead(f, buffer, 0); });
    const double probe = PerFile(files, rounds, [&](const std::string& f) { isSupported(f.c_str(), 0); });
    const double row = PerFile(files, rounds, [&](const std::string& f) {
        HLOCAL block = nullptr;
        if (isSupported(f.c_str(), 0) == 1 && list(f.c_str(), 0, &block) == 0) LocalFree(block);
    });
    // What the first design costs for the same row: the 4-byte probe, then
    // the export's own probe and whole load (each load opening the file twice),
    // and the two slot patterns compiled on every call.
    const double firstDesign = PerFile(files, rounds, [&](const std::string& f) {
        TwoOpenLoad(f, buffer, 4);
        TwoOpenLoad(f, buffer, 4);
        TwoOpenLoad(f, buffer, 0);
        std::regex numbered("kvora_([[:digit:]]{2}).rpy", std::regex::ECMAScript | std::regex::icase);
        std::regex user("kvora_ud(.{0,4}).rpy", std::regex::ECMAScript | std::regex::icase);
        std::cmatch match;
        std::regex_match("kvora_07.rpy", match, numbered);
    });

    std::printf("files: %d of %zu bytes, median of %d rounds, microseconds per file\n", count, replay.size(), rounds);
    std::printf("bare open + 4-byte read           %8.1f\n", bareHead);
    std::printf("bare open + whole read            %8.1f\n", bareWhole);
    std::printf("IsSupported (path)                %8.1f   ratio to bare 4-byte   %.2f\n", probe, probe / bareHead);
    std::printf("IsSupported + GetFileInfoList     %8.1f   ratio to bare whole    %.2f\n", row, row / bareWhole);
    std::printf("  first design, reproduced here   %8.1f   ratio to bare whole    %.2f\n", firstDesign,
                firstDesign / bareWhole);

    for (const std::string& f : files) {
        DeleteFileA(f.c_str());
        RemoveDirectoryA(f.substr(0, f.rfind('\\')).c_str());
    }
    RemoveDirectoryA(dir.c_str());
    FreeLibrary(plugin);
    return 0;
}
