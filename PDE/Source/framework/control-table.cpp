// Whole-table work: titles and menus, PPD defaults, the supported keywords and the
// joining of the pane tables.

#include <new>

#include "control-access.hpp"
#include "pde-bundle.hpp"
#include "pde-common.hpp"

namespace t48::pde {
namespace {

// Tab labels of the tab view, by tab index.
constexpr const char* kTabLabelKeys[] = {"Image", "Text", "Graphics", "Simulation"};

}  // namespace

void PDECommon::commonBuildPDEItem(PDEControlItem* table, ppd_file_s* ppd) {
    if (table == nullptr) {
        return;
    }
    for (const PDEControlItem* item = table; item->control != nullptr; ++item) {
        commonSetControlTitleFromLocalizeString(item);
        if (item->kind == kKindPopup) {
            commonReBuildMenuFromPPD(ppd, item);
        }
    }
}

void PDECommon::commonSetControlTitleFromLocalizeString(const PDEControlItem* item) {
    if (item == nullptr || item->titleKey == nullptr) {
        return;
    }
    const std::optional<std::string> text = localizedString(item->titleKey);
    if (!text) {
        return;
    }
    if (ui::Label* label = detail::labelOf(item)) {
        label->setStringValue(*text);
    } else if (ui::CheckBox* box = detail::checkBoxOf(item)) {
        box->setTitle(*text);
    } else if (ui::PushButton* button = detail::buttonOf(item)) {
        button->setTitle(*text);
    } else if (ui::TabView* tabs = detail::tabViewOf(item)) {
        for (int i = 0; i < tabs->numberOfTabs() && i < static_cast<int>(std::size(kTabLabelKeys));
             ++i) {
            if (std::optional<std::string> label = localizedString(kTabLabelKeys[i])) {
                tabs->setLabelAtIndex(i, *label);
            }
        }
    }
}

void PDECommon::commonDefaultFromPPDInfo(PDEControlItem* table) {
    if (table == nullptr) {
        return;
    }
    for (const PDEControlItem* item = table; item->control != nullptr; ++item) {
        if (detail::isBound(*item)) {
            commonSetControlValueWithSInt32(item, commonGetDefualtValueFromPPDWithSInt32(item));
        }
    }
}

int32_t PDECommon::commonAddPPDArray(std::vector<std::string>* array, const PDEControlItem* table) {
    if (array == nullptr) {
        return kPDEParamErr;
    }
    int32_t status = kPDENoErr;
    for (const PDEControlItem* item = table; item != nullptr && item->control != nullptr; ++item) {
        if (!detail::isBound(*item)) {
            continue;
        }
        std::string keyword(item->ppdKey);
        bool ascii = true;
        for (unsigned char c : keyword) {
            ascii = ascii && c < 0x80;
        }
        if (!ascii) {
            status = kPDEParamErr;
            continue;
        }
        array->push_back(std::move(keyword));
    }
    return status;
}

PDEControlItem* PDECommon::commonControlTableCompound(PDEControlItem* const* tables,
                                                      int32_t count) {
    if (tables == nullptr || count < 0) {
        return nullptr;
    }
    size_t records = 0;
    for (int32_t t = 0; t < count; ++t) {
        for (const PDEControlItem* item = tables[t];
             item != nullptr && item->kind != kKindEndOfTable; ++item) {
            ++records;
        }
    }
    auto* joined = new (std::nothrow) PDEControlItem[records + 1];
    if (joined == nullptr) {
        return nullptr;
    }
    size_t at = 0;
    for (int32_t t = 0; t < count; ++t) {
        for (const PDEControlItem* item = tables[t];
             item != nullptr && item->kind != kKindEndOfTable; ++item) {
            joined[at++] = *item;
        }
    }
    joined[at] = kTerminatorItem;
    return joined;
}

bool PDECommon::commonCFTypeIsValid(const cf::Value* object, cf::ValueType type) {
    return object != nullptr && object->is(type);
}

}  // namespace t48::pde
