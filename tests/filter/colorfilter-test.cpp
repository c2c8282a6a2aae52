// The real t48-colorfilter program as CUPS runs it (job, user, title, copies, options,
// the job on standard input, the queue's PPD in $PPD): the profile commands it adds, and
// jobs it must leave alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "added-profile-text.hpp"
#include "child-process.hpp"

namespace t48::testing {
namespace {

const std::string kJob =
    "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n[{\n%%BeginFeature: *ZTImageRGBSource None\n"
    "<</ZTImageRGBSource /None>>setpagedevice\n%%EndFeature\n} stopped cleartomark\n"
    "%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n";

RunResult filter(const std::string& options, const std::string& input = kJob,
                 const std::string& file = {}) {
    std::vector<std::string> argv = {
        binaryDir() + "/filter/t48-colorfilter", "7", "root", "page", "1", options};
    if (!file.empty()) {
        argv.push_back(file);
    }
    return runProgram(argv, {"PPD=" + sourceDir() + "/PDE/Resources/T48.ppd"}, input);
}

std::string encoded(const std::string& path) {
    return pde::encodeAddedProfilePath(path);
}

TEST(ColorFilter, PutsTheSelectedProfilesAtTheEndOfTheSetup) {
    const RunResult run = filter("ZTImageRGBSourceCustom ZTImageRGBSourceCustomFilename=" +
                                 encoded("/ata1a/data/USfiles/Profiles/a(b)\\\xC3\xA9.icc") +
                                 " ZTSimSourceCustom=True "
                                 "ZTSimSourceCustomFilename=" +
                                 encoded("/ataCf1a/data/USfiles/Profiles/swop.icc") +
                                 " noZTTextRGBSourceCustom ZTTextRGBSourceCustomFilename=" +
                                 encoded("/ata1a/data/USfiles/Profiles/old.icc"));
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    const std::string inserted =
        "[{\n%%BeginFeature: *ZTImageRGBSourceCustom True\n"
        "<</ZTImageRGBSourceProfile (/ata1a/data/USfiles/Profiles/a\\(b\\)\\\\\\303\\251.icc)>>"
        "setpagedevice\n%%EndFeature\n} stopped cleartomark\n"
        "[{\n%%BeginFeature: *ZTSimSourceCustom True\n"
        "<</ZTSimSourceProfile (/ataCf1a/data/USfiles/Profiles/swop.icc)>>setpagedevice\n"
        "%%EndFeature\n} stopped cleartomark\n";
    std::string expected = kJob;
    expected.insert(expected.find("%%EndSetup"), inserted);
    EXPECT_EQ(run.out, expected);
}

TEST(ColorFilter, HonoursOnlyProfileOptionsLeftAtTheirFirstChoice) {
    const std::string path = encoded("/ata1a/data/USfiles/Profiles/p.icc");
    const RunResult run = filter(
        "ZTImageRGBSourceCustom=True ZTImageRGBSourceCustomFilename=" + path +
        " ZTImageRGBSource=WideRGB ZTTextRGBSourceCustom=True ZTTextRGBSourceCustomFilename=" +
        path + " ZTTextRGBSource=none ZTQuickColorCustom=True ZTQuickColorCustomFilename=" + path);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.find("ZTImageRGBSourceProfile"), std::string::npos)
        << "the user's own choice wins over the added profile";
    EXPECT_EQ(run.out.find("ZTQuickColorProfile"), std::string::npos) << "not a profile option";
    EXPECT_NE(run.out.find("<</ZTTextRGBSourceProfile (/ata1a/data/USfiles/Profiles/p.icc)>>"),
              std::string::npos)
        << run.out;
}

TEST(ColorFilter, PassesEveryByteOfAJobWithCarriageReturnsNulBytesAndLongLines) {
    std::string binary;
    for (int b = 0; b < 256; ++b) {
        binary += static_cast<char>(b);
    }
    const std::string longLine = "%" + std::string(200000, 'x') + "\r\n";
    const std::string setupEnd = "%%EndSetup\r";
    const std::string job = "%!PS-Adobe-3.0\r%%BeginProlog\r" + longLine +
                            "%%BeginData: 256 Binary Bytes\r" + binary + "\r%%EndData\r" +
                            "%%EndProlog\r%%BeginSetup\r" + setupEnd + "%%Page: 1 1\r" + binary +
                            longLine + "showpage\r%%EOF";
    const std::string options = "ZTSimSourceCustom=True ZTSimSourceCustomFilename=" +
                                encoded("/ata1a/data/USfiles/Profiles/s.icc");
    std::string expected = job;
    expected.insert(expected.find(setupEnd),
                    "[{\n%%BeginFeature: *ZTSimSourceCustom True\n"
                    "<</ZTSimSourceProfile (/ata1a/data/USfiles/Profiles/s.icc)>>setpagedevice\n"
                    "%%EndFeature\n} stopped cleartomark\n");
    // From a file, as the job is larger than a pipe holds: into a pipe, which the filter
    // fills by splicing, and into a file, which it writes.
    const TempDir dir;
    std::ofstream(dir.file("job.ps"), std::ios::binary) << job;
    const RunResult piped = filter(options, "", dir.file("job.ps"));
    const RunResult written = runProgram(
        {"/bin/sh", "-c", "exec \"$0\" 7 root page 1 \"$1\" \"$2\" >\"$3\"",
         binaryDir() + "/filter/t48-colorfilter", options, dir.file("job.ps"), dir.file("out")},
        {"PPD=" + sourceDir() + "/PDE/Resources/T48.ppd"});
    std::ostringstream file;
    file << std::ifstream(dir.file("out"), std::ios::binary).rdbuf();
    for (const auto& [run, out] : {std::pair{&piped, piped.out}, std::pair{&written, file.str()}}) {
        EXPECT_EQ(run->exitStatus, 0);
        EXPECT_EQ(run->err, "");
        EXPECT_TRUE(out == expected)
            << "the job's bytes changed: " << out.size() << " bytes out for " << expected.size();
    }
}

class HostileOptions : public ::testing::TestWithParam<std::string> {};

TEST_P(HostileOptions, LeaveTheJobAsItCameWithOneWarning) {
    const RunResult run = filter("ZTImageRGBSourceCustom=True " + GetParam());
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, kJob);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("WARNING: ", 0), 0u) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Values, HostileOptions,
    ::testing::Values(
        "", "ZTImageRGBSourceCustomFilename='a \"quoted\" (value)'",
        "ZTImageRGBSourceCustomFilename='line\none\r\n%%EndSetup'",
        "ZTImageRGBSourceCustomFilename=" + std::string(10000, '?'),
        "ZTImageRGBSourceCustomFilename=" + encoded("/etc/passwd"),
        "ZTImageRGBSourceCustomFilename=" + encoded("/ata1a/data/USfiles/Profiles/../x"),
        "ZTImageRGBSourceCustomFilename=" + encoded("/ata1a/data/USfiles/Profiles/a\nb"),
        "ZTImageRGBSourceCustomFilename=" +
            encoded("/ata1a/data/USfiles/Profiles/" + std::string(32, 'x'))));

TEST(ColorFilter, AJobWithoutSetupPassesWithOneWarning) {
    const std::string job = "%!PS\nshowpage\n";
    const RunResult run = filter("ZTSimSourceCustom=True ZTSimSourceCustomFilename=" +
                                     encoded("/ata1a/data/USfiles/Profiles/s.icc"),
                                 job);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, job);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

}  // namespace
}  // namespace t48::testing
