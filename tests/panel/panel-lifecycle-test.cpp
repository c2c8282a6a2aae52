// The panel object over the real sample PPD: loading, the two pane tables and the
// combined table, restore and save, the supported keys, titles and pane switching.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "panel-test-support.hpp"
#include "pde-bundle.hpp"
#include "pde-common.hpp"
#include "pde-plugin.hpp"
#include "system-paths.hpp"

namespace {

using namespace t48::pde;
using t48::testing::dataPath;
using t48::testing::samplePPDPath;
using t48::testing::TempDir;
using t48::testing::TestHost;

class Panel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        holdPluginBundle(t48::bundle::Bundle::forLibraryPath(t48::testing::builtPluginPath()));
    }
    TestHost host{samplePPDPath()};
    PDEPlugInInterface panel{&host};
};

int countUntilTerminator(const PDEControlItem* table) {
    int n = 0;
    while (table[n].kind != kKindEndOfTable) {
        ++n;
    }
    return n;
}

TEST(PlugIn, HandsOutOnePanelForThePanelTypeOnly) {
    PDEPlugIn plugin;
    EXPECT_TRUE(plugin.initWithBundle(t48::testing::builtPluginPath()));
    TestHost host(samplePPDPath());
    EXPECT_FALSE(
        plugin.PDEPanelsForType("00000000-0000-0000-0000-000000000000", &host).has_value());
    auto panels = plugin.PDEPanelsForType(kPDEPanelTypeID, &host);
    ASSERT_TRUE(panels.has_value());
    ASSERT_EQ(panels->size(), 1u);
    EXPECT_EQ(panels->front()->panelKind(), "orvell.pde.T48.ztco");
    EXPECT_TRUE(panels->front()->shouldHide());
}

TEST_F(Panel, SupportedKeysLoadThePanelAndListAdvancedFirst) {
    EXPECT_TRUE(panel.interfaceControls().empty());
    const std::vector<std::string> keys = panel.supportedPPDOptionKeys();
    ASSERT_EQ(keys.size(), 29u);
    EXPECT_EQ(keys.front(), "ZTImageRGBSource");
    EXPECT_EQ(keys[20], "ZTSimGrayTreatment");
    EXPECT_EQ(keys[21], "ZTQuickColor");
    EXPECT_EQ(keys.back(), "ZTBlackOverprint");
    EXPECT_EQ(panel.interfaceControls().size(), 59u);
    EXPECT_EQ(panel.panelView(), panel.panelView()) << "loaded once";
}

TEST_F(Panel, TablesAndTheCombinedTable) {
    panel.myLoad();
    PainChangeController* painChange = panel.painChange();
    ASSERT_NE(painChange, nullptr);
    EXPECT_EQ(painChange->getControlCountEachView(), 61);
    EXPECT_EQ(panel.onColorView()->getControlCount(), kColorOptionsCount);
    EXPECT_EQ(panel.onAdvancedView()->getControlCount(), kAdvancedColorOptionsCount);
    ASSERT_NE(panel.compTable(), nullptr);
    EXPECT_EQ(countUntilTerminator(panel.compTable()), 59);
    EXPECT_EQ(panel.compTable()[59].control, nullptr);
    EXPECT_EQ(panel.compTable()[0].control, panel.onColorView()->menu_QuickColor);
    EXPECT_EQ(panel.compTable()[13].control, panel.onAdvancedView()->menu_iRGBSource);
    EXPECT_EQ(panel.compTable()[13].choices, panel.onAdvancedView()->getControlData()[0].choices);

    PDEControlItem* tables[5];
    std::fill(std::begin(tables), std::end(tables), panel.compTable());
    EXPECT_EQ(painChange->getControlDataEachView(tables, 5), 2);
    EXPECT_EQ(tables[0], panel.onColorView()->getControlData());
    EXPECT_EQ(tables[1], panel.onAdvancedView()->getControlData());
    EXPECT_EQ(tables[2], nullptr);
    EXPECT_EQ(tables[4], nullptr);
    EXPECT_EQ(painChange->getControlDataEachView(tables, 1), 0);

    // Only records bound to an option that the PPD has carry choices.
    for (const PDEControlItem* item = panel.compTable(); item->control != nullptr; ++item) {
        EXPECT_EQ(item->choices != nullptr, item->ppdKey[0] != '\0') << item->ppdKey;
    }
}

TEST_F(Panel, PaneTableLifecycle) {
    ColorOptions pane;
    EXPECT_EQ(pane.getControlCount(), 0);
    EXPECT_EQ(pane.getControlData(), nullptr);
    panel.myLoad();
    ColorOptions* color = panel.onColorView();
    const PDEControlItem first = color->getControlData()[0];
    const ChoiceRows firstRows = *first.choices;
    color->deallocPDEControlTable();
    EXPECT_EQ(color->getControlData(), nullptr);
    EXPECT_EQ(color->getControlCount(), kColorOptionsCount);
    color->createPDEControlTable();
    const PDEControlItem again = color->getControlData()[0];
    EXPECT_EQ(again.control, first.control);
    EXPECT_STREQ(again.controlName, "QuickColorPopup");
    ASSERT_NE(again.choices, nullptr);
    EXPECT_EQ(again.choices->size(), firstRows.size());
    EXPECT_EQ(again.choices->at(3).choiceText, firstRows.at(3).choiceText);
}

TEST_F(Panel, RestoreOnAnEmptyTicketGivesThePPDDefaults) {
    panel.myLoad();
    panel.onAdvancedView()->tab_SwitchVew->selectTabAtIndex(2);
    ASSERT_TRUE(panel.restoreValuesAndReturnError(nullptr));
    ColorOptions& color = *panel.onColorView();
    AdvancedColorOptions& advanced = *panel.onAdvancedView();
    // The sample PPD's defaults.
    EXPECT_EQ(color.menu_QuickColor->indexOfSelectedItem(), 0);
    EXPECT_EQ(color.menu_EdgeStrength->indexOfSelectedItem(), 2);
    EXPECT_EQ(color.check_AutoTrapping->state(), 1);
    EXPECT_EQ(color.check_EconomyPrint->state(), 0);
    EXPECT_EQ(advanced.menu_iRGBSource->indexOfSelectedItem(), 1);
    EXPECT_EQ(advanced.menu_iEdgeEnhancement->indexOfSelectedItem(), 0);
    EXPECT_EQ(advanced.menu_tEdgeEnhancement->indexOfSelectedItem(), 1);
    EXPECT_EQ(advanced.menu_gHalftone->indexOfSelectedItem(), 1);
    // Every popup shows the item whose keyword is its option's default.
    for (const PDEControlItem* item = panel.compTable(); item->control != nullptr; ++item) {
        if (item->kind == kKindPopup) {
            auto* popup = static_cast<t48::ui::PopUpButton*>(item->control);
            ASSERT_GE(popup->indexOfSelectedItem(), 0) << item->ppdKey;
            EXPECT_EQ(popup->keywordAtIndex(popup->indexOfSelectedItem()),
                      item->choices->front().defaultChoice);
        }
    }
    // The table build shows the Image tab; a restore does not touch it.
    EXPECT_EQ(advanced.tab_SwitchVew->indexOfSelectedTab(), 2);
    advanced.createPDEControlTable();
    EXPECT_EQ(advanced.tab_SwitchVew->indexOfSelectedTab(), 0);
}

TEST_F(Panel, SaveBeforeLoadingDoesNothing) {
    EXPECT_TRUE(panel.saveValuesAndReturnError(nullptr));
    EXPECT_TRUE(panel.shouldPrint());
    EXPECT_TRUE(host.settings().dictionary()->asDictionary()->empty());
    EXPECT_TRUE(panel.interfaceControls().empty());
}

TEST_F(Panel, ShouldPrintWritesTheAdvancedPaneOnly) {
    panel.restoreValuesAndReturnError(nullptr);
    panel.saveValuesAndReturnError(nullptr);
    panel.onColorView()->menu_QuickColor->selectItemAtIndex(3);
    panel.onAdvancedView()->menu_tHalftone->selectItemAtIndex(2);
    EXPECT_TRUE(panel.shouldPrint());
    EXPECT_EQ(*host.settings().getValue("ZTTextHalftone")->asString(), "Detail");
    ASSERT_TRUE(host.settings().getValue("ZTQuickColor"));
    EXPECT_EQ(*host.settings().getValue("ZTQuickColor")->asString(), "Auto")
        << "left as the save wrote it";
}

TEST_F(Panel, TitlesAndTabLabelsComeFromTheStrings) {
    panel.myLoad();
    EXPECT_EQ(panel.onColorView()->text_QuickColor->stringValue(), "Quick Color:");
    EXPECT_EQ(panel.onColorView()->check_ColorAsGrayscale->title(), "Color as Grayscale");
    EXPECT_EQ(panel.onAdvancedView()->button_HideAdvancedOptions->title(), "Hide Advanced Options");
    EXPECT_EQ(panel.onAdvancedView()->text_sCMYKGrayTreatment->stringValue(),
              "CMYK Gray Treatment:");
    EXPECT_EQ(panel.onAdvancedView()->tab_SwitchVew->labelAtIndex(3), "Simulation");
    EXPECT_EQ(panel.panelName(), "Color Options");
}

TEST_F(Panel, PaneSwitching) {
    PainChangeController unloaded;
    ColorOptions color;
    AdvancedColorOptions advanced;
    t48::ui::View container;
    container.addSubview(&color);
    unloaded.onColorView = &color;
    unloaded.onAdvancedView = &advanced;
    unloaded.onMainCustomView = &container;
    t48::ui::PushButton sender;
    unloaded.ColorToAdvancedView(sender);
    EXPECT_EQ(container.subviews(), std::vector<t48::ui::View*>{&color}) << "no table, no switch";

    t48::ui::View* view = panel.panelView();
    ASSERT_NE(view, nullptr);
    ColorOptions* shownColor = panel.onColorView();
    AdvancedColorOptions* shownAdvanced = panel.onAdvancedView();
    t48::ui::View* box = shownColor->superview();
    ASSERT_NE(box, nullptr);
    shownColor->button_AdvanceColorOptions->performClick();
    EXPECT_EQ(box->subviews(), std::vector<t48::ui::View*>{shownAdvanced});
    EXPECT_EQ(shownAdvanced->bounds().width, box->bounds().width);
    EXPECT_EQ(shownAdvanced->bounds().x, 0);
    panel.willShow();
    EXPECT_EQ(box->subviews(), std::vector<t48::ui::View*>{shownColor});
    shownColor->button_AdvanceColorOptions->performClick();
    shownAdvanced->button_HideAdvancedOptions->performClick();
    EXPECT_EQ(box->subviews(), std::vector<t48::ui::View*>{shownColor});
}

TEST_F(Panel, EveryOptionControlSendsAnActionAndLabelsNone) {
    panel.myLoad();
    int options = 0;
    for (const PDENamedControl& named : panel.interfaceControls()) {
        const t48::ui::ControlType type = named.control->type();
        if (type == t48::ui::ControlType::PopUpButton || type == t48::ui::ControlType::CheckBox) {
            ++options;
            EXPECT_TRUE(named.control->hasAction()) << named.outlet;
        } else if (type == t48::ui::ControlType::Label || type == t48::ui::ControlType::TabView) {
            EXPECT_FALSE(named.control->hasAction()) << named.outlet;
        }
        EXPECT_EQ(named.control->identifier(), named.outlet);
    }
    EXPECT_EQ(options, 29);
    AdvancedColorOptions& advanced = *panel.onAdvancedView();
    EXPECT_TRUE(panel.onColorView()->button_AdvanceColorOptions->hasAction());
    EXPECT_TRUE(advanced.button_HideAdvancedOptions->hasAction());
    EXPECT_TRUE(advanced.button_DownloadManager->hasAction());
}

TEST_F(Panel, ControllerBeforeTheTablesAndWithoutAContainer) {
    PainChangeController painChange;
    ColorOptions color;
    AdvancedColorOptions advanced;
    painChange.onColorView = &color;
    painChange.onAdvancedView = &advanced;
    EXPECT_EQ(painChange.getControlCountEachView(), 0);
    advanced.setBounds({5, 5, 40, 40});
    painChange.SHowColorToAdvancedView();
    EXPECT_EQ(advanced.bounds().width, 0) << "no container: the empty rectangle";
    EXPECT_EQ(advanced.bounds().x, 0);
    EXPECT_EQ(advanced.superview(), nullptr);
}

TEST_F(Panel, PPDWithoutSomeOptionsKeepsTheirRecordsWithoutChoices) {
    TestHost partialHost(dataPath("T48-partial.ppd"));
    PDEPlugInInterface partial(&partialHost);
    partial.restoreValuesAndReturnError(nullptr);
    ColorOptions& color = *partial.onColorView();
    EXPECT_EQ(color.getControlData()[1].choices, nullptr);
    EXPECT_EQ(color.menu_Brightness->numberOfItems(), 0);
    EXPECT_EQ(color.menu_Brightness->indexOfSelectedItem(), -1);
    EXPECT_EQ(partial.supportedPPDOptionKeys().size(), 29u);
    partial.saveValuesAndReturnError(nullptr);
    const auto model = partialHost.settings().getValue("T48")->get("T48_Office");
    EXPECT_FALSE(model->get("ZTBrightness"));
    EXPECT_FALSE(model->get("ZTSimSource"));
    EXPECT_EQ(*model->get("ZTQuickColor")->asString(), "Auto");
    EXPECT_FALSE(model->get("ZTSimSourceCustom"));
    // 25 options and the "Custom" flags of the six profile popups the PPD has options for.
    EXPECT_EQ(model->asDictionary()->size(), 31u);
}

class DownloadManager : public Panel {
protected:
    void SetUp() override { setenv("T48_ROOT", root.path().c_str(), 1); }
    void TearDown() override { unsetenv("T48_ROOT"); }
    TempDir root;
};

TEST_F(DownloadManager, MissingApplicationChangesNothing) {
    panel.myLoad();
    t48::ui::PushButton* button = panel.onAdvancedView()->button_DownloadManager;
    button->performClick();
    EXPECT_TRUE(button->isEnabled());
}

TEST_F(DownloadManager, InstalledApplicationIsStarted) {
    const std::string app =
        root.path() + std::string(t48::installedPath(t48::SystemPath::kDownloadManager));
    std::filesystem::create_directories(app);
    const std::string marker = root.file("started");
    const std::string program = app + "/ORVELL Download Manager";
    std::ofstream(program) << "#!/bin/sh\ntouch '" << marker << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    panel.myLoad();
    panel.onAdvancedView()->button_DownloadManager->performClick();
    // The application runs on its own and exits at once; wait for its mark.
    for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
}

}  // namespace
