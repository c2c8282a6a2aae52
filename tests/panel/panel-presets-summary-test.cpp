// The Quick Color presets as the panel applies them before printing, and the summary
// it answers, over the real sample PPD.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "panel-test-support.hpp"
#include "pde-bundle.hpp"
#include "pde-common.hpp"
#include "pde-plugin.hpp"

namespace {

using namespace t48::pde;
using t48::testing::samplePPDPath;
using t48::testing::TestHost;
namespace ui = t48::ui;
namespace cf = t48::cf;

struct PresetRow {
    const char* outlet;
    const char* ppdKey;
    const char* name;
    int item[3];  // Quick Color 0, 1, 2 with EconoMode off
};

// The advanced popups in the order of the presets, with the items each preset selects.
const PresetRow kPresets[] = {
    {"menu_iRGBSource", "ZTImageRGBSource", "Image RGB Source", {1, 1, 1}},
    {"menu_iRGBIntent", "ZTImageRenderIntent", "Image RGB Intent", {0, 0, 1}},
    {"menu_iRGBGrayTreatment", "ZTImageGrayTreatment", "Image RGB Gray Treatment", {1, 0, 1}},
    {"menu_iDestinationProfile",
     "ZTImageDestinationProfile",
     "Image Destination Profile",
     {0, 0, 0}},
    {"menu_iHalftone", "ZTImageHalftone", "Image Halftone", {1, 1, 2}},
    {"menu_iEdgeEnhancement", "ZTImageEdgeEnhance", "Image EdgeEnhance", {0, 0, 1}},
    {"menu_tRGBSource", "ZTTextRGBSource", "Text RGB Source", {1, 1, 1}},
    {"menu_tRGBIntent", "ZTTextRenderIntent", "Text RGB Intent", {1, 0, 1}},
    {"menu_tRGBGrayTreatment", "ZTTextGrayTreatment", "Text RGB Gray Treatment", {1, 0, 1}},
    {"menu_tDestinationProfile", "ZTTextDestinationProfile", "Text Destination Profile", {0, 0, 0}},
    {"menu_tHalftone", "ZTTextHalftone", "Text Halftone", {2, 1, 2}},
    {"menu_tEdgeEnhancement", "ZTTextEdgeEnhance", "Text EdgeEnhance", {1, 0, 1}},
    {"menu_gRGBSource", "ZTGraphicsRGBSource", "Graphics RGB Source", {1, 1, 1}},
    {"menu_gRGBIntent", "ZTGraphicsRenderIntent", "Graphics RGB Intent", {1, 0, 1}},
    {"menu_gRGBGrayTreatment", "ZTGraphicsGrayTreatment", "Graphics RGB Gray Treatment", {1, 0, 1}},
    {"menu_gDestinationProfile",
     "ZTGraphicsDestinationProfile",
     "Graphics Destination Profile",
     {0, 0, 0}},
    {"menu_gHalftone", "ZTGraphicsHalftone", "Graphics Halftone", {1, 1, 2}},
    {"menu_gEdgeEnhancement", "ZTGraphicsEdgeEnhance", "Graphics EdgeEnhance", {1, 0, 1}},
    {"menu_sSimulationProfile", "ZTSimSource", "Simulation Profile", {0, 0, 0}},
    {"menu_sMatchPaperColor", "ZTSimRenderIntent", "Match Paper Color", {0, 0, 0}},
    {"menu_sCMYKGrayTreatment", "ZTSimGrayTreatment", "CMYK Gray Treatment", {0, 0, 0}},
};
const std::vector<std::string> kColorNames = {
    "Quick Color", "Brightness", "Color as Grayscale", "Color Separation",
    "EconoMode",   "EdgeType",   "AutoTrapping",       "BlackOverprint"};

// The item a preset selects, with EconoMode's overrides of the edge enhancement.
int expectedItem(const PresetRow& row, int quickColor, int econo) {
    const std::string outlet = row.outlet;
    if (econo != 0 && ((quickColor == 0 && outlet == "menu_gEdgeEnhancement") ||
                       (quickColor == 2 && (outlet == "menu_iEdgeEnhancement" ||
                                            outlet == "menu_gEdgeEnhancement")))) {
        return 0;
    }
    return row.item[quickColor];
}

class PresetsAndSummary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        holdPluginBundle(t48::bundle::Bundle::forLibraryPath(t48::testing::builtPluginPath()));
    }
    void SetUp() override { panel.restoreValuesAndReturnError(nullptr); }

    ui::PopUpButton& popup(const std::string& outlet) {
        for (const PDENamedControl& named : panel.interfaceControls()) {
            if (named.outlet == outlet) {
                return static_cast<ui::PopUpButton&>(*named.control);
            }
        }
        ADD_FAILURE() << "no outlet " << outlet;
        static ui::PopUpButton none;
        return none;
    }

    // Every advanced popup on its last item, which no preset selects.
    void scrambleAdvanced() {
        for (const PresetRow& row : kPresets) {
            popup(row.outlet).selectItemAtIndex(popup(row.outlet).numberOfItems() - 1);
        }
    }
    std::vector<int> advancedSelection() {
        std::vector<int> selection;
        for (const PresetRow& row : kPresets) {
            selection.push_back(popup(row.outlet).indexOfSelectedItem());
        }
        return selection;
    }
    void quickColor(int index, int econo) {
        panel.onColorView()->menu_QuickColor->selectItemAtIndex(index);
        panel.onColorView()->check_EconomyPrint->setState(econo);
    }

    static std::vector<std::string> order(const cf::ValueRef& summary) {
        std::vector<std::string> names;
        const cf::ValueRef array = summary->get(kPDESummaryDisplayOrder);
        EXPECT_TRUE(array && array->asArray());
        for (const cf::ValueRef& name : array ? *array->asArray() : cf::Array{}) {
            names.push_back(*name->asString());
        }
        return names;
    }
    static std::string text(const cf::ValueRef& summary, const std::string& name) {
        const cf::ValueRef value = summary->get(name);
        return value && value->asString() ? *value->asString() : "<absent>";
    }

    TestHost host{samplePPDPath()};
    PDEPlugInInterface panel{&host};
};

using PresetCase = std::tuple<int, int>;  // Quick Color index, EconoMode state
class Preset : public PresetsAndSummary, public ::testing::WithParamInterface<PresetCase> {};

TEST_P(Preset, PrintSelectsThePresetAndWritesTheAdvancedPane) {
    const auto [q, econo] = GetParam();
    panel.saveValuesAndReturnError(nullptr);
    scrambleAdvanced();
    quickColor(q, econo);
    EXPECT_TRUE(panel.shouldPrint());
    const cf::ValueRef model = host.settings().getValue("T48")->get("T48_Office");
    for (const PresetRow& row : kPresets) {
        const int item = expectedItem(row, q, econo);
        EXPECT_EQ(popup(row.outlet).indexOfSelectedItem(), item) << row.outlet;
        const std::string keyword = popup(row.outlet).keywordAtIndex(item);
        EXPECT_EQ(*host.settings().getValue(row.ppdKey)->asString(), keyword) << row.ppdKey;
        EXPECT_EQ(*model->get(row.ppdKey)->asString(), keyword) << row.ppdKey;
    }
    EXPECT_EQ(*host.settings().getValue("ZTQuickColor")->asString(), "Auto")
        << "the Color Options values stay as the last save wrote them";
    EXPECT_EQ(*host.settings().getValue("ZTEconoMode")->asString(), "False");
}

TEST_P(Preset, SummaryShowsThePresetWithoutTouchingThePopups) {
    const auto [q, econo] = GetParam();
    scrambleAdvanced();
    quickColor(q, econo);
    const std::vector<int> before = advancedSelection();
    const cf::ValueRef summary = panel.summaryInfo();
    EXPECT_EQ(advancedSelection(), before);

    std::vector<std::string> expectedOrder = kColorNames;
    for (const PresetRow& row : kPresets) {
        expectedOrder.push_back(row.name);
        EXPECT_EQ(text(summary, row.name),
                  popup(row.outlet).itemTitleAtIndex(expectedItem(row, q, econo)))
            << row.name;
    }
    EXPECT_EQ(order(summary), expectedOrder);
    EXPECT_EQ(summary->asDictionary()->size(), expectedOrder.size() + 1);
    EXPECT_EQ(text(summary, "EconoMode"), econo != 0 ? "On" : "Off");
}

INSTANTIATE_TEST_SUITE_P(QuickColorAndEconoMode, Preset,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Values(0, 1)));

TEST_F(PresetsAndSummary, PresetZeroSummaryTitles) {
    quickColor(0, 0);
    const cf::ValueRef summary = panel.summaryInfo();
    EXPECT_EQ(text(summary, "Quick Color"), "Automatic");
    EXPECT_EQ(text(summary, "Image RGB Gray Treatment"), "Composite Black (CMYK)");
    EXPECT_EQ(text(summary, "Text Halftone"), "Detail");
    EXPECT_EQ(text(summary, "Graphics EdgeEnhance"), "On");
    EXPECT_EQ(text(summary, "Simulation Profile"), "None");
}

class NoPreset : public PresetsAndSummary, public ::testing::WithParamInterface<int> {};

TEST_P(NoPreset, PrintChangesNoPopup) {
    scrambleAdvanced();
    quickColor(GetParam(), 1);
    const std::vector<int> before = advancedSelection();
    panel.shouldPrint();
    EXPECT_EQ(advancedSelection(), before);
    for (const PresetRow& row : kPresets) {
        EXPECT_EQ(*host.settings().getValue(row.ppdKey)->asString(),
                  popup(row.outlet).keywordAtIndex(popup(row.outlet).numberOfItems() - 1))
            << row.ppdKey;
    }
}

// 3 is "Custom"; -1 is no selection.
INSTANTIATE_TEST_SUITE_P(CustomAndNone, NoPreset, ::testing::Values(3, -1));

TEST_F(PresetsAndSummary, CustomSummarisesTheAdvancedPopupsOwnTitles) {
    scrambleAdvanced();
    quickColor(3, 1);
    const cf::ValueRef summary = panel.summaryInfo();
    std::vector<std::string> expectedOrder = kColorNames;
    for (const PresetRow& row : kPresets) {
        expectedOrder.push_back(row.name);
        EXPECT_EQ(text(summary, row.name),
                  popup(row.outlet).itemTitleAtIndex(popup(row.outlet).numberOfItems() - 1))
            << row.name;
    }
    EXPECT_EQ(order(summary), expectedOrder);
    EXPECT_EQ(text(summary, "Quick Color"), "Custom");
}

TEST_F(PresetsAndSummary, NoQuickColorSelectionLeavesOutQuickColorAndEveryAdvancedItem) {
    quickColor(-1, 0);
    const cf::ValueRef summary = panel.summaryInfo();
    std::vector<std::string> expectedOrder(kColorNames.begin() + 1, kColorNames.end());
    EXPECT_EQ(order(summary), expectedOrder);
    EXPECT_EQ(text(summary, "Quick Color"), "<absent>");
}

TEST_F(PresetsAndSummary, CheckBoxesAreSummarisedWithTheirPPDChoiceTexts) {
    panel.onColorView()->check_ColorAsGrayscale->setState(1);
    const cf::ValueRef summary = panel.summaryInfo();
    EXPECT_EQ(text(summary, "Color as Grayscale"), "On");
    EXPECT_EQ(text(summary, "AutoTrapping"), "On");
    EXPECT_EQ(text(summary, "Color Separation"), "Off");
}

TEST_F(PresetsAndSummary, CheckBoxWithoutAMatchingChoiceIsLeftOut) {
    // AutoTrapping's record over a choice list that has no "False" row, as a PPD whose
    // Boolean option names its choices otherwise would give.
    std::vector<PDEControlItem> table(panel.onColorView()->getControlData(),
                                      panel.onColorView()->getControlData() + kColorOptionsCount);
    PDEControlItem& trapping = table[6];
    ASSERT_STREQ(trapping.ppdKey, "ZTAutoTrapping");
    ChoiceRows onlyTrue = {*trapping.choices->begin()};
    ASSERT_EQ(onlyTrue[0].choiceKeyword, "True");
    trapping.choices = &onlyTrue;
    panel.onColorView()->check_AutoTrapping->setState(0);

    cf::ValueRef dict = cf::Value::dictionary();
    cf::ValueRef names = cf::Value::array();
    EXPECT_EQ(PDECommon::commonGetSummaryText(table.data(), dict.get(), names.get()), kPDEParamErr);
    EXPECT_EQ(names->asArray()->size(), 7u) << "the other entries are still added";
    EXPECT_FALSE(dict->get("AutoTrapping"));
    EXPECT_TRUE(dict->get("BlackOverprint"));
    EXPECT_EQ(PDECommon::commonGetSummaryText(table.data(), nullptr, names.get()), kPDEParamErr);
}

TEST_F(PresetsAndSummary, QuickColorItemNamesMustBeASCII) {
    cf::ValueRef dict = cf::Value::dictionary();
    cf::ValueRef names = cf::Value::array();
    EXPECT_EQ(
        PDECommon::commonGetSummaryTextQuickColor("Bild\xc3\xa4", "x", dict.get(), names.get()),
        kPDEParamErr);
    EXPECT_EQ(PDECommon::commonGetSummaryTextQuickColor(nullptr, "x", dict.get(), names.get()),
              kPDEParamErr);
    EXPECT_TRUE(names->asArray()->empty());
    // The same name twice stands twice in the order; the dictionary keeps the last value.
    ASSERT_EQ(PDECommon::commonGetSummaryTextQuickColor("Image Halftone", "Smooth", dict.get(),
                                                        names.get()),
              kPDENoErr);
    ASSERT_EQ(PDECommon::commonGetSummaryTextQuickColor("Image Halftone", "Detail", dict.get(),
                                                        names.get()),
              kPDENoErr);
    EXPECT_EQ(names->asArray()->size(), 2u);
    EXPECT_EQ(*dict->get("Image Halftone")->asString(), "Detail");
}

TEST(SummaryBeforeLoading, SummaryLoadsThePanel) {
    holdPluginBundle(t48::bundle::Bundle::forLibraryPath(t48::testing::builtPluginPath()));
    TestHost host(samplePPDPath());
    PDEPlugInInterface panel(&host);
    const cf::ValueRef summary = panel.summaryInfo();
    EXPECT_FALSE(panel.interfaceControls().empty());
    ASSERT_TRUE(summary->get(kPDESummaryDisplayOrder));
    // Not restored: the popups show their first items, the preset of Quick Color 0 applies.
    EXPECT_EQ(summary->get(kPDESummaryDisplayOrder)->asArray()->size(), 29u);
}

}  // namespace
