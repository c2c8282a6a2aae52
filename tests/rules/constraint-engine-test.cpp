// The shipped rules run over the headless controls of both panes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "combined-panel.hpp"
#include "constraint-engine.hpp"

namespace t48::pde {
namespace {

using testing::CombinedPanel;

// The popups Color as Grayscale disables.
const std::vector<std::string> kGrayscalePopups = {
    "ImageRGBSourcePopup",          "ImageRenderIntentPopup",
    "ImageGrayTreatmentPopup",      "ImageDestinationProfilePopup",
    "TextRGBSourcePopup",           "TextRenderIntentPopup",
    "TextGrayTreatmentPopup",       "TextDestinationProfilePopup",
    "GraphicsRGBSourcePopup",       "GraphicsRenderIntentPopup",
    "GraphicsGrayTreatmentPopup",   "GraphicsDestinationProfilePopup",
    "SimulationSourcePopup",        "SimulationRenderIntentPopup",
    "SimulationGrayTreatmentPopup",
};
const std::vector<std::string> kEdgeEnhancePopups = {
    "ImageEdgeEnhancePopup", "TextEdgeEnhancePopup", "GraphicsEdgeEnhancePopup"};
// Controls no rule may touch.
const std::vector<std::string> kUntouched = {"ZTImageHalftone",      "ZTTextHalftone",
                                             "ZTGraphicsHalftone",   "ZTBrightness",
                                             "AutoTrappingCheckBox", "BlackOverprintPopup"};

struct ControlState {
    int value;
    bool enabled;
    bool operator==(const ControlState&) const = default;
};

std::vector<ControlState> snapshot(const CombinedPanel& panel) {
    std::vector<ControlState> states;
    for (const PDEControlItem& item : panel.combinedRecords()) {
        if (item.control == nullptr) {
            continue;
        }
        int value = 0;
        if (auto* popup = dynamic_cast<ui::PopUpButton*>(item.control)) {
            value = popup->indexOfSelectedItem();
        } else if (auto* box = dynamic_cast<ui::CheckBox*>(item.control)) {
            value = box->state();
        }
        states.push_back({value, item.control->isEnabled()});
    }
    return states;
}

class ConstraintRulesTest : public ::testing::Test {
protected:
    // A state under which no rule holds: Custom, both boxes off, EdgeType "Normal",
    // RGB and simulation sources set, destinations "Auto".
    void SetUp() override {
        select("QuickColorPopup", 3);
        select("EdgeTypePopup", 2);
        for (const char* source : {"ImageRGBSourcePopup", "TextRGBSourcePopup",
                                   "GraphicsRGBSourcePopup", "SimulationSourcePopup"}) {
            select(source, 1);
        }
    }

    void select(const std::string& name, int index) { panel.popup(name).selectItemAtIndex(index); }
    void check(const std::string& name, int state) { panel.checkBox(name).setState(state); }
    bool enabled(const std::string& name) const { return panel.control(name).isEnabled(); }
    void disableAll() {
        for (const PDEControlItem& item : panel.combinedRecords()) {
            if (item.control != nullptr) {
                item.control->setEnabled(false);
            }
        }
    }
    void run() { vColorPresetConstraints(panel.combinedTable()); }

    CombinedPanel panel;
};

TEST_F(ConstraintRulesTest, NoRuleHoldingEnablesEveryTargetWhateverDisabledIt) {
    disableAll();
    run();
    for (const auto& name : kGrayscalePopups) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    for (const auto& name : kEdgeEnhancePopups) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    for (const char* name :
         {"GoToAdvancedOptionsButton", "ColorAsGrayCheckBox", "ColorSeparationCheckBox"}) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    for (const auto& name : kUntouched) {
        EXPECT_FALSE(enabled(name)) << name << " is no rule target";
    }
}

class QuickColorButtonTest : public ConstraintRulesTest,
                             public ::testing::WithParamInterface<int> {};

TEST_P(QuickColorButtonTest, AdvancedButtonEnabledOnlyUnderCustom) {
    select("QuickColorPopup", GetParam());
    run();
    EXPECT_EQ(enabled("GoToAdvancedOptionsButton"), GetParam() == 3)
        << "Quick Color index " << GetParam();
}

// -1 is no selection (rule value 0); 3 is "Custom".
INSTANTIATE_TEST_SUITE_P(Indexes, QuickColorButtonTest, ::testing::Values(-1, 0, 1, 2, 3));

TEST_F(ConstraintRulesTest, GrayscaleSwitchesSeparationOffAndDisablesTheFifteenPopups) {
    check("ColorAsGrayCheckBox", 1);
    select("ImageEdgeEnhancePopup", 1);
    select("ZTTextHalftone", 2);
    run();
    EXPECT_EQ(panel.checkBox("ColorSeparationCheckBox").state(), 0);
    EXPECT_FALSE(enabled("ColorSeparationCheckBox"));
    EXPECT_EQ(panel.checkBox("ColorAsGrayCheckBox").state(), 1);
    EXPECT_TRUE(enabled("ColorAsGrayCheckBox"));
    for (const auto& name : kGrayscalePopups) {
        EXPECT_FALSE(enabled(name)) << name;
    }
    for (const auto& name : kEdgeEnhancePopups) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    for (const auto& name : kUntouched) {
        EXPECT_TRUE(enabled(name)) << name;
    }
    EXPECT_EQ(panel.popup("ImageEdgeEnhancePopup").indexOfSelectedItem(), 1);
    EXPECT_EQ(panel.popup("ZTTextHalftone").indexOfSelectedItem(), 2);

    check("ColorAsGrayCheckBox", 0);
    run();
    EXPECT_TRUE(enabled("ColorSeparationCheckBox"));
    for (const auto& name : kGrayscalePopups) {
        EXPECT_TRUE(enabled(name)) << name << " after Color as Grayscale went off";
    }
}

TEST_F(ConstraintRulesTest, BothBoxesOnAtTheStartLeaveGrayscaleWinning) {
    check("ColorAsGrayCheckBox", 1);
    check("ColorSeparationCheckBox", 1);
    run();
    EXPECT_EQ(panel.checkBox("ColorAsGrayCheckBox").state(), 1);
    EXPECT_TRUE(enabled("ColorAsGrayCheckBox"));
    EXPECT_EQ(panel.checkBox("ColorSeparationCheckBox").state(), 0);
    EXPECT_FALSE(enabled("ColorSeparationCheckBox"));
}

TEST_F(ConstraintRulesTest, SeparationSwitchesGrayscaleOffBeforeTheAdvancedRulesRead) {
    check("ColorAsGrayCheckBox", 0);
    check("ColorSeparationCheckBox", 1);
    run();
    EXPECT_EQ(panel.checkBox("ColorAsGrayCheckBox").state(), 0);
    EXPECT_FALSE(enabled("ColorAsGrayCheckBox"));
    EXPECT_TRUE(enabled("ColorSeparationCheckBox"));
    for (const auto& name : kGrayscalePopups) {
        EXPECT_TRUE(enabled(name)) << name;
    }
}

class ObjectClassTest : public ConstraintRulesTest,
                        public ::testing::WithParamInterface<std::string> {
protected:
    static std::vector<std::string> classes() { return {"Image", "Text", "Graphics"}; }
};

TEST_P(ObjectClassTest, RGBSourceNoneDisablesOnlyThatClassIntent) {
    select(GetParam() + "RGBSourcePopup", 0);
    run();
    for (const auto& other : classes()) {
        EXPECT_EQ(enabled(other + "RenderIntentPopup"), other != GetParam()) << other;
        EXPECT_TRUE(enabled(other + "RGBSourcePopup")) << other;
        EXPECT_TRUE(enabled(other + "GrayTreatmentPopup")) << other;
    }
}

TEST_P(ObjectClassTest, DestinationOtherThanAutoDisablesOnlyThatClassGrayTreatment) {
    for (int item : {1, 2}) {
        select(GetParam() + "DestinationProfilePopup", item);
        run();
        for (const auto& other : classes()) {
            EXPECT_EQ(enabled(other + "GrayTreatmentPopup"), other != GetParam())
                << other << " with destination item " << item;
            EXPECT_TRUE(enabled(other + "RenderIntentPopup")) << other;
        }
    }
    select(GetParam() + "DestinationProfilePopup", 0);
    run();
    EXPECT_TRUE(enabled(GetParam() + "GrayTreatmentPopup")) << "destination back to Auto";
}

INSTANTIATE_TEST_SUITE_P(Classes, ObjectClassTest, ::testing::Values("Image", "Text", "Graphics"));

TEST_F(ConstraintRulesTest, SimulationNoneDisablesMatchPaperColorAndCMYKGray) {
    select("SimulationSourcePopup", 0);
    run();
    EXPECT_TRUE(enabled("SimulationSourcePopup"));
    EXPECT_FALSE(enabled("SimulationRenderIntentPopup"));
    EXPECT_FALSE(enabled("SimulationGrayTreatmentPopup"));
}

struct EdgeCase {
    int econoMode;
    int edgeType;  // index; 0 is "Off", -1 no selection
    bool image, text, graphics;
};

class EdgeEnhanceTest : public ConstraintRulesTest,
                        public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(EdgeEnhanceTest, EconoModeAndEdgeTypeDecideEdgeEnhancement) {
    const EdgeCase& c = GetParam();
    check("EconoModeCheckBox", c.econoMode);
    select("EdgeTypePopup", c.edgeType);
    run();
    EXPECT_EQ(enabled("ImageEdgeEnhancePopup"), c.image);
    EXPECT_EQ(enabled("TextEdgeEnhancePopup"), c.text);
    EXPECT_EQ(enabled("GraphicsEdgeEnhancePopup"), c.graphics);
}

INSTANTIATE_TEST_SUITE_P(
    States, EdgeEnhanceTest,
    ::testing::Values(EdgeCase{0, 2, true, true, true}, EdgeCase{1, 2, false, true, false},
                      EdgeCase{1, 3, false, true, false}, EdgeCase{0, 0, false, false, false},
                      EdgeCase{1, 0, false, false, false}, EdgeCase{0, -1, true, true, true},
                      EdgeCase{1, -1, false, true, false}));

TEST_F(ConstraintRulesTest, ColorOptionsTableAloneLeavesTheAdvancedControls) {
    check("ColorAsGrayCheckBox", 1);
    check("ColorSeparationCheckBox", 1);
    select("QuickColorPopup", 0);
    select("EdgeTypePopup", 0);
    panel.control("TextEdgeEnhancePopup").setEnabled(false);
    vColorPresetConstraints(panel.colorTable());
    EXPECT_EQ(panel.checkBox("ColorSeparationCheckBox").state(), 0);
    EXPECT_FALSE(enabled("ColorSeparationCheckBox"));
    EXPECT_TRUE(enabled("ColorAsGrayCheckBox"));
    EXPECT_FALSE(enabled("GoToAdvancedOptionsButton"));
    for (const auto& name : kGrayscalePopups) {
        EXPECT_TRUE(enabled(name)) << name << " is not in the table handed in";
    }
    EXPECT_TRUE(enabled("ImageEdgeEnhancePopup"));
    EXPECT_FALSE(enabled("TextEdgeEnhancePopup")) << "reversal reached a control outside";
}

TEST_F(ConstraintRulesTest, SingleStepsActOnlyWhenCalled) {
    check("ColorAsGrayCheckBox", 1);
    check("ColorSeparationCheckBox", 1);
    const PDEControlItem* table = panel.combinedTable();
    EXPECT_EQ(bMatchCondition(0, table), 0) << "Quick Color is Custom";
    EXPECT_EQ(bMatchCondition(1, table), 1);
    EXPECT_EQ(bMatchCondition(2, table), 1);
    EXPECT_EQ(panel.checkBox("ColorSeparationCheckBox").state(), 1) << "matching changed a value";

    vValueChange(1, table);
    EXPECT_EQ(panel.checkBox("ColorSeparationCheckBox").state(), 0);
    EXPECT_TRUE(enabled("ColorSeparationCheckBox")) << "a value change is no action";
    vActOption(1, table);
    EXPECT_FALSE(enabled("ColorSeparationCheckBox"));
    vActReverseOption(1, table);
    EXPECT_TRUE(enabled("ColorSeparationCheckBox"));

    const auto before = snapshot(panel);
    vValueChange(0, table);  // rule 1 has no value change
    EXPECT_EQ(snapshot(panel), before);
}

TEST_F(ConstraintRulesTest, RuleIndexesOutsideTheTableDoNothing) {
    select("QuickColorPopup", 0);
    const auto before = snapshot(panel);
    for (int32_t index : {-1, kCSTColorOptionRuleCount, kCSTColorOptionRuleCount + 1, 100000}) {
        EXPECT_EQ(bMatchCondition(index, panel.combinedTable()), 0) << index;
        vValueChange(index, panel.combinedTable());
        vActOption(index, panel.combinedTable());
        vActReverseOption(index, panel.combinedTable());
    }
    EXPECT_EQ(snapshot(panel), before);
}

TEST_F(ConstraintRulesTest, AbsentControlsMakeConditionsFalseEvenUnderNotEqual) {
    const PDEControlItem empty[] = {kTerminatorItem};
    EXPECT_EQ(bMatchCondition(0, empty), 0) << "absent Quick Color must not disable the button";
    EXPECT_EQ(bMatchCondition(0, nullptr), 0);
    vColorPresetConstraints(empty);
    vColorPresetConstraints(nullptr);
}

// Over many random states: the first run leaves a state the second run does not change,
// the two check boxes are never both on, and no control outside the rule targets moves.
TEST_F(ConstraintRulesTest, SecondRunChangesNothingOverRandomStates) {
    std::mt19937 random(4848);
    const auto& records = panel.combinedRecords();
    for (int round = 0; round < 10000; ++round) {
        for (const PDEControlItem& item : records) {
            if (item.control == nullptr) {
                continue;
            }
            item.control->setEnabled(random() % 2 == 0);
            if (auto* popup = dynamic_cast<ui::PopUpButton*>(item.control)) {
                popup->selectItemAtIndex(static_cast<int>(random() % (popup->numberOfItems() + 1)) -
                                         1);
            } else if (auto* box = dynamic_cast<ui::CheckBox*>(item.control)) {
                box->setState(static_cast<int>(random() % 2));
            }
        }
        std::vector<bool> untouched;
        for (const auto& name : kUntouched) {
            untouched.push_back(enabled(name));
        }
        const int quickColor = panel.popup("QuickColorPopup").indexOfSelectedItem();

        run();
        const auto once = snapshot(panel);
        run();
        ASSERT_EQ(snapshot(panel), once) << "round " << round;

        const bool gray = panel.checkBox("ColorAsGrayCheckBox").state() == 1;
        ASSERT_FALSE(gray && panel.checkBox("ColorSeparationCheckBox").state() == 1)
            << "round " << round;
        ASSERT_EQ(enabled("GoToAdvancedOptionsButton"), quickColor == 3) << "round " << round;
        for (const auto& name : kGrayscalePopups) {
            if (gray) {
                ASSERT_FALSE(enabled(name)) << name << " round " << round;
            }
        }
        for (size_t k = 0; k < kUntouched.size(); ++k) {
            ASSERT_EQ(enabled(kUntouched[k]), untouched[k]) << kUntouched[k] << " round " << round;
        }
    }
}

}  // namespace
}  // namespace t48::pde
