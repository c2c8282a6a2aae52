// The shipped rule table of the Color Options panel and the lists its rules share.
#include "constraint-rules.hpp"

namespace t48::pde {

namespace {

constexpr CSTItem kEndItem = {"", "", -1, kCSTEnd};

constexpr CSTItem conditionsColorOptions_0000[] = {
    {"ColorAsGrayCheckBox", "Checked", 1, kCSTEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0001[] = {
    {"ColorSeparationCheckBox", "Checked", 1, kCSTEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0002[] = {
    {"ColorAsGrayCheckBox", "Checked", 1, kCSTEqual},
    {"ImageRGBSourcePopup", "None", 1, kCSTEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0003[] = {
    {"ColorAsGrayCheckBox", "Checked", 1, kCSTEqual},
    {"TextRGBSourcePopup", "None", 1, kCSTEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0004[] = {
    {"ColorAsGrayCheckBox", "Checked", 1, kCSTEqual},
    {"GraphicsRGBSourcePopup", "None", 1, kCSTEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0005[] = {
    {"ColorAsGrayCheckBox", "Checked", 1, kCSTEqual},
    {"SimulationSourcePopup", "None", 1, kCSTEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0006[] = {
    {"QuickColorPopup", "Custom", 4, kCSTNotEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0007[] = {
    {"ColorAsGrayCheckBox", "Checked", 1, kCSTEqual},
    {"ImageDestinationProfilePopup", "Auto", 1, kCSTNotEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0008[] = {
    {"ColorAsGrayCheckBox", "Checked", 1, kCSTEqual},
    {"TextDestinationProfilePopup", "Auto", 1, kCSTNotEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0009[] = {
    {"ColorAsGrayCheckBox", "Checked", 1, kCSTEqual},
    {"GraphicsDestinationProfilePopup", "Auto", 1, kCSTNotEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0013[] = {
    {"EconoModeCheckBox", "Checked", 1, kCSTEqual},
    {"EdgeTypePopup", "Off", 1, kCSTEqual},
    kEndItem,
};
constexpr CSTItem conditionsColorOptions_0014[] = {
    {"EdgeTypePopup", "Off", 1, kCSTEqual},
    kEndItem,
};

// Programs: the first outcome alone, or the first or the second.
constexpr int32_t conditions2ndColorOptions_0000[] = {kCSTEnd};
constexpr int32_t conditions2ndColorOptions_0001[] = {0, 1, kCSTOr, kCSTEnd};

constexpr CSTAction options_0001[] = {{kCSTGreyOut, 0}};

// A rule that only disables its target.
constexpr CSTRule greyOut(int8_t count, const CSTItem* conditions, int32_t programLength,
                          const int32_t* program, const CSTItem& target) {
    return {kCSTValueChange, count,  conditions, programLength, program,
            target,          target, 1,          options_0001};
}

}  // namespace

const CSTRule cstColorOption[kCSTColorOptionRuleCount + 1] = {
    greyOut(1, conditionsColorOptions_0006, 0, conditions2ndColorOptions_0000,
            {"GoToAdvancedOptionsButton", "", -1, kCSTEnd}),
    greyOut(1, conditionsColorOptions_0000, 0, conditions2ndColorOptions_0000,
            {"ColorSeparationCheckBox", "UnChecked", 0, kCSTAssign}),
    greyOut(1, conditionsColorOptions_0001, 0, conditions2ndColorOptions_0000,
            {"ColorAsGrayCheckBox", "UnChecked", 0, kCSTAssign}),
    greyOut(1, conditionsColorOptions_0000, 0, conditions2ndColorOptions_0000,
            {"ImageRGBSourcePopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0002, 3, conditions2ndColorOptions_0001,
            {"ImageRenderIntentPopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0007, 3, conditions2ndColorOptions_0001,
            {"ImageGrayTreatmentPopup", "", -1, kCSTEnd}),
    greyOut(1, conditionsColorOptions_0000, 0, conditions2ndColorOptions_0000,
            {"ImageDestinationProfilePopup", "", -1, kCSTEnd}),
    greyOut(1, conditionsColorOptions_0000, 0, conditions2ndColorOptions_0000,
            {"TextRGBSourcePopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0003, 3, conditions2ndColorOptions_0001,
            {"TextRenderIntentPopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0008, 3, conditions2ndColorOptions_0001,
            {"TextGrayTreatmentPopup", "", -1, kCSTEnd}),
    greyOut(1, conditionsColorOptions_0000, 0, conditions2ndColorOptions_0000,
            {"TextDestinationProfilePopup", "", -1, kCSTEnd}),
    greyOut(1, conditionsColorOptions_0000, 0, conditions2ndColorOptions_0000,
            {"GraphicsRGBSourcePopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0004, 3, conditions2ndColorOptions_0001,
            {"GraphicsRenderIntentPopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0009, 3, conditions2ndColorOptions_0001,
            {"GraphicsGrayTreatmentPopup", "", -1, kCSTEnd}),
    greyOut(1, conditionsColorOptions_0000, 0, conditions2ndColorOptions_0000,
            {"GraphicsDestinationProfilePopup", "", -1, kCSTEnd}),
    greyOut(1, conditionsColorOptions_0000, 0, conditions2ndColorOptions_0000,
            {"SimulationSourcePopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0005, 3, conditions2ndColorOptions_0001,
            {"SimulationRenderIntentPopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0005, 3, conditions2ndColorOptions_0001,
            {"SimulationGrayTreatmentPopup", "", -1, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0013, 3, conditions2ndColorOptions_0001,
            {"ImageEdgeEnhancePopup", "", -1, kCSTEnd}),
    // One condition under the two-operand program: the missing second outcome is false.
    greyOut(1, conditionsColorOptions_0014, 0, conditions2ndColorOptions_0001,
            {"TextEdgeEnhancePopup", "", 0, kCSTEnd}),
    greyOut(2, conditionsColorOptions_0013, 3, conditions2ndColorOptions_0001,
            {"GraphicsEdgeEnhancePopup", "", -1, kCSTEnd}),
    {kCSTEndOfRules, 0, nullptr, 0, nullptr, kEndItem, kEndItem, 0, nullptr},
};

}  // namespace t48::pde
