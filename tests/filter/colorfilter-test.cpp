// The real t48-colorfilter program as CUPS runs it (job, user, title, copies, options,
// the job on standard input, the queue's PPD in $PPD): the panel's choices it puts into
// the setup pstops wrote, the profile commands it adds, and jobs it must leave alone.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "added-profile-text.hpp"
#include "child-process.hpp"
#include "pdehost-run.hpp"
#include "system-paths.hpp"

namespace t48::testing {
namespace {

const std::string kJob =
    "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n[{\n%%BeginFeature: *ZTImageRGBSource None\n"
    "<</ZTImageRGBSource /None>>setpagedevice\n%%EndFeature\n} stopped cleartomark\n"
    "%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n";

std::string filterProgram() {
    return binaryDir() + "/filter/t48-colorfilter";
}

// The filter with the queue's PPD `ppd` (the sample PPD unless given) and `environment`.
RunResult filter(const std::string& options, const std::string& input = kJob,
                 const std::string& file = {}, const std::vector<std::string>& environment = {},
                 const std::string& program = filterProgram()) {
    std::vector<std::string> argv = {program, "7", "root", "page", "1", options};
    if (!file.empty()) {
        argv.push_back(file);
    }
    std::vector<std::string> env = environment;
    if (std::none_of(env.begin(), env.end(), [](const auto& e) { return e.starts_with("PPD="); })) {
        env.push_back("PPD=" + samplePPD());
    }
    return runProgram(argv, env, input);
}

std::string encoded(const std::string& path) {
    return pde::encodeAddedProfilePath(path);
}

TEST(ColorFilter, PutsTheSelectedProfilesAtTheEndOfTheSetup) {
    // Under Quick Color "Custom" (UserDefined): a preset would choose the popups' items.
    const RunResult run = filter(
        "ZTQuickColor=UserDefined ZTImageRGBSourceCustom "
        "ZTImageRGBSourceCustomFilename=" +
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
    const std::string job = "%!PS-Adobe-3.0\n%%BeginSetup\n%%EndSetup\n%%Page: 1 1\nshowpage\n";
    const RunResult run = filter(
        "ZTQuickColor=UserDefined ZTImageRGBSourceCustom=True ZTImageRGBSourceCustomFilename=" +
            path +
            " ZTImageRGBSource=WideRGB ZTTextRGBSourceCustom=True ZTTextRGBSourceCustomFilename=" +
            path +
            " ZTTextRGBSource=none ZTQuickColorCustom=True ZTQuickColorCustomFilename=" + path,
        job);
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
    const std::string options =
        "ZTQuickColor=UserDefined ZTSimSourceCustom=True ZTSimSourceCustomFilename=" +
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
        {"PPD=" + samplePPD()});
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
    const RunResult run =
        filter("ZTQuickColor=UserDefined ZTImageRGBSourceCustom=True " + GetParam());
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

TEST(ColorFilter, APdfJobThatPdftopsCannotConvertFailsTheJob) {
    const RunResult run = filter("ColorModel=Gray", "%PDF-1.4\nno document\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("ERROR: t48-colorfilter: pdftops could not convert the job"),
              std::string::npos)
        << run.err;
}

TEST(ColorFilter, AJobWithoutSetupPassesWithOneWarning) {
    const std::string job = "%!PS\nshowpage\n";
    const RunResult run = filter("ZTSimSourceCustom=True ZTSimSourceCustomFilename=" +
                                     encoded("/ata1a/data/USfiles/Profiles/s.icc"),
                                 job);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, job);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

// The choices of the sample PPD's options as pstops marks them: each option's default,
// then `chosen`.
std::map<std::string, std::string> markedChoices(
    const std::map<std::string, std::string>& chosen = {}) {
    std::ifstream ppd(samplePPD());
    std::map<std::string, std::string> choices;
    const std::string prefix = "*Default";
    for (std::string line; std::getline(ppd, line);) {
        if (line.starts_with(prefix + "ZT") || line.starts_with(prefix + "ColorModel:")) {
            const size_t colon = line.find(": ");
            choices[line.substr(prefix.size(), colon - prefix.size())] = line.substr(colon + 2);
        }
    }
    for (const auto& [option, choice] : chosen) {
        choices[option] = choice;
    }
    return choices;
}

// One option's feature block as pstops writes it with the sample PPD.
std::string featureBlock(const std::string& option, const std::string& choice) {
    // ColorModel's choices have no code: pstops writes no line for it.
    const std::string code = option == "ColorModel" ? "" : optionCode(option, choice) + "\n";
    return "[{\n%%BeginFeature: *" + option + " " + choice + "\n" + code +
           "%%EndFeature\n} stopped cleartomark\n";
}

// A job as pstops hands it on: the page size and `choices` (by keyword) in the setup,
// then `setupEnd` and one page.
std::string pstopsJob(const std::map<std::string, std::string>& choices,
                      const std::string& setupEnd = {}) {
    std::string job =
        "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%BeginProlog\n%%EndProlog\n"
        "%%BeginSetup\n[{\n%%BeginFeature: *PageSize A4\n"
        "<</PageSize[595 842]/ImagingBBox null>>setpagedevice\n%%EndFeature\n"
        "} stopped cleartomark\n";
    for (const auto& [option, choice] : choices) {
        job += featureBlock(option, choice);
    }
    return job + setupEnd + "%%EndSetup\n%%Page: 1 1\n0 0 moveto\nshowpage\n%%EOF\n";
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        all.push_back(line);
    }
    std::sort(all.begin(), all.end());
    return all;
}

TEST(ColorFilter, GivesThePrinterThePanelsChoicesEachOnceWithOneLinePerChange) {
    // Vivid, grayscale and separation asked together: the rules switch separation off and
    // the preset sets the advanced options. The setup lacks one block (Image EdgeEnhance,
    // which the preset changes) and ends with a document's own block of Brightness.
    std::map<std::string, std::string> asked = markedChoices(
        {{"ZTQuickColor", "Vivid"}, {"ZTColorAsGray", "True"}, {"ZTColorSeparation", "True"}});
    asked.erase("ZTImageEdgeEnhance");
    const RunResult run = filter("ZTQuickColor=Vivid ZTColorAsGray ZTColorSeparation=True",
                                 pstopsJob(asked, featureBlock("ZTBrightness", "Darker")));
    EXPECT_EQ(run.exitStatus, 0);

    const std::map<std::string, std::pair<std::string, std::string>> changed = {
        {"ColorModel", {"RGB", "Gray"}},
        {"ZTColorSeparation", {"True", "False"}},
        {"ZTBrightness", {"Darker", "Normal"}},
        {"ZTImageEdgeEnhance", {"Off", "On"}},
        {"ZTImageRenderIntent", {"Perceptual", "Saturation"}},
        {"ZTTextRenderIntent", {"Perceptual", "Saturation"}},
        {"ZTGraphicsRenderIntent", {"Perceptual", "Saturation"}},
        {"ZTImageGrayTreatment", {"BlackOnly", "CompositeBlack"}},
        {"ZTTextGrayTreatment", {"BlackOnly", "CompositeBlack"}},
        {"ZTGraphicsGrayTreatment", {"BlackOnly", "CompositeBlack"}},
        {"ZTImageHalftone", {"Smooth", "Detail"}},
        {"ZTTextHalftone", {"Smooth", "Detail"}},
        {"ZTGraphicsHalftone", {"Smooth", "Detail"}}};
    std::map<std::string, std::string> printed = asked;
    std::string info;
    for (const auto& [option, choices] : changed) {
        printed[option] = choices.second;
        info += "INFO: t48-colorfilter: " + option + " asked " + choices.first + ", printed " +
                choices.second + "\n";
    }
    printed.erase("ZTImageEdgeEnhance");
    // The missing block is added at the end of the setup; the document's own block of
    // Brightness goes whole.
    EXPECT_TRUE(run.out == pstopsJob(printed, featureBlock("ZTImageEdgeEnhance", "On"))) << run.out;
    EXPECT_EQ(lines(run.err), lines(info));
}

TEST(ColorFilter, ThePanelsOwnJobPassesAsItCame) {
    // A dialog's Print: the panel saved (at the end of a session), then its last word.
    const TempDir dir;
    const std::vector<std::string> session = {"--ppd", samplePPD(), "--printer",
                                              "T48",   "--ticket",  dir.file("ticket.plist")};
    std::vector<std::string> arguments = session;
    arguments.insert(arguments.end(), {"set", "menu_QuickColor=1", "set", "check_EconomyPrint=1"});
    ASSERT_EQ(host(arguments).exitStatus, 0);
    arguments = session;
    arguments.push_back("print");
    const RunResult panel = host(arguments);
    ASSERT_EQ(panel.exitStatus, 0) << panel.err;
    const std::string options =
        query(panel.out, "' '.join(k + '=' + v for k, v in docs[0].items() if k.startswith('ZT'))");
    std::map<std::string, std::string> choices;
    std::istringstream words(options);
    for (std::string word; words >> word;) {
        const std::string option = word.substr(0, word.find('='));
        if (!option.ends_with("Custom") && !option.ends_with("CustomFilename")) {
            choices[option] = word.substr(word.find('=') + 1);
        }
    }
    ASSERT_EQ(choices.size(), 29u) << options;
    ASSERT_EQ(choices["ZTQuickColor"], "Photo");
    const std::string job = pstopsJob(choices);
    const RunResult run = filter(options, job);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out == job) << run.out;
}

struct UnresolvedCase {
    const char* name;
    std::string ppd;
    bool besidePlugIn;  // the filter in its build tree, beside the plug-in
    int warnings;
};

class UnresolvedJob : public ::testing::TestWithParam<UnresolvedCase> {};

TEST_P(UnresolvedJob, PassesAsItCame) {
    const TempDir dir;
    std::string program = filterProgram();
    if (!GetParam().besidePlugIn) {
        std::filesystem::create_directory(dir.file("bin"));
        program = dir.file("bin/t48-colorfilter");
        std::filesystem::copy_file(filterProgram(), program);
    }
    const std::string job = pstopsJob(markedChoices({{"ZTQuickColor", "Vivid"}}));
    const RunResult run = filter("ZTQuickColor=Vivid", job, {}, {"PPD=" + GetParam().ppd}, program);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(run.out == job) << run.out;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), GetParam().warnings) << run.err;
    EXPECT_EQ(run.err.rfind("WARNING: t48-colorfilter: ", 0),
              GetParam().warnings ? 0 : std::string::npos)
        << run.err;
}

INSTANTIATE_TEST_SUITE_P(Cases, UnresolvedJob,
                         ::testing::Values(UnresolvedCase{"NoPlugIn", samplePPD(), false, 1},
                                           UnresolvedCase{"NoPPD", "/nonexistent/T48.ppd", true, 1},
                                           UnresolvedCase{"NotAT48", dataPPD("generic-ps.ppd"),
                                                          true, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// What is opened or read in some folders while a watch lasts.
class OpenWatch {
public:
    explicit OpenWatch(const std::vector<std::string>& folders)
        : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const std::string& folder : folders) {
            EXPECT_GE(inotify_add_watch(fd_, folder.c_str(), IN_OPEN | IN_ACCESS), 0) << folder;
        }
    }
    ~OpenWatch() { close(fd_); }
    // The names of the entries opened or read since the last call ("." for a folder).
    std::set<std::string> seen() {
        std::set<std::string> names;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                names.insert(event->len > 0 ? event->name : ".");
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd_;
};

TEST(ColorFilter, ReadsNoProfileFileAndStartsNoHelper) {
    // A profile file of the user the filter runs as, and the helper, where a dialog's
    // panel finds them.
    const TempDir root;
    const std::string preferences =
        root.path() + std::string(installedPath(SystemPath::kPreferencesFolder));
    const std::filesystem::path helper =
        root.path() + std::string(installedPath(SystemPath::kHelper));
    std::filesystem::create_directories(preferences);
    std::filesystem::create_directories(helper.parent_path());
    const std::string profileFile = std::string(getpwuid(getuid())->pw_name) + "-T48-profile.plist";
    std::ofstream(preferences + "/" + profileFile) << "<plist version=\"1.0\"><dict/></plist>\n";
    std::filesystem::copy_file(binaryDir() + "/Helper/T48Helper/T48Helper", helper);
    OpenWatch watch({preferences, helper.parent_path()});

    const std::vector<std::string> rooted = {"T48_ROOT=" + root.path(),
                                             "LANGUAGE=", "LANG=C.UTF-8"};
    const RunResult run = filter(
        "ZTQuickColor=UserDefined ZTImageRGBSourceCustom=True "
        "ZTImageRGBSourceCustomFilename=" +
            encoded("/ata1a/data/USfiles/Profiles/p.icc"),
        kJob, {}, rooted);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_NE(run.out.find("<</ZTImageRGBSourceProfile"), std::string::npos);
    EXPECT_EQ(watch.seen(), std::set<std::string>{});
    // The same panel in a dialog reads the file and starts the helper.
    ASSERT_EQ(host({"--ppd", samplePPD(), "--printer", "T48", "show"}, rooted).exitStatus, 0);
    const std::set<std::string> seen = watch.seen();
    EXPECT_TRUE(seen.count(profileFile) == 1 && seen.count(helper.filename()) == 1)
        << "the watch saw " << ::testing::PrintToString(seen);
}

}  // namespace
}  // namespace t48::testing
