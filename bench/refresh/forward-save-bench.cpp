// ZTPListWriteProfile_All in the panel: the write test, every chunk and the rename, each
// a run of the helper, against the service named by $T48_XPC_SOCKET under $T48_ROOT.

#include <benchmark/benchmark.h>

#include <memory>

#include "profile-plist.hpp"
#include "profile-store.hpp"
#include "split-char-every.hpp"
#include "test-profile-lists.hpp"

namespace {

// state.range(0): used slots per list. Every save writes all 500 slots of every field,
// so even empty lists make a complete file of several chunks ("chunks" counter).
void BM_ForwardedSave(benchmark::State& state) {
    auto lists = std::make_unique<t48::store::ProfileList[]>(t48::store::kProfileClassCount);
    t48::testing::fillProfileLists(1, lists.get(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (t48::store::ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) !=
            t48::store::kStoreOK) {
            state.SkipWithError("the save failed: is the service running under $T48_ROOT?");
            break;
        }
    }
    std::string xml;
    t48::store::detail::serializeProfileLists(&lists[0], &lists[1], &lists[2], &xml);
    state.counters["chunks"] =
        static_cast<double>(t48::store::panel::splitCharEvery(xml, 90000).size());
}
BENCHMARK(BM_ForwardedSave)->Arg(0)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();

// The part of the save that runs no helper: building and serialising the property list.
void BM_SerializeOnly(benchmark::State& state) {
    auto lists = std::make_unique<t48::store::ProfileList[]>(t48::store::kProfileClassCount);
    t48::testing::fillProfileLists(1, lists.get(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string xml;
        t48::store::detail::serializeProfileLists(&lists[0], &lists[1], &lists[2], &xml);
        benchmark::DoNotOptimize(xml);
    }
}
BENCHMARK(BM_SerializeOnly)->Arg(0)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
