// Control values, their meaning as PPD choice rows, PPD defaults and the rule-value
// conversion.

#include <gtest/gtest.h>

#include "pde-common.hpp"

namespace {

using namespace t48::pde;
using t48::ui::CheckBox;
using t48::ui::Label;
using t48::ui::PopUpButton;

ChoiceRows checkBoxRows(const char* key, const char* defaultChoice) {
    return {{key, defaultChoice, "True", "On"}, {key, defaultChoice, "False", "Off"}};
}

class ControlValues : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* title : {"Off", "Light", "Medium"}) {
            popup.addItemWithTitle(title);
        }
    }
    PopUpButton popup;
    CheckBox box;
    Label label;
    ChoiceRows edgeRows{{"ZTEdgeType", "Medium", "Off", "Off"},
                        {"ZTEdgeType", "Medium", "Light", "Light"},
                        {"ZTEdgeType", "Medium", "Medium", "Medium"}};
    ChoiceRows boxRows = checkBoxRows("ZTEconoMode", "False");
    PDEControlItem popupItem{&popup,          kKindPopup, "ZTEdgeType", nullptr, nullptr,
                             "EdgeTypePopup", 0,          &edgeRows};
    PDEControlItem boxItem{
        &box, kKindCheckBox, "ZTEconoMode", "EconoMode", nullptr, "EconoModeCheckBox", 0, &boxRows};
    PDEControlItem labelItem{&label, kKindLabel, "", "EdgeType:", nullptr, "", 0, nullptr};
};

TEST_F(ControlValues, RawValuesByKind) {
    popup.selectItemAtIndex(2);
    box.setState(1);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&popupItem), 2);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&boxItem), 1);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&labelItem), 0);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(nullptr), 0);
    popup.selectItemAtIndex(-1);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&popupItem), -1);
}

TEST_F(ControlValues, SettingAPopupPastItsItemsChangesNothing) {
    PDECommon::commonSetControlValueWithSInt32(&popupItem, 1);
    EXPECT_EQ(popup.indexOfSelectedItem(), 1);
    PDECommon::commonSetControlValueWithSInt32(&popupItem, 3);  // == item count
    EXPECT_EQ(popup.indexOfSelectedItem(), 1);
    PDECommon::commonSetControlValueWithSInt32(&popupItem, -1);
    EXPECT_EQ(popup.indexOfSelectedItem(), -1);
    PDECommon::commonSetControlValueWithSInt32(&boxItem, 1);
    EXPECT_EQ(box.state(), 1);
    PDECommon::commonSetControlValueWithSInt32(nullptr, 1);  // no crash, nothing set
}

TEST_F(ControlValues, StateAsChoiceRowAndDisplayText) {
    box.setState(1);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithSInt32(&boxItem), 0);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithNSString(&boxItem), "On");
    box.setState(0);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithSInt32(&boxItem), 1);
    popup.selectItemAtIndex(1);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithNSString(&popupItem), "Light");
    popup.selectItemAtIndex(-1);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithNSString(&popupItem), std::nullopt);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithNSString(&labelItem), std::nullopt);

    // A check box whose option has no "True"/"False" rows matches nothing.
    ChoiceRows odd{{"ZTEconoMode", "On", "On", "On"}, {"ZTEconoMode", "On", "Off", "Off"}};
    boxItem.choices = &odd;
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithSInt32(&boxItem), -1);
    EXPECT_EQ(PDECommon::commonGetControlValueFromPPDWithNSString(&boxItem), std::nullopt);
}

TEST_F(ControlValues, RowLookupIsExact) {
    EXPECT_EQ(PDECommon::commonFindPPDKeyPairsMatch(&edgeRows, "ZTEdgeType", "Light"), 1);
    EXPECT_EQ(PDECommon::commonFindPPDKeyPairsMatch(&edgeRows, "ZTEdgeType", "light"), -1);
    EXPECT_EQ(PDECommon::commonFindPPDKeyPairsMatch(&edgeRows, "ZTEdgetype", "Light"), -1);
    EXPECT_EQ(PDECommon::commonFindPPDKeyPairsMatch(nullptr, "ZTEdgeType", "Light"), -1);
}

TEST_F(ControlValues, TicketChoicesAsControlValues) {
    auto value = [](const char* text) { return t48::cf::Value::string(text); };
    EXPECT_EQ(
        PDECommon::commonGetTicketValueWithSInt32(&popupItem, "ZTEdgeType", value("Medium").get()),
        2);
    EXPECT_EQ(
        PDECommon::commonGetTicketValueWithSInt32(&popupItem, "ZTEdgeType", value("Max").get()),
        -1);
    EXPECT_EQ(
        PDECommon::commonGetTicketValueWithSInt32(&boxItem, "ZTEconoMode", value("true").get()), 1);
    EXPECT_EQ(
        PDECommon::commonGetTicketValueWithSInt32(&boxItem, "ZTEconoMode", value("Yes").get()), 0);
    const auto number = t48::cf::Value::integer(1);
    EXPECT_EQ(PDECommon::commonGetTicketValueWithSInt32(&boxItem, "ZTEconoMode", number.get()), 0);
    EXPECT_EQ(PDECommon::commonGetTicketValueWithSInt32(&labelItem, "", value("True").get()), 0);
}

TEST_F(ControlValues, DefaultsOfATableSkipUnboundRecords) {
    label.setStringValue("untouched");
    PDEControlItem table[] = {popupItem, boxItem, labelItem, kTerminatorItem};
    box.setState(1);
    PDECommon::commonDefaultFromPPDInfo(table);
    EXPECT_EQ(popup.indexOfSelectedItem(), 2);
    EXPECT_EQ(box.state(), 0);
    EXPECT_EQ(label.stringValue(), "untouched");

    // A popup whose default is not among its rows loses its selection.
    ChoiceRows noDefault{{"ZTEdgeType", "Max", "Off", "Off"}};
    table[0].choices = &noDefault;
    PDECommon::commonDefaultFromPPDInfo(table);
    EXPECT_EQ(popup.indexOfSelectedItem(), -1);
}

struct DefaultCase {
    const char* defaultChoice;
    int expectedState;
};
class CheckBoxDefault : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(CheckBoxDefault, OnOnlyForTrueSpellings) {
    CheckBox box;
    box.setState(1 - GetParam().expectedState);
    ChoiceRows rows = checkBoxRows("ZTAutoTrapping", GetParam().defaultChoice);
    PDEControlItem table[] = {
        {&box, kKindCheckBox, "ZTAutoTrapping", nullptr, nullptr, "", 0, &rows}, kTerminatorItem};
    PDECommon::commonDefaultFromPPDInfo(table);
    EXPECT_EQ(box.state(), GetParam().expectedState) << GetParam().defaultChoice;
}

INSTANTIATE_TEST_SUITE_P(Spellings, CheckBoxDefault,
                         ::testing::Values(DefaultCase{"True", 1}, DefaultCase{"TRUE", 1},
                                           DefaultCase{"true", 1}, DefaultCase{"False", 0},
                                           DefaultCase{"On", 0}, DefaultCase{"tRUE", 0}));

TEST_F(ControlValues, RuleValueConversion) {
    EXPECT_EQ(PDECommon::commonConvertToCSTValue(&popupItem, 0), 1);
    EXPECT_EQ(PDECommon::commonConvertToCSTValue(&popupItem, -1), 0);
    EXPECT_EQ(PDECommon::commonConvertToCSTValue(&popupItem, 3), 4);
    EXPECT_EQ(PDECommon::commonConvertToCSTValue(&boxItem, 1), 1);
    EXPECT_EQ(PDECommon::commonConvertToCSTValue(nullptr, 5), 5);
    EXPECT_EQ(PDECommon::commonConvertFromCSTValue(&popupItem, 0), 0);
    EXPECT_EQ(PDECommon::commonConvertFromCSTValue(&popupItem, 1), 0);
    EXPECT_EQ(PDECommon::commonConvertFromCSTValue(&popupItem, 4), 3);
    EXPECT_EQ(PDECommon::commonConvertFromCSTValue(&boxItem, 0), 0);
}

TEST_F(ControlValues, SupportedKeywordsAndJoinedTables) {
    PDEControlItem first[] = {popupItem, labelItem, kTerminatorItem};
    PDEControlItem second[] = {boxItem, kTerminatorItem};
    PDEControlItem empty[] = {kTerminatorItem};
    std::vector<std::string> keys;
    EXPECT_EQ(PDECommon::commonAddPPDArray(&keys, first), kPDENoErr);
    EXPECT_EQ(PDECommon::commonAddPPDArray(&keys, second), kPDENoErr);
    EXPECT_EQ(keys, (std::vector<std::string>{"ZTEdgeType", "ZTEconoMode"}));
    EXPECT_EQ(PDECommon::commonAddPPDArray(nullptr, first), kPDEParamErr);

    PDEControlItem* tables[] = {first, empty, second};
    PDEControlItem* joined = PDECommon::commonControlTableCompound(tables, 3);
    ASSERT_NE(joined, nullptr);
    EXPECT_EQ(joined[0].control, &popup);
    EXPECT_EQ(joined[1].control, &label);
    EXPECT_EQ(joined[2].control, &box);
    EXPECT_EQ(joined[2].choices, &boxRows);  // shared, not copied
    EXPECT_EQ(joined[3].kind, kKindEndOfTable);
    EXPECT_EQ(joined[3].control, nullptr);
    delete[] joined;
}

}  // namespace
