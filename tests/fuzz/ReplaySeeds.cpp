// A fuzz target's seeds through its entry point, for the builds without
// libFuzzer (the 32-bit one): seeds_TARGET FOLDER...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t length);

int main(int argc, char** argv)
{
    size_t seeds = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i]))
            if (entry.is_regular_file()) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const std::filesystem::path& path : files) {
            std::ifstream file(path, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            // In a block of exactly its size, as libFuzzer hands an input over.
            const std::unique_ptr<uint8_t[]> input(new uint8_t[bytes.size()]);
            std::memcpy(input.get(), bytes.data(), bytes.size());
            LLVMFuzzerTestOneInput(input.get(), bytes.size());
            ++seeds;
        }
    }
    std::printf("replayed %zu seeds\n", seeds);
    return seeds ? 0 : 1;
}
