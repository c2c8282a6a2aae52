#pragma once
// The record's control as the class its kind promises; null when the record has no
// control or the control is of another class than its kind code says.

#include "pde-control-item.hpp"

namespace t48::pde::detail {

template <class ControlClass, ui::ControlType Type>
ControlClass* controlAs(const PDEControlItem* item, int32_t kind) {
    if (item == nullptr || item->kind != kind || item->control == nullptr ||
        item->control->type() != Type) {
        return nullptr;
    }
    return static_cast<ControlClass*>(item->control);
}

inline ui::PopUpButton* popupOf(const PDEControlItem* item) {
    return controlAs<ui::PopUpButton, ui::ControlType::PopUpButton>(item, kKindPopup);
}
inline ui::CheckBox* checkBoxOf(const PDEControlItem* item) {
    return controlAs<ui::CheckBox, ui::ControlType::CheckBox>(item, kKindCheckBox);
}
inline ui::Label* labelOf(const PDEControlItem* item) {
    return controlAs<ui::Label, ui::ControlType::Label>(item, kKindLabel);
}
inline ui::PushButton* buttonOf(const PDEControlItem* item) {
    return controlAs<ui::PushButton, ui::ControlType::PushButton>(item, kKindPushButton);
}
inline ui::TabView* tabViewOf(const PDEControlItem* item) {
    return controlAs<ui::TabView, ui::ControlType::TabView>(item, kKindTabView);
}

// True for a record bound to a PPD option.
inline bool isBound(const PDEControlItem& item) {
    return item.ppdKey != nullptr && item.ppdKey[0] != '\0';
}

}  // namespace t48::pde::detail
