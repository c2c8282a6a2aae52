// The bound controls' values in the print settings: per printer in the model
// dictionary under "T48", and at the top level.

#include <gtest/gtest.h>

#include "panel-test-support.hpp"
#include "pde-common.hpp"
#include "pde-plugin.hpp"

namespace {

using namespace t48::pde;
using t48::cf::Value;
using t48::cf::ValueRef;
using t48::testing::samplePPDPath;
using t48::testing::TestHost;

class TicketSync : public ::testing::Test {
protected:
    void SetUp() override {
        panel.restoreValuesAndReturnError(nullptr);
        color = panel.onColorView();
        ASSERT_NE(color, nullptr);
    }
    ValueRef model(const std::string& printer) {
        ValueRef product = host.settings().getValue(kPDEProductKey);
        return product ? product->get(printer) : nullptr;
    }
    TestHost host{samplePPDPath()};
    PDEPlugInInterface panel{&host};
    ColorOptions* color = nullptr;
};

TEST_F(TicketSync, SaveStoresChoiceKeywordsInTheModelAndAtTopLevel) {
    color->check_EconomyPrint->setState(1);
    color->menu_QuickColor->selectItemAtIndex(3);
    ASSERT_EQ(PDECommon::commonSyncTicketFromPane(&host.settings(), &host.session(),
                                                  color->getControlData()),
              kPDENoErr);
    ValueRef stored = model("T48_Office");
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored->get("ZTEconoMode")->asString(), "True");
    EXPECT_EQ(*stored->get("ZTQuickColor")->asString(), "UserDefined");
    EXPECT_EQ(*host.settings().getValue("ZTEconoMode")->asString(), "True");
    EXPECT_EQ(*host.settings().getValue("ZTQuickColor")->asString(), "UserDefined");
    // Labels and the button are never written.
    EXPECT_EQ(stored->asDictionary()->size(), 8u);
}

TEST_F(TicketSync, RestoreTakesStoredChoicesAndDefaultsForTheRest) {
    ValueRef stored = Value::dictionary({{"ZTQuickColor", Value::string("Vivid")},
                                         {"ZTColorAsGray", Value::string("TRUE")},
                                         {"ZTEdgeType", Value::string("NoSuchChoice")},
                                         {"ZTBlackOverprint", Value::integer(2)}});
    host.settings().setValue(kPDEProductKey, Value::dictionary({{"T48_Office", stored}}));
    color->menu_EdgeStrength->selectItemAtIndex(0);
    color->menu_BlackOverprint->selectItemAtIndex(1);
    color->check_AutoTrapping->setState(0);
    PDECommon::commonSyncPaneFromTicket(&host.settings(), &host.session(), color->getControlData());
    EXPECT_EQ(color->menu_QuickColor->indexOfSelectedItem(), 2);
    EXPECT_EQ(color->check_ColorAsGrayscale->state(), 1);
    EXPECT_EQ(color->menu_EdgeStrength->indexOfSelectedItem(), 0)
        << "unknown choice leaves the popup";
    EXPECT_EQ(color->menu_BlackOverprint->indexOfSelectedItem(), 1)
        << "a value that is no string leaves it";
    EXPECT_EQ(color->check_AutoTrapping->state(), 1) << "absent key gives the PPD default (True)";
    // Reading re-asserts the stored values at the top level.
    EXPECT_EQ(*host.settings().getValue("ZTQuickColor")->asString(), "Vivid");
}

TEST_F(TicketSync, EachPrinterKeepsItsOwnModelDictionary) {
    color->menu_QuickColor->selectItemAtIndex(1);
    PDECommon::commonSyncTicketFromPane(&host.settings(), &host.session(), color->getControlData());
    host.session().setCurrentPrinter(t48::cf::Printer("T48_Lab", ""));
    color->menu_QuickColor->selectItemAtIndex(2);
    PDECommon::commonSyncTicketFromPane(&host.settings(), &host.session(), color->getControlData());
    EXPECT_EQ(*model("T48_Office")->get("ZTQuickColor")->asString(), "Photo");
    EXPECT_EQ(*model("T48_Lab")->get("ZTQuickColor")->asString(), "Vivid");

    // A third printer with no values gets an empty model dictionary and the defaults.
    host.session().setCurrentPrinter(t48::cf::Printer("T48_New", ""));
    PDECommon::commonSyncPaneFromTicket(&host.settings(), &host.session(), color->getControlData());
    EXPECT_EQ(color->menu_QuickColor->indexOfSelectedItem(), 0);
    ASSERT_TRUE(model("T48_New"));
    EXPECT_TRUE(model("T48_New")->asDictionary()->empty());
}

TEST(TicketSyncWithoutPrinter, NoCurrentPrinterOrForeignProductEntryWritesNothing) {
    TestHost host(samplePPDPath(), nullptr);
    PDEPlugInInterface panel(&host);
    panel.restoreValuesAndReturnError(nullptr);
    panel.onColorView()->menu_QuickColor->selectItemAtIndex(2);
    EXPECT_FALSE(PDECommon::commonGetModelDictionary(&host.settings(), &host.session()));
    panel.saveValuesAndReturnError(nullptr);
    // The product dictionary is created even so; no model dictionary is.
    ASSERT_TRUE(host.settings().getValue(kPDEProductKey));
    EXPECT_TRUE(host.settings().getValue(kPDEProductKey)->asDictionary()->empty());
    EXPECT_FALSE(host.settings().getValue("ZTQuickColor"));

    host.session().setCurrentPrinter(t48::cf::Printer("T48_Office", ""));
    host.settings().setValue(kPDEProductKey, Value::string("not a dictionary"));
    EXPECT_FALSE(PDECommon::commonGetModelDictionary(&host.settings(), &host.session()));
    panel.saveValuesAndReturnError(nullptr);
    EXPECT_EQ(*host.settings().getValue(kPDEProductKey)->asString(), "not a dictionary");
    EXPECT_FALSE(host.settings().getValue("ZTQuickColor"));
}

TEST(TicketHelpers, TypedLookupAndTopLevelCopy) {
    ValueRef dict = Value::dictionary({{"a", Value::dictionary()}, {"b", Value::string("x")}});
    EXPECT_TRUE(PDECommon::commonCFDictionaryGetValueWithType(dict.get(), "a"));
    EXPECT_FALSE(PDECommon::commonCFDictionaryGetValueWithType(dict.get(), "b"));
    EXPECT_FALSE(PDECommon::commonCFDictionaryGetValueWithType(dict.get(), "c"));
    EXPECT_FALSE(PDECommon::commonCFDictionaryGetValueWithType(Value::dictionary().get(), "a"));

    t48::cf::PrintSettings settings;
    EXPECT_EQ(PDECommon::commonCFDictionaryMapToTicket(&settings, dict.get()), kPDENoErr);
    EXPECT_EQ(*settings.getValue("b")->asString(), "x");
    EXPECT_EQ(PDECommon::commonGetPPDProductName(&settings), "T48");
}

}  // namespace
