// GetFileInfoImage2 per picture through a built picture plug-in, against
// yardsticks timed in the same process, built with the same compiler and
// flags as the plug-in:
//   floor  a fresh zero-filled block of the bitmap's size with every byte
//          written once: what any picture call costs at least;
//   plain  the bit-at-a-time decoder into such a block (no row order);
//   bare   opening and reading the file, what path mode adds.
// The calls take turns, one of each per round, so that a busy machine slows
// them alike; each figure is the median of its calls.
//   picture_bench PLUGIN.kvp [CALLS] [WIDTH]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/HostMemory.h"
#include "common/PluginExports.h"
#include "Timing.h"
#include "tools/games/ShotBuilder.h"
#include "tools/LzssEncoder.h"
#include "tools/LzssReference.h"
#include "tools/SamplePicture.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: picture_bench PLUGIN.kvp [CALLS] [WIDTH]\n");
        return 2;
    }
    const int calls = std::max(1, argc > 2 ? std::atoi(argv[2]) : 200);
    const uint32_t width = argc > 3 ? uint32_t(std::atoi(argv[3])) : 640;
    const uint32_t height = 480;
    HMODULE plugin = LoadLibraryA(argv[1]);
    const PluginExportTable exports = plugin ? FindPluginExports(plugin) : PluginExportTable();
    const auto image = exports.GetFileInfoImage2;
    const auto info = exports.GetPluginInfo;
    if (!image || !info || width == 0 || width > 16384) {
        std::fprintf(stderr, "picture_bench: %s is not a picture plug-in, or the width is not 1 to 16384\n", argv[1]);
        return 1;
    }
    char pattern[64] = {};
    info(2, pattern, sizeof pattern);
    const bool screenshot = std::strcmp(pattern, "sc*.dat") == 0;
    const uint32_t depth = screenshot ? 4 : 3;

    const std::string picture = MakeSamplePicture(width, height, depth, 7);
    const std::string stream = EncodeLzss(picture.data(), picture.size());
    std::string file;
    if (screenshot) {
        shot_support::ScreenShot s;
        s.width = int16_t(width);
        s.height = int16_t(height);
        file = shot_support::ScreenShotFile(s, stream);
    } else {
        shot_support::BestShot s;
        s.width = int16_t(width);
        s.height = int16_t(height);
        file = shot_support::BestShotFile(s, stream);
    }
    const std::string bitmap = shot_support::BottomUp(picture, width, height, depth);

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "kvp-picture-bench.dat";
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, file.data(), DWORD(file.size()), &written, nullptr);
    CloseHandle(f);

    // The plug-in's bitmap must be the picture, or the times mean nothing.
    HLOCAL bits = nullptr, header = nullptr;
    const bool same = image(file.data(), DWORD(file.size()), &bits, &header) == 0 &&
                      LocalSize(bits) == bitmap.size() && std::memcmp(bits, bitmap.data(), bitmap.size()) == 0;
    LocalFree(bits);
    LocalFree(header);
    if (!same) {
        std::fprintf(stderr, "picture_bench: %s does not give the encoded picture\n", argv[1]);
        DeleteFileA(path.c_str());
        return 1;
    }

    volatile unsigned char sink = 0;
    std::vector<char> buffer(file.size());
    Samples floor, memory, byPath, plain, bare;
    for (int i = 0; i < calls; ++i) {
        floor.Time([&] {
            HLOCAL block = HostAlloc(bitmap.size());
            std::memset(block, 0x5A, bitmap.size());
            sink = sink + static_cast<unsigned char*>(block)[bitmap.size() / 2];
            HostFree(block);
        });
        memory.Time([&] {
            HLOCAL b = nullptr, h = nullptr;
            if (image(file.data(), DWORD(file.size()), &b, &h) == 0) {
                LocalFree(b);
                LocalFree(h);
            }
        });
        plain.Time([&] {
            HLOCAL block = HostAlloc(bitmap.size());
            DecodeLzssReference(stream.data(), uint32_t(stream.size()), block, uint32_t(picture.size()));
            sink = sink + static_cast<unsigned char*>(block)[picture.size() / 2];
            HostFree(block);
        });
        byPath.Time([&] {
            HLOCAL b = nullptr, h = nullptr;
            if (image(path.c_str(), 0, &b, &h) == 0) {
                LocalFree(b);
                LocalFree(h);
            }
        });
        bare.Time([&] {
            HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD got = 0;
            ReadFile(h, buffer.data(), DWORD(buffer.size()), &got, nullptr);
            CloseHandle(h);
        });
    }
    DeleteFileA(path.c_str());
    FreeLibrary(plugin);

    const double tFloor = floor.Median(), tMemory = memory.Median(), tPlain = plain.Median();
    const double tPath = byPath.Median(), tBare = bare.Median();
    const double pixels = double(picture.size());
    std::printf("%s: %ux%u at %u bytes per pixel, bitmap %zu bytes, stream %zu, medians of %d calls\n", argv[1],
                width, height, depth, bitmap.size(), stream.size(), calls);
    std::printf("floor: zero-filled block, every byte written %9.1f us\n", tFloor);
    std::printf("GetFileInfoImage2, memory                    %9.1f us  %6.1f MB/s of pixels  %.2fx the floor\n",
                tMemory, pixels / tMemory, tMemory / tFloor);
    std::printf("plain bit-at-a-time decoder                  %9.1f us  %6.1f MB/s  the call is %.2fx as fast\n",
                tPlain, pixels / tPlain, tPlain / tMemory);
    std::printf("GetFileInfoImage2, path                      %9.1f us  bare open + whole read %.1f us\n", tPath,
                tBare);
    return 0;
}
