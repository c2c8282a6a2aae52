// The constraint rules as the panel runs them over the real sample PPD: at the end of
// restore, and through the actions the controls of the interface definition send.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "constraint-engine.hpp"
#include "panel-test-support.hpp"
#include "pde-bundle.hpp"
#include "pde-common.hpp"
#include "pde-plugin.hpp"

namespace {

using namespace t48::pde;
using t48::testing::samplePPDPath;
using t48::testing::TestHost;
namespace ui = t48::ui;

// The popups Color as Grayscale disables, by outlet.
const std::vector<std::string> kGrayscalePopups = {
    "menu_iRGBSource",          "menu_iRGBIntent",          "menu_iRGBGrayTreatment",
    "menu_iDestinationProfile", "menu_tRGBSource",          "menu_tRGBIntent",
    "menu_tRGBGrayTreatment",   "menu_tDestinationProfile", "menu_gRGBSource",
    "menu_gRGBIntent",          "menu_gRGBGrayTreatment",   "menu_gDestinationProfile",
    "menu_sSimulationProfile",  "menu_sMatchPaperColor",    "menu_sCMYKGrayTreatment",
};
const std::vector<std::string> kUnaffectedByGrayscale = {
    "menu_iHalftone",        "menu_tHalftone",        "menu_gHalftone",
    "menu_iEdgeEnhancement", "menu_tEdgeEnhancement", "menu_gEdgeEnhancement"};

struct ControlState {
    std::string outlet;
    int value;
    bool enabled;
    bool operator==(const ControlState&) const = default;
};

void PrintTo(const ControlState& s, std::ostream* os) {
    *os << s.outlet << "=" << s.value << (s.enabled ? "" : " (disabled)");
}

class PanelRules : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        holdPluginBundle(t48::bundle::Bundle::forLibraryPath(t48::testing::builtPluginPath()));
    }

    ui::Control& control(const std::string& outlet) {
        for (const PDENamedControl& named : panel.interfaceControls()) {
            if (named.outlet == outlet) {
                return *named.control;
            }
        }
        ADD_FAILURE() << "no outlet " << outlet;
        static ui::Control none;
        return none;
    }
    ui::PopUpButton& popup(const std::string& outlet) {
        return static_cast<ui::PopUpButton&>(control(outlet));
    }
    ui::CheckBox& box(const std::string& outlet) {
        return static_cast<ui::CheckBox&>(control(outlet));
    }
    bool enabled(const std::string& outlet) { return control(outlet).isEnabled(); }

    // What a user does: change the control, which then sends its action.
    void userSet(const std::string& outlet, int value) {
        ui::Control& c = control(outlet);
        if (c.type() == ui::ControlType::CheckBox) {
            static_cast<ui::CheckBox&>(c).setState(value);
        } else {
            static_cast<ui::PopUpButton&>(c).selectItemAtIndex(value);
        }
        c.sendAction();
    }

    void setModelValue(const std::string& key, const std::string& value) {
        auto product = host.settings().getValue(kPDEProductKey);
        if (!product) {
            host.settings().setValue(kPDEProductKey, t48::cf::Value::dictionary());
            product = host.settings().getValue(kPDEProductKey);
            product->set("T48_Office", t48::cf::Value::dictionary());
        }
        product->get("T48_Office")->set(key, t48::cf::Value::string(value));
    }

    std::vector<ControlState> snapshot() {
        std::vector<ControlState> states;
        for (const PDENamedControl& named : panel.interfaceControls()) {
            int value = 0;
            if (named.control->type() == ui::ControlType::PopUpButton) {
                value = static_cast<ui::PopUpButton*>(named.control)->indexOfSelectedItem();
            } else if (named.control->type() == ui::ControlType::CheckBox) {
                value = static_cast<ui::CheckBox*>(named.control)->state();
            }
            states.push_back({named.outlet, value, named.control->isEnabled()});
        }
        return states;
    }

    // The popups and check boxes of both panes, by outlet.
    std::vector<std::string> optionOutlets() {
        std::vector<std::string> outlets;
        for (const PDENamedControl& named : panel.interfaceControls()) {
            const ui::ControlType type = named.control->type();
            if (type == ui::ControlType::PopUpButton || type == ui::ControlType::CheckBox) {
                outlets.push_back(named.outlet);
            }
        }
        return outlets;
    }

    int choiceCount(const std::string& outlet) {
        ui::Control& c = control(outlet);
        return c.type() == ui::ControlType::CheckBox
                   ? 2
                   : static_cast<ui::PopUpButton&>(c).numberOfItems();
    }

    TestHost host{samplePPDPath()};
    PDEPlugInInterface panel{&host};
};

TEST_F(PanelRules, RestoreRunsTheRulesOverBothPanes) {
    panel.restoreValuesAndReturnError(nullptr);
    // The sample PPD's defaults: Quick Color "Automatic", simulation profile "None".
    EXPECT_FALSE(enabled("button_AdvanceColorOptions"));
    EXPECT_FALSE(enabled("menu_sMatchPaperColor"));
    EXPECT_FALSE(enabled("menu_sCMYKGrayTreatment"));
    EXPECT_TRUE(enabled("menu_iRGBIntent"));
    EXPECT_TRUE(enabled("check_ColorSeparation"));
}

TEST_F(PanelRules, BothBoxesOnInTheTicketLeaveGrayscaleWinning) {
    setModelValue("ZTColorAsGray", "True");
    setModelValue("ZTColorSeparation", "True");
    setModelValue("ZTQuickColor", "UserDefined");
    panel.restoreValuesAndReturnError(nullptr);
    EXPECT_EQ(box("check_ColorAsGrayscale").state(), 1);
    EXPECT_TRUE(enabled("check_ColorAsGrayscale"));
    EXPECT_EQ(box("check_ColorSeparation").state(), 0);
    EXPECT_FALSE(enabled("check_ColorSeparation"));
    for (const std::string& outlet : kGrayscalePopups) {
        EXPECT_FALSE(enabled(outlet)) << outlet;
    }
    EXPECT_TRUE(enabled("button_AdvanceColorOptions"));
    // The save writes what the rules left.
    panel.saveValuesAndReturnError(nullptr);
    EXPECT_EQ(*host.settings().getValue("ZTColorSeparation")->asString(), "False");
}

TEST_F(PanelRules, GrayscaleCheckBoxReachesTheAdvancedPopupsAtOnce) {
    panel.restoreValuesAndReturnError(nullptr);
    userSet("menu_sSimulationProfile", 1);  // so nothing else disables the simulation popups
    userSet("check_ColorSeparation", 1);
    EXPECT_FALSE(enabled("check_ColorAsGrayscale"));
    userSet("check_ColorSeparation", 0);
    userSet("check_ColorAsGrayscale", 1);
    EXPECT_FALSE(enabled("check_ColorSeparation"));
    for (const std::string& outlet : kGrayscalePopups) {
        EXPECT_FALSE(enabled(outlet)) << outlet;
    }
    for (const std::string& outlet : kUnaffectedByGrayscale) {
        EXPECT_TRUE(enabled(outlet)) << outlet;
    }
    userSet("check_ColorAsGrayscale", 0);
    EXPECT_TRUE(enabled("check_ColorSeparation"));
    for (const std::string& outlet : kGrayscalePopups) {
        EXPECT_TRUE(enabled(outlet)) << outlet;
    }
}

class QuickColorButton : public PanelRules, public ::testing::WithParamInterface<int> {};

TEST_P(QuickColorButton, AdvancedButtonFollowsQuickColorOnlyUnderCustom) {
    panel.restoreValuesAndReturnError(nullptr);
    userSet("menu_QuickColor", GetParam());
    EXPECT_EQ(enabled("button_AdvanceColorOptions"), GetParam() == 3);
    ui::View* container = panel.onColorView()->superview();
    ASSERT_NE(container, nullptr);
    static_cast<ui::PushButton&>(control("button_AdvanceColorOptions")).performClick();
    EXPECT_EQ(container->subviews().front() == panel.onAdvancedView(), GetParam() == 3)
        << "a disabled button leaves the Color pane shown";
}

// -1: nothing selected, rule value 0.
INSTANTIATE_TEST_SUITE_P(Indexes, QuickColorButton, ::testing::Values(-1, 0, 1, 2, 3));

TEST_F(PanelRules, QuickColorRunsTheRulesOverTheColorOptionsTableAlone) {
    panel.restoreValuesAndReturnError(nullptr);
    // Values changed without an action: the Color table's rules must catch up on the
    // Quick Color action, the advanced targets must not.
    box("check_ColorAsGrayscale").setState(1);
    box("check_ColorSeparation").setState(1);
    control("menu_iRGBSource").setEnabled(false);
    control("menu_tRGBIntent").setEnabled(false);
    userSet("menu_QuickColor", 3);
    EXPECT_TRUE(enabled("button_AdvanceColorOptions"));
    EXPECT_EQ(box("check_ColorSeparation").state(), 0);
    EXPECT_FALSE(enabled("check_ColorSeparation"));
    EXPECT_TRUE(enabled("check_ColorAsGrayscale"));
    EXPECT_FALSE(enabled("menu_iRGBSource")) << "the advanced rules did not run";
    EXPECT_FALSE(enabled("menu_tRGBIntent"));
    EXPECT_TRUE(enabled("menu_gRGBSource")) << "nor did they disable anything";
    // Any other option control runs them over both panes.
    userSet("menu_BlackOverprint", 1);
    EXPECT_FALSE(enabled("menu_gRGBSource"));
    EXPECT_FALSE(enabled("menu_iRGBSource"));
}

class SourceAndDestination : public PanelRules,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(SourceAndDestination, SourceNoneAndDestinationNotAutoDisableOnlyTheirClass) {
    const std::string cls = GetParam();
    panel.restoreValuesAndReturnError(nullptr);
    userSet("menu_" + cls + "RGBSource", 0);  // "None"
    userSet("menu_" + cls + "DestinationProfile", 2);
    for (const char* other : {"i", "t", "g"}) {
        const bool same = cls == other;
        EXPECT_EQ(enabled(std::string("menu_") + other + "RGBIntent"), !same) << other;
        EXPECT_EQ(enabled(std::string("menu_") + other + "RGBGrayTreatment"), !same) << other;
    }
    userSet("menu_" + cls + "RGBSource", 3);
    userSet("menu_" + cls + "DestinationProfile", 0);  // "Auto"
    EXPECT_TRUE(enabled("menu_" + cls + "RGBIntent"));
    EXPECT_TRUE(enabled("menu_" + cls + "RGBGrayTreatment"));
}

INSTANTIATE_TEST_SUITE_P(Classes, SourceAndDestination, ::testing::Values("i", "t", "g"));

// EconoMode state, EdgeType item (0 is "Off"); Image, Text, Graphics edge enhancement
// enabled afterwards.
using EdgeCase = std::tuple<int, int, bool, bool, bool>;
class EdgeEnhance : public PanelRules, public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(EdgeEnhance, EconoModeAndEdgeTypeDecideEdgeEnhancement) {
    const auto [econo, edgeType, image, text, graphics] = GetParam();
    panel.restoreValuesAndReturnError(nullptr);
    userSet("check_EconomyPrint", econo);
    userSet("menu_EdgeStrength", edgeType);
    EXPECT_EQ(enabled("menu_iEdgeEnhancement"), image);
    EXPECT_EQ(enabled("menu_tEdgeEnhancement"), text);
    EXPECT_EQ(enabled("menu_gEdgeEnhancement"), graphics);
}

INSTANTIATE_TEST_SUITE_P(States, EdgeEnhance,
                         ::testing::Values(EdgeCase{0, 2, true, true, true},
                                           EdgeCase{1, 2, false, true, false},
                                           EdgeCase{1, 3, false, true, false},
                                           EdgeCase{0, 0, false, false, false},
                                           EdgeCase{1, 0, false, false, false}));

// After any user change every rule target reflects the current values: a full run
// over the combined table afterwards changes nothing.
TEST_F(PanelRules, EveryUserChangeLeavesTheRulesSettled) {
    panel.restoreValuesAndReturnError(nullptr);
    const std::vector<std::string> outlets = optionOutlets();
    ASSERT_EQ(outlets.size(), 29u);
    std::mt19937 random(4813);
    for (int step = 0; step < 600; ++step) {
        const std::string& outlet = outlets[random() % outlets.size()];
        if (!enabled(outlet)) {
            continue;  // a user cannot change it
        }
        userSet(outlet, static_cast<int>(random() % choiceCount(outlet)));
        const std::vector<ControlState> after = snapshot();
        vColorPresetConstraints(panel.compTable());
        ASSERT_EQ(snapshot(), after) << "step " << step << ": " << outlet;
    }
}

TEST_F(PanelRules, ASecondRunChangesNothingOverRandomStates) {
    panel.restoreValuesAndReturnError(nullptr);
    const std::vector<std::string> outlets = optionOutlets();
    std::mt19937 random(907);
    for (int round = 0; round < 400; ++round) {
        for (const std::string& outlet : outlets) {
            ui::Control& c = control(outlet);
            // -1 (nothing selected) included for popups.
            const int value = static_cast<int>(random() % (choiceCount(outlet) + 1)) -
                              (c.type() == ui::ControlType::PopUpButton ? 1 : 0);
            if (c.type() == ui::ControlType::CheckBox) {
                static_cast<ui::CheckBox&>(c).setState(value % 2);
            } else {
                static_cast<ui::PopUpButton&>(c).selectItemAtIndex(value);
            }
            c.setEnabled(random() % 2 == 0);
        }
        panel.constraints(control("menu_Brightness"));
        const std::vector<ControlState> once = snapshot();
        panel.constraints(control("menu_Brightness"));
        ASSERT_EQ(snapshot(), once) << "round " << round;
    }
}

}  // namespace
