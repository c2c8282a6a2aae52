// The panel's load (myLoad) plus restore plus save over the sample PPD, in-process:
// what a print dialog waits for when it opens the panel and when it closes it.

#include <benchmark/benchmark.h>

#include "bench-host.hpp"

namespace {

using namespace t48::pde;
using t48::pde::bench::BenchHost;
using t48::pde::bench::openSample;

// One panel object per iteration over an open PPD and fresh print settings.
void BM_LoadRestoreSave(benchmark::State& state) {
    ppd_file_s* ppd = openSample(state);
    for (auto _ : state) {
        BenchHost host(ppd);
        PDEPlugInInterface panel(&host);
        panel.myLoad();
        panel.restoreValuesAndReturnError(nullptr);
        panel.saveValuesAndReturnError(nullptr);
        benchmark::DoNotOptimize(host.printSettings()->dictionary().get());
    }
    t48::ppd::closePPDFile(ppd);
}
BENCHMARK(BM_LoadRestoreSave)->Unit(benchmark::kMicrosecond);

// Restore and save alone on a loaded panel whose ticket already holds every value.
void BM_RestoreSave(benchmark::State& state) {
    ppd_file_s* ppd = openSample(state);
    BenchHost host(ppd);
    PDEPlugInInterface panel(&host);
    panel.myLoad();
    panel.saveValuesAndReturnError(nullptr);
    for (auto _ : state) {
        panel.restoreValuesAndReturnError(nullptr);
        panel.saveValuesAndReturnError(nullptr);
    }
    t48::ppd::closePPDFile(ppd);
}
BENCHMARK(BM_RestoreSave)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
