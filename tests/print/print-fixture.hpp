#pragma once
// The print path of these tests, shared by a whole test program: a private cupsd with the
// colour filter, the simulated printer's LPD side, and pdehost sessions on the cupsd's
// queues under a test root (where the user's profile file lies).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "child-process.hpp"
#include "lpd-printer.hpp"
#include "pdehost-run.hpp"
#include "private-cupsd.hpp"

namespace t48::testing {

// Each test program's own addresses, from its build definitions.
inline constexpr char kCupsdListen[] = T48_PRINT_CUPSD;
inline constexpr char kPrinterAddress[] = T48_PRINT_PRINTER;
inline constexpr int kPrinterPort = T48_PRINT_LPD_PORT;

class PrintPath : public ::testing::Test {
public:
    // Stops the server and the printer (once the program's tests are done).
    static void stopAll();

protected:
    // Starts the server and the printer for the program's first suite.
    static void SetUpTestSuite();
    void SetUp() override;

    // Creates a queue on the simulated printer (the sample PPD unless `ppd` is given).
    static void addQueue(const std::string& name, const std::string& ppd = {});
    // The environment of a client of the cupsd, with English texts and the test root
    // (or `extra`'s T48_ROOT ...).
    std::vector<std::string> environment(const std::vector<std::string>& extra = {}) const;
    // pdehost with `arguments` against the cupsd.
    RunResult pdehost(std::vector<std::string> arguments,
                      const std::vector<std::string>& extra = {}) const;
    // Submits nothing itself: waits for the printer's next job after those it had.
    ReceivedJob nextJob();
    static std::unique_ptr<PrivateCupsd> cupsd_;
    static std::unique_ptr<LpdPrinter> printer_;
    TempDir root_;
    size_t jobsBefore_ = 0;
};

// A one-page PostScript document.
std::string pagePS();

}  // namespace t48::testing
