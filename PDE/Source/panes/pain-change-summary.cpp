// The pane switching controller's summary and Quick Color passes: both read the Quick
// Color index and the EconoMode state of the Color Options pane.

#include "pain-change-controller.hpp"
#include "quick-color-presets.hpp"

namespace t48::pde {

void PainChangeController::getSummaryTextEachView(cf::Value* summaryDict, cf::Value* order) const {
    if (onColorView == nullptr) {
        return;
    }
    onColorView->getSummaryText(summaryDict, order);
    if (onColorView->getQuickColorValue() != kQuickColorCustom) {
        getSummaryAdvancedItemAccodingQuickColor(summaryDict, order);
    } else if (onAdvancedView != nullptr) {
        onAdvancedView->getSummaryText(summaryDict, order);
    }
}

void PainChangeController::changeAdvancedItemAccodingQuickColor() {
    if (onColorView != nullptr && onAdvancedView != nullptr) {
        onAdvancedView->changeItemAccodingQuickColor(onColorView->getQuickColorValue(),
                                                     onColorView->getEconoModeValue());
    }
}

void PainChangeController::getSummaryAdvancedItemAccodingQuickColor(cf::Value* summaryDict,
                                                                    cf::Value* order) const {
    if (onColorView != nullptr && onAdvancedView != nullptr) {
        onAdvancedView->getSummaryItemAccodingQuickColor(onColorView->getQuickColorValue(),
                                                         onColorView->getEconoModeValue(),
                                                         summaryDict, order);
    }
}

}  // namespace t48::pde
