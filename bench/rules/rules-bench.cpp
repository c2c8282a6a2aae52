// One run of the Color Options rules over the combined table of both panes.
#include <benchmark/benchmark.h>

#include "combined-panel.hpp"
#include "constraint-engine.hpp"

namespace {

using t48::pde::testing::CombinedPanel;

// Color as Grayscale on, Quick Color at a preset, EconoMode on: most rules hold, and
// rule 2 changes a value.
void BM_ConstraintsCombinedTable(benchmark::State& state) {
    CombinedPanel panel;
    panel.checkBox("ColorAsGrayCheckBox").setState(1);
    panel.checkBox("EconoModeCheckBox").setState(1);
    panel.popup("QuickColorPopup").selectItemAtIndex(0);
    for (auto _ : state) {
        t48::pde::vColorPresetConstraints(panel.combinedTable());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ConstraintsCombinedTable);

}  // namespace

BENCHMARK_MAIN();
