// Control values as the rules read and set them, over headless controls.
#include <gtest/gtest.h>

#include "pde-common.hpp"

namespace t48::pde {
namespace {

class ControlValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* title : {"Off", "Light", "Strong"}) {
            popup.addItemWithTitle(title);
        }
    }

    ui::PopUpButton popup;
    ui::CheckBox box;
    ui::Label label;
    PDEControlItem popupItem{&popup,     kKindPopup,      "ZTEdgeType",    nullptr,
                             "EdgeType", "EdgeTypePopup", kNoProfileClass, nullptr};
    PDEControlItem boxItem{&box,        kKindCheckBox,       "ZTEconoMode",   nullptr,
                           "EconoMode", "EconoModeCheckBox", kNoProfileClass, nullptr};
    PDEControlItem labelItem{&label, kKindLabel,      "",     "EdgeType:", nullptr,
                             "",     kNoProfileClass, nullptr};
};

TEST_F(ControlValuesTest, PopupIndexSetOnlyWithinItems) {
    PDECommon::commonSetControlValueWithSInt32(&popupItem, 2);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&popupItem), 2);
    PDECommon::commonSetControlValueWithSInt32(&popupItem, 3);  // the item count
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&popupItem), 2);
    PDECommon::commonSetControlValueWithSInt32(&popupItem, -1);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&popupItem), -1);
}

TEST_F(ControlValuesTest, CheckBoxAndOtherKinds) {
    PDECommon::commonSetControlValueWithSInt32(&boxItem, 1);
    EXPECT_EQ(box.state(), 1);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&boxItem), 1);
    PDECommon::commonSetControlValueWithSInt32(&labelItem, 1);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&labelItem), 0);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(nullptr), 0);
    PDECommon::commonSetControlValueWithSInt32(nullptr, 1);
}

TEST_F(ControlValuesTest, RecordsWithoutTheirControlHaveNoValue) {
    PDEControlItem missing = popupItem;
    missing.control = nullptr;
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&missing), 0);
    PDECommon::commonSetControlValueWithSInt32(&missing, 1);
    PDEControlItem mismatched = popupItem;  // a popup record over a check box
    mismatched.control = &box;
    box.setState(1);
    EXPECT_EQ(PDECommon::commonGetControlValueWithSInt32(&mismatched), 0);
    PDECommon::commonSetControlValueWithSInt32(&mismatched, 0);
    EXPECT_EQ(box.state(), 1);
}

struct Conversion {
    int32_t kind;
    int32_t value;
    int32_t toRule;
    int32_t fromRule;
};

class RuleValueTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(RuleValueTest, ConvertsByKind) {
    const Conversion& c = GetParam();
    PDEControlItem item = kTerminatorItem;
    item.kind = c.kind;
    EXPECT_EQ(PDECommon::commonConvertToCSTValue(&item, c.value), c.toRule);
    EXPECT_EQ(PDECommon::commonConvertFromCSTValue(&item, c.value), c.fromRule);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RuleValueTest,
    ::testing::Values(Conversion{kKindPopup, 0, 1, 0}, Conversion{kKindPopup, 1, 2, 0},
                      Conversion{kKindPopup, -1, 0, 0}, Conversion{kKindPopup, -9, 0, 0},
                      Conversion{kKindPopup, 4, 5, 3},
                      Conversion{kKindPopup, INT32_MAX, INT32_MAX, INT32_MAX - 1},
                      Conversion{kKindCheckBox, 1, 1, 1}, Conversion{kKindCheckBox, 0, 0, 0},
                      Conversion{kKindPushButton, -3, -3, -3}));

TEST(RuleValues, NullRecordKeepsTheValue) {
    EXPECT_EQ(PDECommon::commonConvertToCSTValue(nullptr, -1), -1);
    EXPECT_EQ(PDECommon::commonConvertFromCSTValue(nullptr, 0), 0);
}

}  // namespace
}  // namespace t48::pde
