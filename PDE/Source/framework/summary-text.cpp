// The dialog's summary: each summarised control under its localized name with the text
// of its current value, and the order in which the names were added.

#include "pde-bundle.hpp"
#include "pde-common.hpp"

namespace t48::pde {
namespace {

bool isASCII(const char* text) {
    for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at != 0; ++at) {
        if (*at > 0x7f) {
            return false;
        }
    }
    return true;
}

bool summaryCollections(const cf::Value* summaryDict, const cf::Value* order) {
    return summaryDict != nullptr && summaryDict->is(cf::ValueType::Dictionary) &&
           order != nullptr && order->is(cf::ValueType::Array);
}

// The name goes into the order array each time, so a name added twice stands twice
// there while the dictionary keeps the value added last.
void addEntry(cf::Value& summaryDict, cf::Value& order, const std::string& name,
              const std::string& value) {
    summaryDict.set(name, cf::Value::string(value));
    order.asArray()->push_back(cf::Value::string(name));
}

}  // namespace

int32_t PDECommon::commonGetSummaryText(const PDEControlItem* table, cf::Value* summaryDict,
                                        cf::Value* order) {
    if (pluginBundle() == nullptr) {
        return kPDENoErr;
    }
    if (table == nullptr || !summaryCollections(summaryDict, order)) {
        return kPDEParamErr;
    }
    int32_t status = kPDENoErr;
    for (const PDEControlItem* item = table; item->control != nullptr; ++item) {
        if (item->summaryKey == nullptr) {
            continue;
        }
        const std::optional<std::string> name = localizedString(item->summaryKey);
        const std::optional<std::string> value = commonGetControlValueFromPPDWithNSString(item);
        if (!name || !value) {
            status = kPDEParamErr;
            continue;
        }
        addEntry(*summaryDict, *order, *name, *value);
    }
    return status;
}

int32_t PDECommon::commonGetSummaryTextQuickColor(const char* itemName, const std::string& value,
                                                  cf::Value* summaryDict, cf::Value* order) {
    if (pluginBundle() == nullptr) {
        return kPDENoErr;
    }
    if (itemName == nullptr || !isASCII(itemName) || !summaryCollections(summaryDict, order)) {
        return kPDEParamErr;
    }
    const std::optional<std::string> name = localizedString(itemName);
    if (!name) {
        return kPDEParamErr;
    }
    addEntry(*summaryDict, *order, *name, value);
    return kPDENoErr;
}

}  // namespace t48::pde
