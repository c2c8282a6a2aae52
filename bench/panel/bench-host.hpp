#pragma once
// The host side of the in-process panel benchmarks: a callback object over an open
// PPD, fresh print settings and a session with a current printer.

#include <benchmark/benchmark.h>

#include <string>

#include "pde-bundle.hpp"
#include "pde-plugin.hpp"
#include "ppd-file.hpp"

namespace t48::pde::bench {

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

inline ppd_file_s* openSample(benchmark::State& state) {
    holdPluginBundle(t48::bundle::Bundle::forLibraryPath(T48_BUILT_PLUGIN));
    std::string error;
    ppd_file_s* ppd = ppd::openPPDFile(T48_SAMPLE_PPD, error);
    if (ppd == nullptr) {
        state.SkipWithError(error.c_str());
    }
    return ppd;
}

}  // namespace t48::pde::bench
