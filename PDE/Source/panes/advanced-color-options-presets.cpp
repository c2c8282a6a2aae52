// The Quick Color presets on the Advanced Color Options popups: applied before printing
// and summarised in their place.

#include <cstring>

#include "advanced-color-options.hpp"
#include "control-access.hpp"
#include "pde-common.hpp"
#include "quick-color-presets.hpp"

namespace t48::pde {

const PDEControlItem* AdvancedColorOptions::presetRecord(int row) const {
    if (ctrlTable_ == nullptr) {
        return nullptr;
    }
    const char* summaryKey = kQuickColorPresetRows[row].summaryKey;
    for (const PDEControlItem* item = ctrlTable_; item->control != nullptr; ++item) {
        if (item->summaryKey != nullptr && std::strcmp(item->summaryKey, summaryKey) == 0) {
            return detail::popupOf(item) != nullptr ? item : nullptr;
        }
    }
    return nullptr;
}

void AdvancedColorOptions::changeItemAccodingQuickColor(int16_t quickColor, int16_t econoMode) {
    if (!quickColorIsPreset(quickColor)) {
        return;
    }
    for (int row = 0; row < kQuickColorPresetRowCount; ++row) {
        // Selects only an item the popup has: a shorter PPD choice list keeps the
        // popup's selection rather than leaving it with none.
        PDECommon::commonSetControlValueWithSInt32(
            presetRecord(row), quickColorPresetItem(row, quickColor, econoMode));
    }
}

void AdvancedColorOptions::getSummaryItemAccodingQuickColor(int16_t quickColor, int16_t econoMode,
                                                            cf::Value* summaryDict,
                                                            cf::Value* order) const {
    if (!quickColorIsPreset(quickColor)) {
        return;
    }
    for (int row = 0; row < kQuickColorPresetRowCount; ++row) {
        const ui::PopUpButton* popup = detail::popupOf(presetRecord(row));
        const int16_t index = quickColorPresetItem(row, quickColor, econoMode);
        if (popup == nullptr || index < 0 || index >= popup->numberOfItems()) {
            continue;
        }
        PDECommon::commonGetSummaryTextQuickColor(kQuickColorPresetRows[row].summaryKey,
                                                  popup->itemTitleAtIndex(index), summaryDict,
                                                  order);
    }
}

}  // namespace t48::pde
