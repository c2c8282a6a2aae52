// The preset mapping. EconoMode on turns Image EdgeEnhance (preset 2) and Graphics
// EdgeEnhance (presets 0 and 2) to item 0; Text EdgeEnhance is never overridden, as the
// constraint rules disable it only when EdgeType is off.
#include "quick-color-presets.hpp"

#include <cstring>

namespace t48::pde {

const QuickColorPresetRow kQuickColorPresetRows[kQuickColorPresetRowCount] = {
    // summaryKey                     ppdKey                      EconoMode off  EconoMode on
    {"Image RGB Source", "ZTImageRGBSource", {{1, 1, 1}, {1, 1, 1}}},
    {"Image RGB Intent", "ZTImageRenderIntent", {{0, 0, 1}, {0, 0, 1}}},
    {"Image RGB Gray Treatment", "ZTImageGrayTreatment", {{1, 0, 1}, {1, 0, 1}}},
    {"Image Destination Profile", "ZTImageDestinationProfile", {{0, 0, 0}, {0, 0, 0}}},
    {"Image Halftone", "ZTImageHalftone", {{1, 1, 2}, {1, 1, 2}}},
    {"Image EdgeEnhance", "ZTImageEdgeEnhance", {{0, 0, 1}, {0, 0, 0}}},
    {"Text RGB Source", "ZTTextRGBSource", {{1, 1, 1}, {1, 1, 1}}},
    {"Text RGB Intent", "ZTTextRenderIntent", {{1, 0, 1}, {1, 0, 1}}},
    {"Text RGB Gray Treatment", "ZTTextGrayTreatment", {{1, 0, 1}, {1, 0, 1}}},
    {"Text Destination Profile", "ZTTextDestinationProfile", {{0, 0, 0}, {0, 0, 0}}},
    {"Text Halftone", "ZTTextHalftone", {{2, 1, 2}, {2, 1, 2}}},
    {"Text EdgeEnhance", "ZTTextEdgeEnhance", {{1, 0, 1}, {1, 0, 1}}},
    {"Graphics RGB Source", "ZTGraphicsRGBSource", {{1, 1, 1}, {1, 1, 1}}},
    {"Graphics RGB Intent", "ZTGraphicsRenderIntent", {{1, 0, 1}, {1, 0, 1}}},
    {"Graphics RGB Gray Treatment", "ZTGraphicsGrayTreatment", {{1, 0, 1}, {1, 0, 1}}},
    {"Graphics Destination Profile", "ZTGraphicsDestinationProfile", {{0, 0, 0}, {0, 0, 0}}},
    {"Graphics Halftone", "ZTGraphicsHalftone", {{1, 1, 2}, {1, 1, 2}}},
    {"Graphics EdgeEnhance", "ZTGraphicsEdgeEnhance", {{1, 0, 1}, {0, 0, 0}}},
    {"Simulation Profile", "ZTSimSource", {{0, 0, 0}, {0, 0, 0}}},
    {"Match Paper Color", "ZTSimRenderIntent", {{0, 0, 0}, {0, 0, 0}}},
    {"CMYK Gray Treatment", "ZTSimGrayTreatment", {{0, 0, 0}, {0, 0, 0}}},
};

bool quickColorIsPreset(int16_t quickColor) {
    return quickColor >= 0 && quickColor < kQuickColorPresetCount;
}

int16_t quickColorPresetItem(int row, int16_t quickColor, int16_t econoMode) {
    if (!quickColorIsPreset(quickColor) || row < 0 || row >= kQuickColorPresetRowCount) {
        return -1;
    }
    return kQuickColorPresetRows[row].item[econoMode != 0 ? 1 : 0][quickColor];
}

int quickColorPresetRowForSummaryKey(const char* summaryKey) {
    for (int row = 0; summaryKey != nullptr && row < kQuickColorPresetRowCount; ++row) {
        if (std::strcmp(kQuickColorPresetRows[row].summaryKey, summaryKey) == 0) {
            return row;
        }
    }
    return -1;
}

int quickColorPresetRowForPPDKey(const char* ppdKey) {
    for (int row = 0; ppdKey != nullptr && row < kQuickColorPresetRowCount; ++row) {
        if (std::strcmp(kQuickColorPresetRows[row].ppdKey, ppdKey) == 0) {
            return row;
        }
    }
    return -1;
}

}  // namespace t48::pde
