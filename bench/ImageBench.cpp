// DecodeLzss against the step-by-step decoder, on the pictures the plug-ins
// decode: output throughput of each, and at the end how many times faster
// DecodeLzss is on each stream, and DecodeLzssRows writing the picture
// bottom-up as the plug-ins do. On a busy machine, run with
// --benchmark_repetitions=N: the ratios then compare the medians.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "image/Lzss.h"
#include "tools/LzssEncoder.h"
#include "tools/LzssReference.h"
#include "tools/SamplePicture.h"

namespace {

using Decoder = void (*)(const void*, uint32_t, void*, uint32_t) noexcept;

struct Stream {
    std::string picture;
    std::string encoded;
};

// A 640 x 480 screenshot-like picture, encoded with copies or with literals only.
const Stream& Sample(uint32_t bytesPerPixel, bool literalsOnly)
{
    static std::map<std::pair<uint32_t, bool>, Stream> made;
    Stream& s = made[{bytesPerPixel, literalsOnly}];
    if (s.picture.empty()) {
        s.picture = MakeSamplePicture(640, 480, bytesPerPixel, 1);
        LzssEncodeOptions options;
        options.literalsOnly = literalsOnly;
        s.encoded = EncodeLzss(s.picture.data(), s.picture.size(), options);
    }
    return s;
}

void Decode(benchmark::State& state, Decoder decode, uint32_t bytesPerPixel, bool literalsOnly)
{
    const Stream& s = Sample(bytesPerPixel, literalsOnly);
    std::vector<char> out(s.picture.size());
    for (auto _ : state) {
        decode(s.encoded.data(), uint32_t(s.encoded.size()), out.data(), uint32_t(out.size()));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    if (std::string(out.begin(), out.end()) != s.picture) state.SkipWithError("decoded picture differs");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
    state.counters["stream_bytes"] = double(s.encoded.size());
}

// The rows of 640 pixels bottom-up, the last row first in memory.
void DecodeRows(benchmark::State& state, uint32_t bytesPerPixel)
{
    const Stream& s = Sample(bytesPerPixel, false);
    std::vector<unsigned char> out(s.picture.size());
    const uint32_t row = 640 * bytesPerPixel, height = uint32_t(out.size() / row);
    const LzssRows rows{out.data() + size_t(height - 1) * row, -ptrdiff_t(row), row, height};
    for (auto _ : state) {
        DecodeLzssRows(s.encoded.data(), uint32_t(s.encoded.size()), rows);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    for (uint32_t y = 0; y < height; ++y) {
        if (s.picture.compare(size_t(y) * row, row, reinterpret_cast<const char*>(rows.first) - ptrdiff_t(y) * row,
                              row) != 0) {
            state.SkipWithError("decoded picture differs");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
    state.counters["stream_bytes"] = double(s.encoded.size());
}

// Prints, after the usual table, DecodeLzss's speed over the reference's for
// each stream, and how DecodeLzssRows's time compares with DecodeLzss's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions, the medians stand for the runs.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            // Decode/DECODER/STREAM
            const std::string name = run.run_name.str();
            const auto first = name.find('/');
            const auto last = name.rfind('/');
            if (first == last || run.error_occurred) continue;
            m_speeds[name.substr(last + 1)][name.substr(first + 1, last - first - 1)] =
                run.counters.at("bytes_per_second");
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& [stream, speeds] : m_speeds) {
            const auto fast = speeds.find("DecodeLzss");
            const auto reference = speeds.find("DecodeLzssReference");
            if (fast == speeds.end() || reference == speeds.end()) continue;
            std::printf("%-22s DecodeLzss %7.1f MB/s  reference %6.1f MB/s  ratio %.2fx (MB = 10^6 bytes)\n", stream.c_str(),
                        fast->second / 1e6, reference->second / 1e6, fast->second / reference->second);
            const auto rows = speeds.find("DecodeLzssRows");
            if (rows != speeds.end())
                std::printf("%-22s DecodeLzssRows, bottom-up %7.1f MB/s  %.2fx DecodeLzss's time\n", "", rows->second / 1e6,
                            fast->second / rows->second);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> m_speeds;
};

}  // namespace

BENCHMARK_CAPTURE(Decode, DecodeLzss/picture_640x480x32, &DecodeLzss, 4, false);
BENCHMARK_CAPTURE(Decode, DecodeLzssReference/picture_640x480x32, &DecodeLzssReference, 4, false);
BENCHMARK_CAPTURE(Decode, DecodeLzss/picture_640x480x24, &DecodeLzss, 3, false);
BENCHMARK_CAPTURE(Decode, DecodeLzssReference/picture_640x480x24, &DecodeLzssReference, 3, false);
BENCHMARK_CAPTURE(Decode, DecodeLzss/literals_640x480x32, &DecodeLzss, 4, true);
BENCHMARK_CAPTURE(DecodeRows, DecodeLzssRows/picture_640x480x32, 4);
BENCHMARK_CAPTURE(DecodeRows, DecodeLzssRows/picture_640x480x24, 3);
BENCHMARK_CAPTURE(Decode, DecodeLzssReference/literals_640x480x32, &DecodeLzssReference, 4, true);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
