// The replay core on a typical 60 KiB replay held in memory: whole list rows,
// and the section search and information parse alone.
#include <benchmark/benchmark.h>

#include "common/HostMemory.h"
#include "replay/ReplayContainer.h"
#include "replay/ReplayRows.h"
#include "tools/games/GameReaders.h"
#include "tools/games/ReplayBuilder.h"

using namespace testing_support;

namespace {

const Bytes& TypicalReplay()
{
    static const Bytes file = Replay("kvor", {Info(), Comment("a comment of a typical length, ok")}, 60 * 1024);
    return file;
}

void BM_ListRow(benchmark::State& state)
{
    const Bytes& file = TypicalReplay();
    const CKvoraRec reader;
    for (auto _ : state) {
        HLOCAL row = nullptr;
        benchmark::DoNotOptimize(MakeListInfo(reader, file.data(), uint32_t(file.size()), &row,
                                              "C:\\replay\\kvora_07.rpy"));
        HostFree(row);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ListRow);

void BM_SectionSearch(benchmark::State& state)
{
    const Bytes& file = TypicalReplay();
    for (auto _ : state) {
        const char* text = nullptr;
        uint32_t size = 0;
        benchmark::DoNotOptimize(FindUserSection(1, file.data(), uint32_t(file.size()), &text, &size));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_SectionSearch);

void BM_InformationParse(benchmark::State& state)
{
    const Bytes& file = TypicalReplay();
    const CKvoraRec reader;
    for (auto _ : state) {
        ReplayInfo info;
        benchmark::DoNotOptimize(reader.GetInfo(file.data(), uint32_t(file.size()), info));
    }
}
BENCHMARK(BM_InformationParse);

}  // namespace
