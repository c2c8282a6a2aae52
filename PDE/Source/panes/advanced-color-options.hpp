#pragma once
// The Advanced Color Options pane: for Image, Text and Graphics six popups each, three
// for Simulation, on the four tabs of one tab view; a label per popup; and the buttons
// "Management Profile", "Download Manager" and "Hide Advanced Options".

#include "pde-pane.hpp"

namespace t48::pde {

class AdvancedColorOptions : public PDEPane {
public:
    // Builds the table, then shows the Image tab.
    void createPDEControlTable() override;
    // Titles and the PPD choices, then the user's stored profiles in the seven profile
    // popups.
    void createPDEItemForPPDKey() override;
    // Whether the host keeps the user's profiles; without (set before the table is built)
    // the popups offer their PPD choices only, the profile window stays disabled, and no
    // profile file is read and no helper started.
    void setProfileStore(bool present) { profileStore_ = present; }
    // Starts the download manager application when it is installed; nothing otherwise.
    void downloadManagerButton(ui::Control& sender);

    // Quick Color `quickColor` 0-2 with EconoMode `econoMode` (0 off, else on): selects
    // the preset's item in each of the 21 popups, in the preset table's row order; an
    // item past a popup's last leaves that popup as it is. Any other index ("Custom",
    // none) changes nothing. No rule run and no ticket write follow.
    void changeItemAccodingQuickColor(int16_t quickColor, int16_t econoMode);
    // Adds to the summary, for a preset, each popup's summary name with the title of the
    // item the preset will select, without touching the popups; nothing for any other
    // index. An item past a popup's last is left out.
    void getSummaryItemAccodingQuickColor(int16_t quickColor, int16_t econoMode,
                                          cf::Value* summaryDict, cf::Value* order) const;

    // Outlets, connected by the interface definition before the table is built.
    // Prefixes: i Image, t Text, g Graphics, s Simulation.
    ui::PopUpButton* menu_iRGBSource = nullptr;
    ui::PopUpButton* menu_iRGBIntent = nullptr;
    ui::PopUpButton* menu_iRGBGrayTreatment = nullptr;
    ui::PopUpButton* menu_iDestinationProfile = nullptr;
    ui::PopUpButton* menu_iHalftone = nullptr;
    ui::PopUpButton* menu_iEdgeEnhancement = nullptr;
    ui::PopUpButton* menu_tRGBSource = nullptr;
    ui::PopUpButton* menu_tRGBIntent = nullptr;
    ui::PopUpButton* menu_tRGBGrayTreatment = nullptr;
    ui::PopUpButton* menu_tDestinationProfile = nullptr;
    ui::PopUpButton* menu_tHalftone = nullptr;
    ui::PopUpButton* menu_tEdgeEnhancement = nullptr;
    ui::PopUpButton* menu_gRGBSource = nullptr;
    ui::PopUpButton* menu_gRGBIntent = nullptr;
    ui::PopUpButton* menu_gRGBGrayTreatment = nullptr;
    ui::PopUpButton* menu_gDestinationProfile = nullptr;
    ui::PopUpButton* menu_gHalftone = nullptr;
    ui::PopUpButton* menu_gEdgeEnhancement = nullptr;
    ui::PopUpButton* menu_sSimulationProfile = nullptr;
    ui::PopUpButton* menu_sMatchPaperColor = nullptr;
    ui::PopUpButton* menu_sCMYKGrayTreatment = nullptr;
    ui::TabView* tab_SwitchVew = nullptr;
    ui::Label* text_iRGBSource = nullptr;
    ui::Label* text_iRGBIntent = nullptr;
    ui::Label* text_iRGBGrayTreatment = nullptr;
    ui::Label* text_iDestinationProfile = nullptr;
    ui::Label* text_iHalftone = nullptr;
    ui::Label* text_iEdgeEnhancement = nullptr;
    ui::Label* text_tRGBSource = nullptr;
    ui::Label* text_tRGBIntent = nullptr;
    ui::Label* text_tRGBGrayTreatment = nullptr;
    ui::Label* text_tDestinationProfile = nullptr;
    ui::Label* text_tHalftone = nullptr;
    ui::Label* text_tEdgeEnhancement = nullptr;
    ui::Label* text_gRGBSource = nullptr;
    ui::Label* text_gRGBIntent = nullptr;
    ui::Label* text_gRGBGrayTreatment = nullptr;
    ui::Label* text_gDestinationProfile = nullptr;
    ui::Label* text_gHalftone = nullptr;
    ui::Label* text_gEdgeEnhancement = nullptr;
    ui::Label* text_sSimulationProfile = nullptr;
    ui::Label* text_sMatchPaperColor = nullptr;
    ui::Label* text_sCMYKGrayTreatment = nullptr;
    ui::PushButton* button_ManageProfile = nullptr;
    ui::PushButton* button_DownloadManager = nullptr;
    ui::PushButton* button_HideAdvancedOptions = nullptr;

protected:
    std::vector<PDEControlItem> layoutControlTable() const override;

private:
    // The popup record of preset row `row`, found by its summaryKey; null without one.
    const PDEControlItem* presetRecord(int row) const;

    bool profileStore_ = true;
};

// Records in the Advanced Color Options table, terminator included.
inline constexpr int16_t kAdvancedColorOptionsCount = 47;

}  // namespace t48::pde
