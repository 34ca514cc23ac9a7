// What the host pays at its start for each plug-in: LoadLibraryA and
// FreeLibrary of each file, ROUNDS times in one process; the best load time
// counts. The host is a windowed program, so USER32 and GDI32 are loaded
// first: otherwise a replay plug-in's time would be mostly theirs, loaded and
// dropped again with it every round.
//   load_bench [--rounds N] PLUGIN.kvp...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Timing.h"

int main(int argc, char** argv)
{
    int rounds = 50;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--rounds") == 0) {
        rounds = std::atoi(argv[2]);
        first = 3;
    }
    if (first >= argc || rounds < 1) {
        std::fprintf(stderr, "usage: load_bench [--rounds N] PLUGIN.kvp...\n");
        return 2;
    }
    if (!LoadLibraryA("user32.dll") || !LoadLibraryA("gdi32.dll")) {
        std::fprintf(stderr, "load_bench: USER32 or GDI32 does not load\n");
        return 1;
    }
    for (int i = first; i < argc; ++i) {
        double best = 1e9;
        for (int r = 0; r < rounds; ++r) {
            const double start = Now();
            const HMODULE module = LoadLibraryA(argv[i]);
            const double took = Now() - start;
            if (!module) {
                std::fprintf(stderr, "load_bench: %s does not load (error %lu)\n", argv[i], GetLastError());
                return 1;
            }
            FreeLibrary(module);
            if (took < best) best = took;
        }
        std::printf("%-40s %8.3f ms (best of %d)\n", argv[i], best * 1e3, rounds);
    }
    return 0;
}
