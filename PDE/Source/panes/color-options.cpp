#include "color-options.hpp"

namespace t48::pde {
namespace {

using Row = PaneRow<ColorOptions>;

// The pane's control table; the terminator is added by layoutRows.
constexpr Row kColorOptionsRows[] = {
    {[](const ColorOptions& p) -> ui::Control* { return p.menu_QuickColor; }, kKindPopup,
     "ZTQuickColor", nullptr, "Quick Color", "QuickColorPopup"},
    {[](const ColorOptions& p) -> ui::Control* { return p.menu_Brightness; }, kKindPopup,
     "ZTBrightness", nullptr, "Brightness", ""},
    {[](const ColorOptions& p) -> ui::Control* { return p.check_ColorAsGrayscale; }, kKindCheckBox,
     "ZTColorAsGray", "Color as Grayscale", "Color as Grayscale", "ColorAsGrayCheckBox"},
    {[](const ColorOptions& p) -> ui::Control* { return p.check_ColorSeparation; }, kKindCheckBox,
     "ZTColorSeparation", "Color Separation", "Color Separation", "ColorSeparationCheckBox"},
    {[](const ColorOptions& p) -> ui::Control* { return p.check_EconomyPrint; }, kKindCheckBox,
     "ZTEconoMode", "EconoMode", "EconoMode", "EconoModeCheckBox"},
    {[](const ColorOptions& p) -> ui::Control* { return p.menu_EdgeStrength; }, kKindPopup,
     "ZTEdgeType", nullptr, "EdgeType", "EdgeTypePopup"},
    {[](const ColorOptions& p) -> ui::Control* { return p.check_AutoTrapping; }, kKindCheckBox,
     "ZTAutoTrapping", "AutoTrapping", "AutoTrapping", "AutoTrappingCheckBox"},
    {[](const ColorOptions& p) -> ui::Control* { return p.menu_BlackOverprint; }, kKindPopup,
     "ZTBlackOverprint", nullptr, "BlackOverprint", "BlackOverprintPopup"},
    {[](const ColorOptions& p) -> ui::Control* { return p.text_QuickColor; }, kKindLabel, "",
     "Quick Color:", nullptr, ""},
    {[](const ColorOptions& p) -> ui::Control* { return p.text_Brightness; }, kKindLabel, "",
     "Brightness:", nullptr, ""},
    {[](const ColorOptions& p) -> ui::Control* { return p.text_Strength; }, kKindLabel, "",
     "EdgeType:", nullptr, ""},
    {[](const ColorOptions& p) -> ui::Control* { return p.text_BlackOverprint; }, kKindLabel, "",
     "BlackOverprint:", nullptr, ""},
    {[](const ColorOptions& p) -> ui::Control* { return p.button_AdvanceColorOptions; },
     kKindPushButton, "", "Advanced Color Options", nullptr, "GoToAdvancedOptionsButton"},
};
static_assert(std::size(kColorOptionsRows) + 1 == kColorOptionsCount);

}  // namespace

std::vector<PDEControlItem> ColorOptions::layoutControlTable() const {
    return layoutRows(*this, kColorOptionsRows);
}

int16_t ColorOptions::getQuickColorValue() const {
    return menu_QuickColor != nullptr ? static_cast<int16_t>(menu_QuickColor->indexOfSelectedItem())
                                      : -1;
}

int16_t ColorOptions::getEconoModeValue() const {
    return check_EconomyPrint != nullptr ? static_cast<int16_t>(check_EconomyPrint->state()) : 0;
}

}  // namespace t48::pde
