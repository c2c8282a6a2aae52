// The panel's load (myLoad) plus restore plus save over the sample PPD, in-process:
// what a print dialog waits for when it opens the panel and when it closes it.

#include <benchmark/benchmark.h>

#include "pde-bundle.hpp"
#include "pde-plugin.hpp"
#include "ppd-file.hpp"

namespace {

using namespace t48::pde;

class BenchHost : public PDEHostCallback {
public:
    explicit BenchHost(ppd_file_s* ppd) : ppd_(ppd) {
        session_.setCurrentPrinter(t48::cf::Printer("T48_Office", ""));
    }
    t48::cf::PrintSettings* printSettings() override { return &settings_; }
    t48::cf::PrintSession* printSession() override { return &session_; }
    ppd_file_s* ppdFile() override { return ppd_; }

private:
    ppd_file_s* ppd_;
    t48::cf::PrintSettings settings_;
    t48::cf::PrintSession session_;
};

ppd_file_s* openSample(benchmark::State& state) {
    holdPluginBundle(t48::bundle::Bundle::forLibraryPath(T48_BUILT_PLUGIN));
    std::string error;
    ppd_file_s* ppd = openPPDFile(T48_SAMPLE_PPD, error);
    if (ppd == nullptr) {
        state.SkipWithError(error.c_str());
    }
    return ppd;
}

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
    closePPDFile(ppd);
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
    closePPDFile(ppd);
}
BENCHMARK(BM_RestoreSave)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
