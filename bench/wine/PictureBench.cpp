// Path-mode cost of GetFileInfoImage2 per picture through a built picture
// plug-in, against the bare open and read of the same files.
//   picture_bench PLUGIN.kvp [FILES] [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/PluginExports.h"
#include "image/Lzss.h"
#include "Timing.h"
#include "tools/games/ShotBuilder.h"
#include "tools/LzssEncoder.h"
#include "tools/SamplePicture.h"

namespace {


}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: picture_bench PLUGIN.kvp [FILES] [ROUNDS]\n");
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 20;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
    HMODULE plugin = LoadLibraryA(argv[1]);
    const PluginExportTable exports = plugin ? FindPluginExports(plugin) : PluginExportTable();
    const auto image = exports.GetFileInfoImage2;
    const auto info = exports.GetPluginInfo;
    if (!image || !info) {
        std::fprintf(stderr, "picture_bench: %s is not a picture plug-in\n", argv[1]);
        return 1;
    }
    char pattern[64] = {};
    info(2, pattern, sizeof pattern);
    const bool screenshot = std::strcmp(pattern, "sc*.dat") == 0;
    const uint32_t depth = screenshot ? 4 : 3;

    const std::string picture = MakeSamplePicture(640, 480, depth, 7);
    const std::string stream = EncodeLzss(picture.data(), picture.size());
    std::string file;
    if (screenshot) {
        shot_support::ScreenShot s;
        s.width = 640;
        s.height = 480;
        file = shot_support::ScreenShotFile(s, stream);
    } else {
        shot_support::BestShot s;
        s.width = 640;
        s.height = 480;
        file = shot_support::BestShotFile(s, stream);
    }

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        files.push_back(std::string(temp) + "kvp-picture-bench-" + std::to_string(i) + ".dat");
        HANDLE f = CreateFileA(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, file.data(), DWORD(file.size()), &written, nullptr);
        CloseHandle(f);
    }

    std::vector<char> buffer(file.size());
    const double bare = PerFile(files, rounds, [&](const std::string& f) {
        HANDLE h = CreateFileA(f.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD got = 0;
        ReadFile(h, buffer.data(), DWORD(buffer.size()), &got, nullptr);
        CloseHandle(h);
    });
    const double decoded = PerFile(files, rounds, [&](const std::string& f) {
        HLOCAL bits = nullptr, header = nullptr;
        if (image(f.c_str(), 0, &bits, &header) == 0) {
            LocalFree(bits);
            LocalFree(header);
        }
    });
    std::string scratch(picture.size(), '\0');
    const double decodeOnly = PerFile(files, rounds, [&](const std::string&) {
        DecodeLzss(stream.data(), uint32_t(stream.size()), &scratch[0], uint32_t(scratch.size()));
    });
    std::printf("640x480 at %u bytes per pixel, file %zu bytes (stream %zu), median of %d rounds over %d files\n",
                depth, file.size(), stream.size(), rounds, count);
    std::printf("bare open + whole read      %9.1f us\n", bare);
    std::printf("GetFileInfoImage2 (path)    %9.1f us   %.1f MB/s of pixels\n", decoded,
                double(picture.size()) / decoded);
    std::printf("DecodeLzss alone, this process %9.1f us   %.1f MB/s\n", decodeOnly, double(picture.size()) / decodeOnly);
    for (const std::string& f : files) DeleteFileA(f.c_str());
    FreeLibrary(plugin);
    return 0;
}
