// Reading and setting control values, and their meaning as PPD choices.

#include "control-access.hpp"
#include "pde-common.hpp"

#include <limits>

namespace t48::pde {
namespace {

constexpr const char* kChoiceOn = "True";
constexpr const char* kChoiceOff = "False";
// A stored check-box choice that means "on"; compared exactly against each.
constexpr const char* kOnSpellings[] = {"True", "TRUE", "true"};

// The row of a check box's state: its option with "True" or "False".
int32_t checkBoxRow(const PDEControlItem* item, const ui::CheckBox& box) {
    return PDECommon::commonFindPPDKeyPairsMatch(item->choices, item->ppdKey,
                                                 box.state() != 0 ? kChoiceOn : kChoiceOff);
}

}  // namespace

int32_t PDECommon::commonGetControlValueWithSInt32(const PDEControlItem* item) {
    if (const ui::CheckBox* box = detail::checkBoxOf(item)) {
        return box->state();
    }
    if (const ui::PopUpButton* popup = detail::popupOf(item)) {
        return popup->indexOfSelectedItem();
    }
    return 0;
}

void PDECommon::commonSetControlValueWithSInt32(const PDEControlItem* item, int32_t value) {
    if (ui::CheckBox* box = detail::checkBoxOf(item)) {
        box->setState(value);
    } else if (ui::PopUpButton* popup = detail::popupOf(item)) {
        if (value < popup->numberOfItems()) {
            popup->selectItemAtIndex(value);
        }
    }
}

int32_t PDECommon::commonGetControlValueFromPPDWithSInt32(const PDEControlItem* item) {
    if (const ui::CheckBox* box = detail::checkBoxOf(item)) {
        return checkBoxRow(item, *box);
    }
    if (const ui::PopUpButton* popup = detail::popupOf(item)) {
        return popup->indexOfSelectedItem();
    }
    return 0;
}

std::optional<std::string> PDECommon::commonGetControlValueFromPPDWithNSString(
    const PDEControlItem* item) {
    if (const ui::CheckBox* box = detail::checkBoxOf(item)) {
        const int32_t row = checkBoxRow(item, *box);
        if (row < 0) {
            return std::nullopt;
        }
        return (*item->choices)[static_cast<size_t>(row)].choiceText;
    }
    if (const ui::PopUpButton* popup = detail::popupOf(item)) {
        const int selected = popup->indexOfSelectedItem();
        if (selected < 0) {
            return std::nullopt;
        }
        return popup->itemTitleAtIndex(selected);
    }
    return std::nullopt;
}

int32_t PDECommon::commonFindPPDKeyPairsMatch(const ChoiceRows* choices, const std::string& option,
                                              const std::string& choice) {
    if (choices == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < choices->size(); ++i) {
        const ChoiceRow& row = (*choices)[i];
        if (row.optionKeyword == option && row.choiceKeyword == choice) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

int32_t PDECommon::commonGetTicketValueWithSInt32(const PDEControlItem* item,
                                                  const std::string& option,
                                                  const cf::Value* choice) {
    if (item == nullptr) {
        return 0;
    }
    const std::string* text = choice != nullptr ? choice->asString() : nullptr;
    if (item->kind == kKindCheckBox) {
        if (text != nullptr) {
            for (const char* on : kOnSpellings) {
                if (*text == on) {
                    return 1;
                }
            }
        }
        return 0;
    }
    if (item->kind == kKindPopup) {
        return text != nullptr ? commonFindPPDKeyPairsMatch(item->choices, option, *text) : -1;
    }
    return 0;
}

int32_t PDECommon::commonGetDefualtValueFromPPDWithSInt32(const PDEControlItem* item) {
    if (item == nullptr || item->choices == nullptr || item->choices->empty()) {
        return 0;
    }
    const cf::ValueRef defaultChoice = cf::Value::string(item->choices->front().defaultChoice);
    return commonGetTicketValueWithSInt32(item, item->ppdKey, defaultChoice.get());
}

int32_t PDECommon::commonConvertToCSTValue(const PDEControlItem* item, int32_t value) {
    if (item == nullptr || item->kind != kKindPopup) {
        return value;
    }
    if (value < 0) {
        return 0;
    }
    // The largest index stays as it is rather than overflow.
    return value == std::numeric_limits<int32_t>::max() ? value : value + 1;
}

int32_t PDECommon::commonConvertFromCSTValue(const PDEControlItem* item, int32_t value) {
    if (item == nullptr || item->kind != kKindPopup) {
        return value;
    }
    return value < 1 ? 0 : value - 1;
}

}  // namespace t48::pde
