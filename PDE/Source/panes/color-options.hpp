#pragma once
// The Color Options pane: the eight everyday colour options, four labels and the button
// that leads to the Advanced Color Options pane.

#include "pde-pane.hpp"

namespace t48::pde {

class ColorOptions : public PDEPane {
public:
    // Selected index of the Quick Color popup; -1 when none is selected.
    int16_t getQuickColorValue() const;
    // State of the EconoMode check box: 0 off, 1 on.
    int16_t getEconoModeValue() const;

    // Outlets, connected by the interface definition before the table is built.
    ui::PopUpButton* menu_QuickColor = nullptr;
    ui::PopUpButton* menu_Brightness = nullptr;
    ui::CheckBox* check_ColorAsGrayscale = nullptr;
    ui::CheckBox* check_ColorSeparation = nullptr;
    ui::CheckBox* check_EconomyPrint = nullptr;
    ui::PopUpButton* menu_EdgeStrength = nullptr;
    ui::CheckBox* check_AutoTrapping = nullptr;
    ui::PopUpButton* menu_BlackOverprint = nullptr;
    ui::Label* text_QuickColor = nullptr;
    ui::Label* text_Brightness = nullptr;
    ui::Label* text_Strength = nullptr;
    ui::Label* text_BlackOverprint = nullptr;
    ui::PushButton* button_AdvanceColorOptions = nullptr;

protected:
    std::vector<PDEControlItem> layoutControlTable() const override;
};

// Records in the Color Options table, terminator included.
inline constexpr int16_t kColorOptionsCount = 14;

}  // namespace t48::pde
