// One run of the constraint rules over the real panel's combined table, and one summary,
// on a restored panel over the sample PPD.

#include "bench-host.hpp"
#include "constraint-engine.hpp"

namespace {

using namespace t48::pde;
using t48::pde::bench::BenchHost;
using t48::pde::bench::openSample;

// Color as Grayscale and EconoMode on, Quick Color at a preset: most rules hold.
void BM_ConstraintsPanelCombinedTable(benchmark::State& state) {
    ppd_file_s* ppd = openSample(state);
    BenchHost host(ppd);
    PDEPlugInInterface panel(&host);
    panel.restoreValuesAndReturnError(nullptr);
    panel.onColorView()->check_ColorAsGrayscale->setState(1);
    panel.onColorView()->check_EconomyPrint->setState(1);
    for (auto _ : state) {
        vColorPresetConstraints(panel.compTable());
        benchmark::ClobberMemory();
    }
    t48::ppd::closePPDFile(ppd);
}
BENCHMARK(BM_ConstraintsPanelCombinedTable);

// Argument: the Quick Color index (0 a preset, 3 "Custom").
void BM_SummaryInfo(benchmark::State& state) {
    ppd_file_s* ppd = openSample(state);
    BenchHost host(ppd);
    PDEPlugInInterface panel(&host);
    panel.restoreValuesAndReturnError(nullptr);
    panel.onColorView()->menu_QuickColor->selectItemAtIndex(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        t48::cf::ValueRef summary = panel.summaryInfo();
        benchmark::DoNotOptimize(summary.get());
    }
    t48::ppd::closePPDFile(ppd);
}
BENCHMARK(BM_SummaryInfo)->Arg(0)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
