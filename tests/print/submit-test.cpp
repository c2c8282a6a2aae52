// Jobs from pdehost sessions on queues of a private cupsd, through the real pstops, the
// colour filter and the lpd backend, to the simulated printer: the panel's choices in the
// job's options and in the bytes the printer receives.

#include <cups/cups.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "added-profile-text.hpp"
#include "print-fixture.hpp"

namespace t48::testing {
namespace {

// The option/choice pairs of a job's options (from submit's JSON) whose PPD code must
// be in the printer's bytes (ColorModel has none).
std::vector<std::pair<std::string, std::string>> codedOptions(const std::string& submitted) {
    const std::string listed =
        query(submitted,
              "'\\n'.join(k + ' ' + v for k, v in docs[0]['options'].items() "
              "if not k.endswith('Custom') and not k.endswith('CustomFilename') "
              "and k != 'ColorModel')");
    std::vector<std::pair<std::string, std::string>> pairs;
    std::istringstream lines(listed);
    for (std::string line; std::getline(lines, line);) {
        pairs.emplace_back(line.substr(0, line.find(' ')), line.substr(line.find(' ') + 1));
    }
    return pairs;
}

struct PresetCase {
    int quickColor;
    int econoMode;
    const char* quickColorChoice;
    // Advanced choices that tell the presets and EconoMode apart.
    std::vector<std::pair<const char*, const char*>> advanced;
};

class PresetJob : public PrintPath, public ::testing::WithParamInterface<PresetCase> {
protected:
    static void SetUpTestSuite() {
        PrintPath::SetUpTestSuite();
        addQueue("T48");
    }
};

TEST_P(PresetJob, CarriesThePresetsChoicesToThePrinter) {
    const PresetCase& preset = GetParam();
    const RunResult run = pdehost(
        {"--queue", "T48", "set", "menu_QuickColor=" + std::to_string(preset.quickColor), "set",
         "check_EconomyPrint=" + std::to_string(preset.econoMode), "submit", pagePS()});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(query(run.out, "docs[0]['job']"), "0");
    EXPECT_EQ(query(run.out, "docs[0]['options']['ZTQuickColor']"), preset.quickColorChoice);
    EXPECT_EQ(query(run.out, "docs[0]['options']['ZTEconoMode']"),
              preset.econoMode ? "True" : "False");
    EXPECT_EQ(query(run.out, "docs[0]['options']['ColorModel']"), "RGB");
    for (const auto& [option, choice] : preset.advanced) {
        EXPECT_EQ(query(run.out, std::string("docs[0]['options']['") + option + "']"), choice)
            << option;
    }

    const ReceivedJob job = nextJob();
    EXPECT_EQ(job.queue, "T48");
    const auto coded = codedOptions(run.out);
    EXPECT_EQ(coded.size(), 29u) << run.out;
    for (const auto& [option, choice] : coded) {
        EXPECT_NE(job.data.find(optionCode(option, choice)), std::string::npos)
            << option << " " << choice << " is not in the job";
    }
}

INSTANTIATE_TEST_SUITE_P(QuickColorByEconoMode, PresetJob,
                         ::testing::Values(PresetCase{0,
                                                      0,
                                                      "Auto",
                                                      {{"ZTImageRenderIntent", "Perceptual"},
                                                       {"ZTImageHalftone", "Smooth"},
                                                       {"ZTTextHalftone", "Detail"},
                                                       {"ZTImageEdgeEnhance", "Off"},
                                                       {"ZTGraphicsEdgeEnhance", "On"}}},
                                           PresetCase{0,
                                                      1,
                                                      "Auto",
                                                      {{"ZTImageEdgeEnhance", "Off"},
                                                       {"ZTGraphicsEdgeEnhance", "Off"},
                                                       {"ZTTextEdgeEnhance", "On"}}},
                                           PresetCase{1,
                                                      0,
                                                      "Photo",
                                                      {{"ZTImageRenderIntent", "Perceptual"},
                                                       {"ZTImageHalftone", "Smooth"},
                                                       {"ZTTextHalftone", "Smooth"},
                                                       {"ZTTextEdgeEnhance", "Off"},
                                                       {"ZTGraphicsEdgeEnhance", "Off"}}},
                                           PresetCase{1,
                                                      1,
                                                      "Photo",
                                                      {{"ZTImageEdgeEnhance", "Off"},
                                                       {"ZTGraphicsEdgeEnhance", "Off"},
                                                       {"ZTTextEdgeEnhance", "Off"}}},
                                           PresetCase{2,
                                                      0,
                                                      "Vivid",
                                                      {{"ZTImageRenderIntent", "Saturation"},
                                                       {"ZTImageHalftone", "Detail"},
                                                       {"ZTGraphicsHalftone", "Detail"},
                                                       {"ZTImageEdgeEnhance", "On"},
                                                       {"ZTGraphicsEdgeEnhance", "On"}}},
                                           PresetCase{2,
                                                      1,
                                                      "Vivid",
                                                      {{"ZTImageEdgeEnhance", "Off"},
                                                       {"ZTGraphicsEdgeEnhance", "Off"},
                                                       {"ZTTextEdgeEnhance", "On"}}}));

}  // namespace
}  // namespace t48::testing

namespace t48::testing {
namespace {

// One RGB profile on the printer's disk, one simulation profile on its card.
const char* const kStoredProfiles = R"({
  "RGB": {"count": 1, "entries": [
    {"IndexOnDevice": 1, "InMenu": 4, "ProfileClass": 1, "FileName": "office(1).icc",
     "ProfileName": "Office", "Location": 4}]},
  "SIM": {"count": 1, "entries": [
    {"IndexOnDevice": 2, "InMenu": 3, "ProfileClass": 3, "FileName": "swop.icc",
     "ProfileName": "Swop", "Location": 5}]},
  "DST": {"count": 0, "entries": []}
})";

class QueueJob : public PrintPath {
protected:
    static void SetUpTestSuite() {
        PrintPath::SetUpTestSuite();
        for (const char* queue :
             {"T48Profiles", "T48Saved", "T48Other", "T48Refusing", "T48Standard", "T48Chosen"}) {
            addQueue(queue);
        }
        addQueue("Generic", sourceDir() + "/tests/data/generic-ps.ppd");
    }
    void importProfiles(const char* json) {
        const std::string file = root_.file("profiles.json");
        std::ofstream(file) << json;
        const RunResult run = runProgram(
            {binaryDir() + "/tools/t48-profiles/t48-profiles", "import", file}, environment());
        ASSERT_EQ(run.exitStatus, 0) << run.err;
    }
    RunResult lp(const std::string& queue) const {
        return cupsd_->client({"/usr/bin/lp", "-d", queue, pagePS()});
    }
};

// A printer attribute of a queue as an IPP client reads it ("monochrome,color").
std::string printerAttribute(const std::string& queue, const char* name) {
    const std::string listen = kCupsdListen;
    const size_t colon = listen.rfind(':');
    http_t* http =
        httpConnect2(listen.substr(0, colon).c_str(), std::stoi(listen.substr(colon + 1)), nullptr,
                     AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 10000, nullptr);
    if (http == nullptr) {
        return "no connection";
    }
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 ("ipp://localhost/printers/" + queue).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 name);
    ipp_t* response = cupsDoRequest(http, request, "/");
    char values[256] = "";
    if (ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO)) {
        ippAttributeString(attribute, values, sizeof values);
    }
    ippDelete(response);
    httpClose(http);
    return values;
}

TEST_F(QueueJob, StandardColorModeAndQualityPrintAsTheT48sOwnOptions) {
    EXPECT_EQ(printerAttribute("T48Standard", "print-color-mode-supported"), "monochrome,color");
    EXPECT_EQ(printerAttribute("T48Standard", "print-quality-supported"), "draft,normal,high");
    // The queue separates colours by default; grayscale excludes that.
    ASSERT_EQ(cupsd_
                  ->client({"/usr/sbin/lpadmin", "-p", "T48Standard", "-P", samplePPD(), "-o",
                            "ZTColorSeparation=True"})
                  .exitStatus,
              0);
    const std::vector<std::pair<const char*, std::vector<std::pair<const char*, const char*>>>>
        printed = {
            {"print-color-mode=monochrome",
             {{"ZTColorAsGray", "True"}, {"ZTColorSeparation", "False"}}},
            {"print-color-mode=color", {{"ZTColorAsGray", "False"}, {"ZTColorSeparation", "True"}}},
            {"print-quality=3", {{"ZTEconoMode", "True"}, {"ZTColorAsGray", "False"}}}};
    for (const auto& [attribute, options] : printed) {
        ASSERT_EQ(cupsd_->client({"/usr/bin/lp", "-d", "T48Standard", "-o", attribute, pagePS()})
                      .exitStatus,
                  0);
        const std::string data = nextJob().data;
        for (const auto& [option, choice] : options) {
            EXPECT_NE(data.find(optionCode(option, choice)), std::string::npos)
                << attribute << ": " << option << " " << choice;
        }
    }
}

// A job's colour as programs ask for it: the T48's Color as Grayscale, the standard
// ColorModel, print-color-mode; and whether the printer is to print it grey.
struct ColourCase {
    const char* name;
    const char* queue;
    std::vector<std::string> options;
    bool grayscale;
};

class ColourVocabularies : public QueueJob, public ::testing::WithParamInterface<ColourCase> {
protected:
    static void SetUpTestSuite() {
        PrintPath::SetUpTestSuite();
        addQueue("T48Colour");
        addQueue("T48Gray");
        // A grayscale queue as t48-update-queues leaves it.
        ASSERT_EQ(cupsd_
                      ->client({"/usr/sbin/lpadmin", "-p", "T48Gray", "-P", samplePPD(), "-o",
                                "ZTColorAsGray=True", "-o", "ColorModel=Gray", "-o",
                                "print-color-mode-default=monochrome"})
                      .exitStatus,
                  0);
    }
};

TEST_P(ColourVocabularies, AJobPrintsGreyAsTheOptionItChangedFromTheQueuesDefaultSays) {
    const ColourCase& asked = GetParam();
    std::vector<std::string> lp = {"/usr/bin/lp", "-d", asked.queue};
    for (const std::string& option : asked.options) {
        lp.insert(lp.end(), {"-o", option});
    }
    lp.push_back(pagePS());
    ASSERT_EQ(cupsd_->client(lp).exitStatus, 0);
    const std::string data = nextJob().data;
    const char* gray = asked.grayscale ? "True" : "False";
    EXPECT_NE(data.find(optionCode("ZTColorAsGray", gray)), std::string::npos) << data;
    EXPECT_NE(
        data.find(std::string("%%BeginFeature: *ColorModel ") + (asked.grayscale ? "Gray" : "RGB")),
        std::string::npos);
    EXPECT_EQ(data.find("<</ZTColorAsGray", data.find("<</ZTColorAsGray") + 1), std::string::npos)
        << "the printer meets Color as Grayscale once";
}

INSTANTIATE_TEST_SUITE_P(
    Asked, ColourVocabularies,
    ::testing::Values(
        ColourCase{"Nothing", "T48Colour", {}, false},
        ColourCase{"Grayscale", "T48Colour", {"ZTColorAsGray=True"}, true},
        ColourCase{"NoGrayscale", "T48Colour", {"ZTColorAsGray=False"}, false},
        ColourCase{"Gray", "T48Colour", {"ColorModel=Gray"}, true},
        ColourCase{"RGB", "T48Colour", {"ColorModel=RGB"}, false},
        ColourCase{"GrayscaleRGB", "T48Colour", {"ZTColorAsGray=True", "ColorModel=RGB"}, true},
        ColourCase{
            "NoGrayscaleGray", "T48Colour", {"ZTColorAsGray=False", "ColorModel=Gray"}, true},
        ColourCase{"GrayscaleGray", "T48Colour", {"ZTColorAsGray=True", "ColorModel=Gray"}, true},
        ColourCase{"NoGrayscaleRGB", "T48Colour", {"ZTColorAsGray=False", "ColorModel=RGB"}, false},
        ColourCase{"Monochrome", "T48Colour", {"print-color-mode=monochrome"}, true},
        ColourCase{"MonochromeVivid",
                   "T48Colour",
                   {"print-color-mode=monochrome", "ZTQuickColor=Vivid"},
                   false},
        ColourCase{"GrayQueueNothing", "T48Gray", {}, true},
        ColourCase{"GrayQueueNoGrayscale", "T48Gray", {"ZTColorAsGray=False"}, false},
        ColourCase{"GrayQueueRGB", "T48Gray", {"ColorModel=RGB"}, false},
        ColourCase{"GrayQueueNoGrayscaleGray",
                   "T48Gray",
                   {"ZTColorAsGray=False", "ColorModel=Gray"},
                   false},
        ColourCase{
            "GrayQueueGrayscaleRGB", "T48Gray", {"ZTColorAsGray=True", "ColorModel=RGB"}, false},
        ColourCase{"GrayQueueColor", "T48Gray", {"print-color-mode=color"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(QueueJob, AnAddedProfileReachesThePrinterAsTheCommandSelectingItsPath) {
    importProfiles(kStoredProfiles);
    // Under "Custom" the advanced popups keep what the user chose: the first added
    // profile after the PPD's four choices.
    const RunResult run =
        pdehost({"--queue", "T48Profiles", "set", "menu_QuickColor=3", "set", "menu_iRGBSource=4",
                 "set", "menu_sSimulationProfile=4", "submit", pagePS()});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out,
                    "docs[0]['options']['ZTImageRGBSourceCustom'], "
                    "docs[0]['options']['ZTTextRGBSourceCustom']"),
              "True False");

    const std::string data = nextJob().data;
    const size_t choice = data.find(optionCode("ZTImageRGBSource", "None"));
    const size_t image = data.find(
        "<</ZTImageRGBSourceProfile "
        "(/ata1a/data/USfiles/Profiles/office\\(1\\).icc)>>setpagedevice");
    ASSERT_NE(image, std::string::npos) << data;
    EXPECT_LT(choice, image) << "the profile command must follow the option's own code";
    EXPECT_NE(data.find("<</ZTSimSourceProfile (/ataCf1a/data/USfiles/Profiles/swop.icc)>>"),
              std::string::npos);
    EXPECT_EQ(data.find("ZTTextRGBSourceProfile"), std::string::npos);
}

TEST_F(QueueJob, SavedDefaultsReachAPlainLpAndTheNextSessionOfTheirQueueOnly) {
    for (const auto& [queue, preset] : {std::pair{"T48Saved", "2"}, std::pair{"T48Other", "1"}}) {
        const RunResult saved =
            pdehost({"--queue", queue, "set", std::string("menu_QuickColor=") + preset, "set",
                     "check_EconomyPrint=1", "save-defaults"});
        ASSERT_EQ(saved.exitStatus, 0) << saved.err;
    }
    ASSERT_EQ(lp("T48Saved").exitStatus, 0);
    const std::string vivid = nextJob().data;
    ASSERT_EQ(lp("T48Other").exitStatus, 0);
    const std::string photo = nextJob().data;
    for (const auto& [data, choice] : {std::pair{&vivid, "Vivid"}, std::pair{&photo, "Photo"}}) {
        EXPECT_NE(data->find(optionCode("ZTQuickColor", choice)), std::string::npos) << choice;
        EXPECT_NE(data->find(optionCode("ZTEconoMode", "True")), std::string::npos) << choice;
    }
    // The preset was applied before saving: Vivid's halftone, not the PPD default.
    EXPECT_NE(vivid.find(optionCode("ZTImageHalftone", "Detail")), std::string::npos);

    // A session without a ticket opens on what the user saved for its queue.
    for (const auto& [queue, selected] :
         {std::pair{"T48Saved", "2"}, std::pair{"T48Other", "1"}, std::pair{"T48Profiles", "0"}}) {
        const RunResult shown = pdehost({"--queue", queue, "show"});
        ASSERT_EQ(shown.exitStatus, 0) << shown.err;
        EXPECT_EQ(query(shown.out,
                        "docs[0]['controls']['menu_QuickColor']['selected'], "
                        "docs[0]['controls']['check_EconomyPrint']['state']"),
                  std::string(selected) + (std::string(selected) == "0" ? " 0" : " 1"))
            << queue;
    }
}

TEST_F(QueueJob, AChoiceGivenWithTheJobWinsOverTheSavedAddedProfile) {
    importProfiles(kStoredProfiles);
    const RunResult saved = pdehost({"--queue", "T48Chosen", "set", "menu_QuickColor=3", "set",
                                     "menu_iRGBSource=4", "save-defaults"});
    ASSERT_EQ(saved.exitStatus, 0) << saved.err;
    // What a program's dialog sends when the user picks Wide Gamut RGB.
    ASSERT_EQ(
        cupsd_
            ->client({"/usr/bin/lp", "-d", "T48Chosen", "-o", "ZTImageRGBSource=WideRGB", pagePS()})
            .exitStatus,
        0);
    const std::string chosen = nextJob().data;
    EXPECT_NE(chosen.find(optionCode("ZTImageRGBSource", "WideRGB")), std::string::npos);
    EXPECT_EQ(chosen.find("ZTImageRGBSourceProfile"), std::string::npos) << chosen;
    ASSERT_EQ(lp("T48Chosen").exitStatus, 0);
    EXPECT_NE(nextJob().data.find("<</ZTImageRGBSourceProfile"), std::string::npos)
        << "without a choice of its own the job takes the saved profile";
}

TEST_F(QueueJob, ABinaryJobReachesThePrinterAsAGenericQueueSendsIt) {
    // Binary data as DSC allows it, lines ended by CR alone and a line longer than any
    // buffer, through the same pstops: only the two PPDs' setups may differ.
    std::string binary;
    for (int b = 0; b < 256; ++b) {
        binary += static_cast<char>(b);
    }
    const std::string job =
        "%!PS-Adobe-3.0\n%%Pages: 1\n%%EndComments\n%%BeginSetup\n"
        "%%EndSetup\n%%Page: 1 1\n%%BeginData: 256 Binary Bytes\n" +
        binary + "\n%%EndData\n%" + std::string(150000, 'x') + "\r0 0 moveto\rshowpage\n%%EOF\n";
    std::ofstream(root_.file("binary.ps"), std::ios::binary) << job;
    std::string received[2];
    for (int i = 0; i < 2; ++i) {
        const char* queue = i == 0 ? "T48Profiles" : "Generic";
        ASSERT_EQ(cupsd_->client({"/usr/bin/lp", "-d", queue, root_.file("binary.ps")}).exitStatus,
                  0);
        const std::string data = nextJob().data;
        ASSERT_NE(data.find("%%Page: 1 1"), std::string::npos) << queue;
        received[i] = data.substr(data.find("%%Page: 1 1"));
    }
    EXPECT_NE(received[1].find(binary), std::string::npos) << "the generic queue keeps every byte";
    EXPECT_TRUE(received[0] == received[1])
        << received[0].size() << " bytes of pages from the T48 queue, " << received[1].size()
        << " from the generic one";
}

TEST_F(QueueJob, ASaveOfTheDefaultsThatCannotBeWrittenSaysWhy) {
    const TempDir home;
    std::filesystem::create_directories(home.file(".cups/lpoptions"));  // a folder in its place
    const RunResult run =
        pdehost({"--queue", "T48Saved", "save-defaults"}, {"HOME=" + home.path()});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err, "pdehost: cannot save the default options of T48Saved: cannot write " +
                           home.file(".cups/lpoptions") + ": Is a directory\n");
}

TEST_F(QueueJob, HostileProfileOptionsLeaveTheJobWithoutProfileCommandsAndLogOneLine) {
    const std::vector<std::string> values = {"'a \"b\" (c)'", "line\n%%EndSetup",
                                             std::string(10000, 'x')};
    for (const std::string& value : values) {
        const std::string before = cupsd_->errorLog();
        const auto warnings = std::count(before.begin(), before.end(), '\n');
        // Under Quick Color "Custom", where no preset chooses the popup's item.
        const RunResult sent =
            cupsd_->client({"/usr/bin/lp", "-d", "T48Profiles", "-o", "ZTQuickColor=UserDefined",
                            "-o", "ZTImageRGBSourceCustom=True", "-o",
                            "ZTImageRGBSourceCustomFilename=" + value, pagePS()});
        ASSERT_EQ(sent.exitStatus, 0) << sent.err;
        const std::string data = nextJob().data;
        EXPECT_NE(data.find("%%EndSetup"), std::string::npos);
        EXPECT_EQ(data.find("Profile ("), std::string::npos) << value.substr(0, 40);
        const std::string log = cupsd_->errorLog();
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), warnings + 1) << log;
        EXPECT_NE(log.find("t48-colorfilter: the option ZTImageRGBSourceCustom"),
                  std::string::npos);
    }
}

TEST_F(QueueJob, AJobTheServerRefusesIsNotReportedAsSubmitted) {
    ASSERT_EQ(cupsd_->client({"/usr/sbin/cupsreject", "T48Refusing"}).exitStatus, 0);
    for (const std::string& file : {pagePS(), root_.file("missing.ps")}) {
        const std::string queue = file == pagePS() ? "T48Refusing" : "T48Saved";
        const RunResult run = pdehost({"--queue", queue, "submit", file});
        EXPECT_EQ(run.exitStatus, 2) << file;
        EXPECT_EQ(run.out, "") << file;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    const RunResult noQueue = pdehost({"--printer", "T48", "submit", pagePS()});
    EXPECT_EQ(noQueue.exitStatus, 2);
    EXPECT_EQ(noQueue.out, "");
    EXPECT_EQ(printer_->waitForJobs(jobsBefore_ + 1, std::chrono::milliseconds(500)).size(),
              jobsBefore_)
        << "a refused job reached the printer";
}

// Choices a program sends with a job: as lp's options, and in a ticket for pdehost.
using Choices = std::vector<std::pair<std::string, std::string>>;

struct ChoiceSet {
    const char* name;
    Choices choices;
};

// `choices` with the stored RGB profile of kStoredProfiles chosen for Image, the option
// itself given as the panel gives it (at its first choice) or not.
Choices withImageProfile(Choices choices, bool withChoice = true) {
    choices.insert(choices.end(),
                   {{"ZTImageRGBSourceCustom", "True"},
                    {"ZTImageRGBSourceCustomFilename",
                     pde::encodeAddedProfilePath("/ata1a/data/USfiles/Profiles/office(1).icc")}});
    if (withChoice) {
        choices.emplace_back("ZTImageRGBSource", "None");
    }
    return choices;
}

class SameChoices : public QueueJob, public ::testing::WithParamInterface<ChoiceSet> {
protected:
    static void SetUpTestSuite() {
        PrintPath::SetUpTestSuite();
        addQueue("T48Same");
    }
    // A ticket whose model dictionary for the queue holds the choices.
    std::string ticket(const Choices& choices) const {
        std::string entries;
        for (const auto& [key, value] : choices) {
            entries += "<key>" + key + "</key><string>";
            for (const char c : value) {  // an encoded path holds '<' and '>'
                entries += c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
            }
            entries += "</string>";
        }
        const std::string file = root_.file("ticket.plist");
        std::ofstream(file) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
                               "version=\"1.0\"><dict><key>T48</key><dict><key>T48Same</key><dict>"
                            << entries << "</dict></dict></dict></plist>\n";
        return file;
    }
};

TEST_P(SameChoices, PrintFromAnyProgramAsFromTheDialogsPrint) {
    importProfiles(kStoredProfiles);
    std::vector<std::string> lp = {"/usr/bin/lp", "-d", "T48Same"};
    for (const auto& [option, choice] : GetParam().choices) {
        lp.insert(lp.end(), {"-o", option + "=" + choice});
    }
    lp.push_back(pagePS());
    ASSERT_EQ(cupsd_->client(lp).exitStatus, 0);
    const std::string fromLp = nextJob().data;
    const RunResult submitted =
        pdehost({"--queue", "T48Same", "--ticket", ticket(GetParam().choices), "submit", pagePS()});
    ASSERT_EQ(submitted.exitStatus, 0) << submitted.err;
    const std::string fromDialog = nextJob().data;
    ASSERT_NE(fromDialog.find("%%EndSetup"), std::string::npos);
    EXPECT_TRUE(fromLp == fromDialog) << "lp:\n" << fromLp << "\npdehost:\n" << fromDialog;
}

INSTANTIATE_TEST_SUITE_P(
    Sets, SameChoices,
    ::testing::Values(
        ChoiceSet{"Auto", {{"ZTQuickColor", "Auto"}}},
        ChoiceSet{"Photo", {{"ZTQuickColor", "Photo"}}},
        ChoiceSet{"Vivid", {{"ZTQuickColor", "Vivid"}}},
        ChoiceSet{"Custom", {{"ZTQuickColor", "UserDefined"}}},
        ChoiceSet{"GrayscaleWithSeparation",
                  {{"ZTColorAsGray", "True"}, {"ZTColorSeparation", "True"}}},
        ChoiceSet{"VividEconoMode", {{"ZTQuickColor", "Vivid"}, {"ZTEconoMode", "True"}}},
        ChoiceSet{"Profile", withImageProfile({{"ZTQuickColor", "UserDefined"}})},
        ChoiceSet{"ProfileWithoutItsChoice",
                  withImageProfile({{"ZTQuickColor", "UserDefined"}}, false)},
        ChoiceSet{"ProfileUnderAPreset", withImageProfile({{"ZTQuickColor", "Photo"}})},
        ChoiceSet{"ProfileInGrayscale",
                  withImageProfile({{"ZTQuickColor", "UserDefined"}, {"ZTColorAsGray", "True"}})}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace t48::testing
