#include "pde-common.hpp"

#include <limits>

namespace t48::pde {

namespace {

// A record whose control is missing, or is not of the class its kind says, has no value.
ui::PopUpButton* popupOf(const PDEControlItem* item) {
    return item->kind == kKindPopup ? dynamic_cast<ui::PopUpButton*>(item->control) : nullptr;
}

ui::CheckBox* checkBoxOf(const PDEControlItem* item) {
    return item->kind == kKindCheckBox ? dynamic_cast<ui::CheckBox*>(item->control) : nullptr;
}

}  // namespace

int32_t PDECommon::commonGetControlValueWithSInt32(const PDEControlItem* item) {
    if (item == nullptr) {
        return 0;
    }
    if (auto* box = checkBoxOf(item)) {
        return box->state();
    }
    if (auto* popup = popupOf(item)) {
        return popup->indexOfSelectedItem();
    }
    return 0;
}

void PDECommon::commonSetControlValueWithSInt32(const PDEControlItem* item, int32_t value) {
    if (item == nullptr) {
        return;
    }
    if (auto* box = checkBoxOf(item)) {
        box->setState(value);
    } else if (auto* popup = popupOf(item)) {
        if (value < popup->numberOfItems()) {
            popup->selectItemAtIndex(value);
        }
    }
}

int32_t PDECommon::commonConvertToCSTValue(const PDEControlItem* item, int32_t value) {
    if (item == nullptr || item->kind != kKindPopup) {
        return value;
    }
    if (value < 0) {
        return 0;
    }
    return value == std::numeric_limits<int32_t>::max() ? value : value + 1;
}

int32_t PDECommon::commonConvertFromCSTValue(const PDEControlItem* item, int32_t value) {
    if (item == nullptr || item->kind != kKindPopup) {
        return value;
    }
    return value < 1 ? 0 : value - 1;
}

}  // namespace t48::pde
