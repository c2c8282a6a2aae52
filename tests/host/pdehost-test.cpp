// pdehost runs: real dialog sessions over the plug-in and real PPDs, with the ticket in
// a real file. Python's json module reads the output independently.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "pdehost-run.hpp"
#include "system-paths.hpp"

namespace {

using t48::testing::binaryDir;
using t48::testing::dataPPD;
using t48::testing::host;
using t48::testing::kEnglish;
using t48::testing::kGerman;
using t48::testing::pdehost;
using t48::testing::query;
using t48::testing::runProgram;
using t48::testing::RunResult;
using t48::testing::samplePPD;
using t48::testing::TempDir;

class PdeHost : public ::testing::Test {
protected:
    std::string ticketFile() const { return dir.file("ticket.plist"); }
    TempDir dir;
};

TEST_F(PdeHost, ShowListsEveryControlWithTheFieldsOfItsKind) {
    const RunResult run = host({"--ppd", samplePPD(), "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "docs[0]['pane']"), "color");
    EXPECT_EQ(query(run.out, "len(docs[0]['controls'])"), "59");
    EXPECT_EQ(query(run.out, "sorted({v['kind'] for v in docs[0]['controls'].values()})"),
              "['button', 'checkbox', 'label', 'popup', 'tabview']");
    const std::string shapes =
        "{k: sorted(v) for k, v in docs[0]['controls'].items() if k in "
        "('menu_QuickColor','check_ColorAsGrayscale','text_QuickColor','button_AdvanceColorOptions'"
        ",'tab_SwitchVew')}";
    EXPECT_EQ(query(run.out, shapes),
              "{'menu_QuickColor': ['enabled', 'items', 'kind', 'selected'], "
              "'check_ColorAsGrayscale': ['enabled', 'kind', 'state', 'title'], "
              "'text_QuickColor': ['enabled', 'kind', 'text'], "
              "'button_AdvanceColorOptions': ['enabled', 'kind', 'title'], "
              "'tab_SwitchVew': ['enabled', 'kind', 'labels', 'selected']}");
    EXPECT_EQ(query(run.out, "docs[0]['controls']['menu_QuickColor']['items']"),
              "['Automatic', 'Photo', 'Vivid', 'Custom']");
    EXPECT_EQ(query(run.out, "docs[0]['controls']['tab_SwitchVew']['labels']"),
              "['Image', 'Text', 'Graphics', 'Simulation']");
}

TEST_F(PdeHost, EmptyTicketLeavesEveryBoundControlAtItsPPDDefault) {
    const RunResult run = host({"--ppd", samplePPD(), "--printer", "T48_Office", "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string selected =
        "[docs[0]['controls'][k]['selected'] for k in "
        "('menu_QuickColor','menu_Brightness','menu_EdgeStrength',"
        "'menu_BlackOverprint','menu_iRGBSource','menu_iHalftone','menu_tEdgeEnhancement','menu_"
        "iEdgeEnhancement',"
        "'menu_sSimulationProfile')]";
    EXPECT_EQ(query(run.out, selected), "[0, 0, 2, 0, 1, 1, 1, 0, 0]");
    const std::string states =
        "[docs[0]['controls'][k]['state'] for k in "
        "('check_ColorAsGrayscale','check_ColorSeparation',"
        "'check_EconomyPrint','check_AutoTrapping')]";
    EXPECT_EQ(query(run.out, states), "[0, 0, 0, 1]");
}

TEST_F(PdeHost, SetThenSaveStoresTheChoiceAndTheNextSessionRestoresIt) {
    RunResult run =
        host({"--ppd", samplePPD(), "--printer", "T48_Office", "--ticket", ticketFile(), "set",
              "menu_QuickColor=3", "set", "check_EconomyPrint=1", "set", "menu_tHalftone=2"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    ASSERT_TRUE(std::filesystem::exists(ticketFile()));
    const RunResult stored = runProgram(
        {"/usr/bin/python3", "-c",
         "import plistlib,sys; d=plistlib.load(open(sys.argv[1],'rb')); m=d['T48']['T48_Office'];"
         "print(m['ZTQuickColor'], m['ZTEconoMode'], m['ZTTextHalftone'], d['ZTQuickColor'], "
         "d['ZTEconoMode'], len(m))",
         ticketFile()});
    // The 29 options and the "Custom" flag of each of the seven profile popups.
    EXPECT_EQ(stored.out, "UserDefined True Detail UserDefined True 36\n") << stored.err;

    run = host({"--ppd", samplePPD(), "--printer", "T48_Office", "--ticket", ticketFile(), "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out,
                    "[docs[0]['controls'][k].get('selected', docs[0]['controls'][k].get('state')) "
                    "for k in ('menu_QuickColor','check_EconomyPrint','menu_tHalftone')]"),
              "[3, 1, 2]");
}

TEST_F(PdeHost, EachPrinterKeepsItsOwnValues) {
    ASSERT_EQ(
        host({"--printer", "T48_Office", "--ticket", ticketFile(), "set", "menu_QuickColor=2"})
            .exitStatus,
        0);
    ASSERT_EQ(host({"--printer", "T48_Lab", "--ticket", ticketFile(), "set", "menu_QuickColor=1"})
                  .exitStatus,
              0);
    const RunResult office =
        host({"--printer", "T48_Office", "--ticket", ticketFile(), "show", "ticket"});
    const RunResult lab = host({"--printer", "T48_Lab", "--ticket", ticketFile(), "show"});
    EXPECT_EQ(query(office.out, "docs[0]['controls']['menu_QuickColor']['selected']"), "2");
    EXPECT_EQ(query(lab.out, "docs[0]['controls']['menu_QuickColor']['selected']"), "1");
    EXPECT_EQ(query(office.out,
                    "(docs[1]['T48']['T48_Office']['ZTQuickColor'], "
                    "docs[1]['T48']['T48_Lab']['ZTQuickColor'])"),
              "('Vivid', 'Photo')");
}

TEST_F(PdeHost, StrayModelEntriesNeverReplaceTheProductDictionaryNorTheHostsValues) {
    ASSERT_EQ(runProgram({"/usr/bin/python3", "-c",
                          "import plistlib,sys; plistlib.dump({'PMCopies': 2, 'PMRange': {'a': 1},"
                          " 'T48': {'T48_Office': {'T48': 'stray', 'PMCopies': '9', 'PMRange': 'x',"
                          " 'ZTQuickColor': 'Vivid'}, 'T48_Lab': {'ZTQuickColor': 'Photo'}}},"
                          " open(sys.argv[1], 'wb'))",
                          ticketFile()})
                  .exitStatus,
              0);
    const RunResult office =
        host({"--printer", "T48_Office", "--ticket", ticketFile(), "show", "ticket"});
    ASSERT_EQ(office.exitStatus, 0) << office.err;
    EXPECT_EQ(query(office.out,
                    "(docs[0]['controls']['menu_QuickColor']['selected'], docs[1]['PMCopies'], "
                    "docs[1]['PMRange'], docs[1]['ZTQuickColor'], sorted(docs[1]['T48']))"),
              "(2, 2, {'a': 1}, 'Vivid', ['T48_Lab', 'T48_Office'])");
    const RunResult lab = host({"--printer", "T48_Lab", "--ticket", ticketFile(), "show"});
    EXPECT_EQ(query(lab.out, "docs[0]['controls']['menu_QuickColor']['selected']"), "1");
}

TEST_F(PdeHost, AnOptionStoredAsNoStringIsReplacedAtTheTopLevelToo) {
    ASSERT_EQ(runProgram({"/usr/bin/python3", "-c",
                          "import plistlib,sys; plistlib.dump({'T48': {'T48_Office': "
                          "{'ZTImageHalftone': 5}}}, open(sys.argv[1], 'wb'))",
                          ticketFile()})
                  .exitStatus,
              0);
    const RunResult run = host({"--printer", "T48_Office", "--ticket", ticketFile(), "set",
                                "menu_QuickColor=3", "set", "menu_iHalftone=2", "print"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "docs[0].get('ZTImageHalftone')"), "Detail") << "the job's option";
    const RunResult stored =
        runProgram({"/usr/bin/python3", "-c",
                    "import plistlib,sys; d=plistlib.load(open(sys.argv[1],'rb'));"
                    "print(d['ZTImageHalftone'], d['T48']['T48_Office']['ZTImageHalftone'])",
                    ticketFile()});
    EXPECT_EQ(stored.out, "Detail Detail\n") << stored.err;
}

TEST_F(PdeHost, WithoutAPrinterNothingButTheProductDictionaryIsWritten) {
    const RunResult run = host({"--ticket", ticketFile(), "set", "menu_QuickColor=2", "ticket"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "docs[0]"), "{'T48': {}}");
}

TEST_F(PdeHost, KeysListAdvancedColorOptionsFirst) {
    const RunResult run = host({"keys"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "len(docs[0])"), "29");
    EXPECT_EQ(query(run.out, "docs[0][:2] + docs[0][20:23] + docs[0][-1:]"),
              "['ZTImageRGBSource', 'ZTImageRenderIntent', 'ZTSimGrayTreatment', 'ZTQuickColor', "
              "'ZTBrightness', "
              "'ZTBlackOverprint']");
}

TEST_F(PdeHost, AdvancedButtonSwitchesPanesAndTheNextSessionOpensOnColorOptions) {
    RunResult run =
        host({"--ticket", ticketFile(), "--printer", "T48_Office", "set", "menu_QuickColor=3",
              "show", "click", "button_AdvanceColorOptions", "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[d['pane'] for d in docs]"), "['color', 'advanced']");
    run = host({"--ticket", ticketFile(), "--printer", "T48_Office", "show", "click",
                "button_AdvanceColorOptions", "click", "button_HideAdvancedOptions", "show"});
    EXPECT_EQ(query(run.out, "[d['pane'] for d in docs]"), "['color', 'color']");
}

TEST_F(PdeHost, GermanTitlesAndTabLabelsWhenGermanIsSelected) {
    const RunResult german = host({"show"}, kGerman);
    ASSERT_EQ(german.exitStatus, 0) << german.err;
    const std::string titles =
        "[docs[0]['controls']['text_QuickColor']['text'], "
        "docs[0]['controls']['check_AutoTrapping']['title'], "
        "docs[0]['controls']['button_HideAdvancedOptions']['title'], "
        "docs[0]['controls']['tab_SwitchVew']['labels']]";
    EXPECT_EQ(query(german.out, titles),
              "['Schnellfarbe:', 'Automatisches Überfüllen', 'Erweiterte Optionen ausblenden', "
              "['Bild', 'Text', 'Grafik', 'Simulation']]");
    // PPD choice texts stay as the PPD gives them.
    EXPECT_EQ(query(german.out, "docs[0]['controls']['menu_QuickColor']['items'][0]"), "Automatic");

    const RunResult english = host({"show"});
    EXPECT_EQ(query(english.out, titles),
              "['Quick Color:', 'AutoTrapping', 'Hide Advanced Options', ['Image', 'Text', "
              "'Graphics', 'Simulation']]");
    // A language without a catalogue shows the keys.
    const RunResult french = host({"show"}, {"LANGUAGE=fr", "LANG=C.UTF-8", "LC_ALL="});
    EXPECT_EQ(query(french.out, titles), query(english.out, titles));
}

TEST_F(PdeHost, ChoiceTextsOfAUTF8PPD) {
    const RunResult run = host({"--ppd", dataPPD("T48-utf8.ppd"), "show"}, kGerman);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "docs[0]['controls']['menu_sSimulationProfile']['items'][3]"),
              "ジャパンカラー");
    EXPECT_EQ(query(run.out, "docs[0]['controls']['menu_QuickColor']['items'][0]"), "Automatisch");
}

struct LateEncoding {
    const char* languageEncoding;
    const char* codec;  // Python's name of the same character set
    const char* text;   // a choice text only that set holds as such
};
class PdeHostLateEncoding : public PdeHost, public ::testing::WithParamInterface<LateEncoding> {};

// The UTF-8 test PPD in another character set, declared after all its options (it passes
// cupstestppd so): the choice texts still follow the declaration.
TEST_P(PdeHostLateEncoding, ChoiceTextsFollowTheEncodingDeclaredAfterTheOptions) {
    const std::string ppd = dir.file("late.ppd");
    const RunResult made = runProgram(
        {"/usr/bin/python3", "-c",
         "import sys\nsrc,out,enc,codec,text=sys.argv[1:]\n"
         "lines=[l for l in open(src,encoding='utf-8').read().splitlines(True)"
         " if not l.startswith('*LanguageEncoding:')]\n"
         "body=''.join(lines).replace('Strong/St\u00e4rker','Strong/'+text)\n"
         "open(out,'wb').write((body+'*LanguageEncoding: '+enc+'\\n').encode(codec,'replace'))",
         dataPPD("T48-utf8.ppd"), ppd, GetParam().languageEncoding, GetParam().codec,
         GetParam().text});
    ASSERT_EQ(made.exitStatus, 0) << made.err;
    const RunResult run = host({"--ppd", ppd, "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "docs[0]['controls']['menu_EdgeStrength']['items'][3]"),
              GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, PdeHostLateEncoding,
    ::testing::Values(LateEncoding{"UTF-8", "utf-8", "Gr\u00fcn \u2013 \u30ab"},
                      LateEncoding{"UTF8", "utf-8", "Gr\u00fcn"},
                      LateEncoding{"ISOLatin1", "latin-1", "Gr\u00fcn \u00a9"},
                      LateEncoding{"WindowsANSI", "cp1252", "Gr\u00fcn \u2013 \u20ac"},
                      LateEncoding{"JIS83-RKSJ", "shift_jis", "\u30b8\u30e3\u30d1\u30f3"}));

TEST_F(PdeHost, PPDWithoutSomeOptionsShowsThoseControlsEmpty) {
    const RunResult run = host({"--ppd", dataPPD("T48-partial.ppd"), "--printer", "P", "--ticket",
                                ticketFile(), "show", "ticket"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out,
                    "[docs[0]['controls'][k]['items'] + [docs[0]['controls'][k]['selected']] "
                    "for k in ('menu_Brightness','menu_tHalftone','menu_sSimulationProfile')]"),
              "[[-1], [-1], [-1]]");
    EXPECT_EQ(query(run.out, "docs[0]['controls']['menu_EdgeStrength']['items'][1]"),
              "Leicht (für Text)");
    EXPECT_EQ(query(run.out, "sorted(docs[1]['T48']['P'])[:3]"), "[]")
        << "restore alone stores nothing";
}

TEST_F(PdeHost, DownloadManagerButtonStartsTheInstalledApplicationOnly) {
    const std::vector<std::string> environment = {"LANGUAGE=", "LANG=C.UTF-8",
                                                  "T48_ROOT=" + dir.path()};
    RunResult run = runProgram({pdehost(), "click", "button_DownloadManager", "show"}, environment);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "docs[0]['controls']['button_DownloadManager']['enabled']"), "True");

    const std::string app =
        dir.path() + std::string(t48::installedPath(t48::SystemPath::kDownloadManager));
    std::filesystem::create_directories(app);
    const std::string marker = dir.file("started");
    const std::string program = app + "/ORVELL Download Manager";
    std::ofstream(program) << "#!/bin/sh\ntouch '" << marker << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    run = runProgram({pdehost(), "click", "button_DownloadManager"}, environment);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    // The application runs on its own and exits at once; wait for its mark.
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
}

// The advanced popups' PPD keywords, in the order of the presets.
const std::string kAdvancedKeys =
    "('ZTImageRGBSource','ZTImageRenderIntent','ZTImageGrayTreatment',"
    "'ZTImageDestinationProfile','ZTImageHalftone','ZTImageEdgeEnhance','ZTTextRGBSource',"
    "'ZTTextRenderIntent','ZTTextGrayTreatment','ZTTextDestinationProfile','ZTTextHalftone',"
    "'ZTTextEdgeEnhance','ZTGraphicsRGBSource','ZTGraphicsRenderIntent',"
    "'ZTGraphicsGrayTreatment','ZTGraphicsDestinationProfile','ZTGraphicsHalftone',"
    "'ZTGraphicsEdgeEnhance','ZTSimSource','ZTSimRenderIntent','ZTSimGrayTreatment')";

TEST_F(PdeHost, GrayscaleDisablesSeparationAndTheFifteenPopups) {
    const RunResult run = host({"--printer", "T48_Office", "set", "menu_sSimulationProfile=2",
                                "show", "set", "check_ColorAsGrayscale=1", "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    // "Management Profile" follows the helper's write test, not the rules.
    const std::string disabled =
        "sorted(k for k, v in docs[%d]['controls'].items() if not v['enabled'] "
        "and k != 'button_ManageProfile')";
    auto at = [&](int doc) {
        std::string expression = disabled;
        expression.replace(expression.find("%d"), 2, std::to_string(doc));
        return expression;
    };
    EXPECT_EQ(query(run.out, at(0)), "['button_AdvanceColorOptions']");
    EXPECT_EQ(query(run.out, at(1)),
              "['button_AdvanceColorOptions', 'check_ColorSeparation', 'menu_gDestinationProfile', "
              "'menu_gRGBGrayTreatment', 'menu_gRGBIntent', 'menu_gRGBSource', "
              "'menu_iDestinationProfile', 'menu_iRGBGrayTreatment', 'menu_iRGBIntent', "
              "'menu_iRGBSource', 'menu_sCMYKGrayTreatment', 'menu_sMatchPaperColor', "
              "'menu_sSimulationProfile', 'menu_tDestinationProfile', 'menu_tRGBGrayTreatment', "
              "'menu_tRGBIntent', 'menu_tRGBSource']");
    EXPECT_EQ(query(run.out, "docs[1]['controls']['check_ColorSeparation']['state']"), "0");
    // A disabled control cannot be changed.
    const RunResult again = host({"set", "check_ColorAsGrayscale=1", "set",
                                  "check_ColorSeparation=1", "set", "menu_iRGBSource=0", "show"});
    EXPECT_EQ(query(again.out,
                    "(docs[0]['controls']['check_ColorSeparation']['state'], "
                    "docs[0]['controls']['menu_iRGBSource']['selected'])"),
              "(0, 1)");
}

TEST_F(PdeHost, PrintCarriesThePresetsChoicesForTheAdvancedKeys) {
    // The user's own advanced values first, then a preset.
    const RunResult run =
        host({"--printer", "T48_Office", "--ticket", ticketFile(), "set", "menu_QuickColor=3",
              "set", "menu_tHalftone=0", "set", "menu_iRGBIntent=3", "set",
              "menu_sSimulationProfile=1", "set", "menu_QuickColor=0", "print"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[docs[0][k] for k in " + kAdvancedKeys + "]"),
              "['sRGB', 'Perceptual', 'CompositeBlack', 'Auto', 'Smooth', 'Off', 'sRGB', "
              "'Saturation', 'CompositeBlack', 'Auto', 'Detail', 'On', 'sRGB', 'Saturation', "
              "'CompositeBlack', 'Auto', 'Smooth', 'On', 'None', 'Off', 'BlackOnly']");
    EXPECT_EQ(query(run.out, "sorted({type(v).__name__ for v in docs[0].values()})"), "['str']");
    EXPECT_EQ(query(run.out, "'T48' in docs[0] or 'ZTQuickColor' in docs[0]"), "False")
        << "no save ran: the job options hold the advanced pane only";
}

TEST_F(PdeHost, PrintWithEconoModeTurnsOffImageAndGraphicsEdgeEnhancement) {
    const RunResult run = host({"--printer", "T48_Office", "set", "check_EconomyPrint=1", "set",
                                "menu_QuickColor=2", "print", "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out,
                    "[docs[0][k] for k in ('ZTImageEdgeEnhance','ZTTextEdgeEnhance',"
                    "'ZTGraphicsEdgeEnhance','ZTImageHalftone','ZTImageRenderIntent')]"),
              "['Off', 'On', 'Off', 'Detail', 'Saturation']");
    EXPECT_EQ(query(run.out, "docs[1]['controls']['menu_gHalftone']['selected']"), "2")
        << "the popups show what was printed";
}

TEST_F(PdeHost, PrintUnderCustomKeepsTheUsersValuesAndWithoutAPrinterCarriesNone) {
    RunResult run = host({"--printer", "T48_Office", "set", "menu_QuickColor=3", "set",
                          "menu_tHalftone=0", "print"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "(docs[0]['ZTTextHalftone'], docs[0]['ZTImageHalftone'])"),
              "('Standard', 'Smooth')");
    run = host({"set", "menu_QuickColor=1", "print"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "docs[0]"), "{}");
}

TEST_F(PdeHost, SummaryInDisplayOrderWithLocalizedNames) {
    const RunResult run =
        host({"--printer", "T48_Office", "set", "menu_QuickColor=3", "set", "menu_tHalftone=0",
              "summary", "set", "menu_QuickColor=0", "summary"},
             kGerman);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[len(d) for d in docs]"), "[30, 30]");
    EXPECT_EQ(
        query(run.out, "[d['Summary Display Order'][:9] for d in docs]"),
        "[['Schnellfarbe', 'Helligkeit', 'Farbe als Graustufen', 'Farbauszug', 'Sparmodus', "
        "'Kantentyp', 'Automatisches Überfüllen', 'Schwarz überdrucken', 'Bild: RGB-Quelle'], "
        "['Schnellfarbe', 'Helligkeit', 'Farbe als Graustufen', 'Farbauszug', 'Sparmodus', "
        "'Kantentyp', 'Automatisches Überfüllen', 'Schwarz überdrucken', 'Bild: RGB-Quelle']]");
    EXPECT_EQ(query(run.out, "[d['Summary Display Order'][-1] for d in docs]"),
              "['CMYK-Graubehandlung', 'CMYK-Graubehandlung']");
    // Under "Custom" the popup's own title, under preset 0 the preset's.
    EXPECT_EQ(query(run.out, "[(d['Schnellfarbe'], d['Text: Raster']) for d in docs]"),
              "[('Custom', 'Standard'), ('Automatic', 'Detail')]");
    EXPECT_EQ(query(run.out, "docs[0]['Automatisches Überfüllen']"), "On");
}

struct BadRun {
    const char* name;
    std::vector<std::string> arguments;
};
class PdeHostRefuses : public ::testing::TestWithParam<BadRun> {};

TEST_P(PdeHostRefuses, WithOneLineAndStatus2) {
    TempDir dir;
    std::ofstream(dir.file("corrupt.plist")) << "<plist><dict><key>T48";
    std::vector<std::string> arguments;
    for (const std::string& word : GetParam().arguments) {
        arguments.push_back(word == "@corrupt" ? dir.file("corrupt.plist") : word);
    }
    const RunResult run = host(arguments);
    EXPECT_EQ(run.exitStatus, 2) << run.out;
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.rfind("pdehost: ", 0), 0u) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Usage, PdeHostRefuses,
    ::testing::Values(BadRun{"MissingPPD", {"--ppd", "/nonexistent/T48.ppd", "show"}},
                      BadRun{"NotAPPD", {"--ppd", "/etc/hostname", "show"}},
                      BadRun{"MissingPlugin", {"--plugin", "/nonexistent/colorpde.so", "show"}},
                      BadRun{"UnknownCommand", {"preview"}},
                      BadRun{"UnknownOption", {"--queue", "x", "show"}},
                      BadRun{"OptionWithoutValue", {"show", "--printer"}},
                      BadRun{"SetWithoutValue", {"set", "menu_QuickColor"}},
                      BadRun{"ClickWithoutOutlet", {"click"}},
                      BadRun{"UnknownOutlet", {"set", "menu_NoSuch=1"}},
                      BadRun{"PopupIndexPastItems", {"set", "menu_QuickColor=4"}},
                      BadRun{"CheckBoxTwo", {"set", "check_EconomyPrint=2"}},
                      BadRun{"NotANumber", {"set", "menu_QuickColor=x"}},
                      BadRun{"LabelTakesNoValue", {"set", "text_QuickColor=1"}},
                      BadRun{"ClickAPopup", {"click", "menu_QuickColor"}},
                      BadRun{"CorruptTicket", {"--ticket", "@corrupt", "show"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Output that could not be written is a failed run, not a session that printed nothing.
TEST(PdeHostOutput, ThatCannotBeWrittenFailsTheRun) {
    const RunResult run = runProgram(
        {"/bin/sh", "-c", "exec \"$0\" --ppd \"$1\" show keys >/dev/full", pdehost(), samplePPD()},
        kEnglish);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(run.err.rfind("pdehost: ", 0), 0u) << run.err;
}

TEST(ColorPDELibrary, ExportsOnlyItsEntryPoint) {
    const RunResult run =
        runProgram({"/usr/bin/nm", "-D", "--defined-only", binaryDir() + "/PDE/colorpde.so"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out.substr(run.out.find(' ') + 1), "T T48ColorPDECreatePlugIn\n");
}

}  // namespace
