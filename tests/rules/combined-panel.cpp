#include "combined-panel.hpp"

#include <cstring>
#include <stdexcept>

namespace t48::pde::testing {

namespace {

// Item titles in PPD order; the keyword of each item is its title without spaces.
const std::vector<std::string>& itemsFor(const std::string& ppdKey) {
    static const std::vector<std::pair<std::string, std::vector<std::string>>> kItems = {
        // The simulation options first: their names end like the RGB options'.
        {"ZTSimSource", {"None", "SWOP", "Euroscale", "Japan Color"}},
        {"ZTSimRenderIntent", {"Off", "On"}},
        {"ZTSimGrayTreatment", {"Off", "Black Only"}},
        {"ZTQuickColor", {"Automatic", "Vivid Photos", "Office", "Custom"}},
        {"ZTBrightness", {"Normal", "Lighter", "Darker"}},
        {"ZTEdgeType", {"Off", "Light", "Normal", "Strong"}},
        {"ZTBlackOverprint", {"Off", "On", "Auto"}},
        {"RGBSource", {"None", "sRGB", "AdobeRGB", "Photo RGB"}},
        {"RenderIntent", {"Perceptual", "Saturation", "Relative", "Absolute"}},
        {"GrayTreatment", {"Off", "Black Only", "CMYK Gray"}},
        {"DestinationProfile", {"Auto", "Plain Paper", "Glossy"}},
        {"Halftone", {"Auto", "Smooth", "Detail"}},
        {"EdgeEnhance", {"Off", "On"}},
    };
    for (const auto& [suffix, titles] : kItems) {
        if (ppdKey.size() >= suffix.size() &&
            ppdKey.compare(ppdKey.size() - suffix.size(), suffix.size(), suffix) == 0) {
            return titles;
        }
    }
    throw std::logic_error("no items for " + ppdKey);
}

struct AdvancedPopup {
    const char* ppdKey;
    const char* titleKey;
    const char* summaryKey;
    const char* controlName;
    int16_t profileClass;
};

constexpr AdvancedPopup kAdvancedPopups[] = {
    {"ZTImageRGBSource", "RGB Source:", "Image RGB Source", "ImageRGBSourcePopup", 1},
    {"ZTImageRenderIntent", "RGB Intent:", "Image RGB Intent", "ImageRenderIntentPopup", 0},
    {"ZTImageGrayTreatment", "RGB Gray Treatment:", "Image RGB Gray Treatment",
     "ImageGrayTreatmentPopup", 0},
    {"ZTImageDestinationProfile", "Destination Profile:", "Image Destination Profile",
     "ImageDestinationProfilePopup", 2},
    {"ZTImageHalftone", "Halftone:", "Image Halftone", "", 0},
    {"ZTImageEdgeEnhance", "EdgeEnhance:", "Image EdgeEnhance", "ImageEdgeEnhancePopup", 0},
    {"ZTTextRGBSource", "RGB Source:", "Text RGB Source", "TextRGBSourcePopup", 1},
    {"ZTTextRenderIntent", "RGB Intent:", "Text RGB Intent", "TextRenderIntentPopup", 0},
    {"ZTTextGrayTreatment", "RGB Gray Treatment:", "Text RGB Gray Treatment",
     "TextGrayTreatmentPopup", 0},
    {"ZTTextDestinationProfile", "Destination Profile:", "Text Destination Profile",
     "TextDestinationProfilePopup", 2},
    {"ZTTextHalftone", "Halftone:", "Text Halftone", "", 0},
    {"ZTTextEdgeEnhance", "EdgeEnhance:", "Text EdgeEnhance", "TextEdgeEnhancePopup", 0},
    {"ZTGraphicsRGBSource", "RGB Source:", "Graphics RGB Source", "GraphicsRGBSourcePopup", 1},
    {"ZTGraphicsRenderIntent", "RGB Intent:", "Graphics RGB Intent", "GraphicsRenderIntentPopup",
     0},
    {"ZTGraphicsGrayTreatment", "RGB Gray Treatment:", "Graphics RGB Gray Treatment",
     "GraphicsGrayTreatmentPopup", 0},
    {"ZTGraphicsDestinationProfile", "Destination Profile:", "Graphics Destination Profile",
     "GraphicsDestinationProfilePopup", 2},
    {"ZTGraphicsHalftone", "Halftone:", "Graphics Halftone", "", 0},
    {"ZTGraphicsEdgeEnhance", "EdgeEnhance:", "Graphics EdgeEnhance", "GraphicsEdgeEnhancePopup",
     0},
    {"ZTSimSource", "Simulation Profile:", "Simulation Profile", "SimulationSourcePopup", 3},
    {"ZTSimRenderIntent", "Match Paper Color:", "Match Paper Color", "SimulationRenderIntentPopup",
     0},
    {"ZTSimGrayTreatment", "CMYK Gray Treatment:", "CMYK Gray Treatment",
     "SimulationGrayTreatmentPopup", 0},
};

ui::PopUpButton* fill(ui::PopUpButton* popup, const char* ppdKey) {
    for (const std::string& title : itemsFor(ppdKey)) {
        popup->addItemWithTitle(title);
        std::string keyword = title;
        std::erase(keyword, ' ');
        popup->setKeywordAtIndex(popup->numberOfItems() - 1, keyword);
    }
    return popup;
}

}  // namespace

template <typename T>
T* CombinedPanel::make() {
    controls_.push_back(std::make_unique<T>());
    return static_cast<T*>(controls_.back().get());
}

void CombinedPanel::add(std::vector<PDEControlItem>& table, ui::Control* control, int32_t kind,
                        const char* ppdKey, const char* titleKey, const char* summaryKey,
                        const char* controlName, int16_t profileClass) {
    table.push_back(
        {control, kind, ppdKey, titleKey, summaryKey, controlName, profileClass, nullptr});
}

CombinedPanel::CombinedPanel() {
    auto& c = colorTable_;
    add(c, fill(make<ui::PopUpButton>(), "ZTQuickColor"), kKindPopup, "ZTQuickColor", nullptr,
        "Quick Color", "QuickColorPopup", 0);
    add(c, fill(make<ui::PopUpButton>(), "ZTBrightness"), kKindPopup, "ZTBrightness", nullptr,
        "Brightness", "", 0);
    add(c, make<ui::CheckBox>(), kKindCheckBox, "ZTColorAsGray", "Color as Grayscale",
        "Color as Grayscale", "ColorAsGrayCheckBox", 0);
    add(c, make<ui::CheckBox>(), kKindCheckBox, "ZTColorSeparation", "Color Separation",
        "Color Separation", "ColorSeparationCheckBox", 0);
    add(c, make<ui::CheckBox>(), kKindCheckBox, "ZTEconoMode", "EconoMode", "EconoMode",
        "EconoModeCheckBox", 0);
    add(c, fill(make<ui::PopUpButton>(), "ZTEdgeType"), kKindPopup, "ZTEdgeType", nullptr,
        "EdgeType", "EdgeTypePopup", 0);
    add(c, make<ui::CheckBox>(), kKindCheckBox, "ZTAutoTrapping", "AutoTrapping", "AutoTrapping",
        "AutoTrappingCheckBox", 0);
    add(c, fill(make<ui::PopUpButton>(), "ZTBlackOverprint"), kKindPopup, "ZTBlackOverprint",
        nullptr, "BlackOverprint", "BlackOverprintPopup", 0);
    for (const char* title : {"Quick Color:", "Brightness:", "EdgeType:", "BlackOverprint:"}) {
        add(c, make<ui::Label>(), kKindLabel, "", title, nullptr, "", 0);
    }
    add(c, make<ui::PushButton>(), kKindPushButton, "", "Advanced Color Options", nullptr,
        "GoToAdvancedOptionsButton", 0);
    c.push_back(kTerminatorItem);

    auto& a = advancedTable_;
    for (const AdvancedPopup& p : kAdvancedPopups) {
        add(a, fill(make<ui::PopUpButton>(), p.ppdKey), kKindPopup, p.ppdKey, p.titleKey,
            p.summaryKey, p.controlName, p.profileClass);
    }
    controls_.push_back(std::make_unique<ui::TabView>(4));
    add(a, controls_.back().get(), kKindTabView, "", "Image", nullptr, "", 0);
    for (const AdvancedPopup& p : kAdvancedPopups) {
        add(a, make<ui::Label>(), kKindLabel, "", p.titleKey, nullptr, "", 0);
    }
    for (const char* title : {"Management Profile", "Download Manager", "Hide Advanced Options"}) {
        add(a, make<ui::PushButton>(), kKindPushButton, "", title, nullptr, "", 0);
    }
    a.push_back(kTerminatorItem);

    combinedTable_.assign(colorTable_.begin(), colorTable_.end() - 1);
    combinedTable_.insert(combinedTable_.end(), advancedTable_.begin(), advancedTable_.end() - 1);
    combinedTable_.push_back(kTerminatorItem);
}

const PDEControlItem& CombinedPanel::record(const std::string& key) const {
    for (const PDEControlItem& item : combinedTable_) {
        if (item.kind != kKindEndOfTable && (key == item.controlName || key == item.ppdKey)) {
            return item;
        }
    }
    throw std::out_of_range("no control " + key);
}

ui::PopUpButton& CombinedPanel::popup(const std::string& key) const {
    return dynamic_cast<ui::PopUpButton&>(*record(key).control);
}

ui::CheckBox& CombinedPanel::checkBox(const std::string& key) const {
    return dynamic_cast<ui::CheckBox&>(*record(key).control);
}

ui::Control& CombinedPanel::control(const std::string& key) const {
    return *record(key).control;
}

}  // namespace t48::pde::testing
