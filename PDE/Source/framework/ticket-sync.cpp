// Moving the bound controls' values between a pane and the print settings: one model
// dictionary per printer queue inside the product dictionary "T48", each value also
// copied to the top level under its PPD keyword.

#include <cstring>
#include <new>
#include <string_view>

#include "added-profile.hpp"
#include "control-access.hpp"
#include "pde-common.hpp"
#include "profile-list.hpp"

namespace t48::pde {
namespace {

// A profile popup's value from its stored added profile: the item of that profile, or
// the PPD default when the profile is not listed (any more).
int32_t addedProfileValue(const PDEControlItem* item, const cf::Value* model,
                          PassProfileLists& lists) {
    const int16_t position = getTicketAddedProfile(item, model, lists);
    if (position < 1 || item->choices == nullptr) {
        return PDECommon::commonGetDefualtValueFromPPDWithSInt32(item);
    }
    return static_cast<int32_t>(item->choices->size()) + position - 1;
}

// A profile popup's value for a choice of its option that the PPD marks as a printer
// profile (printer-profile-mark.hpp): the user's listed item of that profile, which is how
// the panel offers it, or no selection (-1) when the user lists none, so that the panel
// stores nothing over the choice and a job still prints with it. Nothing for any other
// choice.
std::optional<int32_t> printerProfileValue(const PDEControlItem* item, const std::string& choice,
                                           PassProfileLists& lists) {
    if (item->choices == nullptr) {
        return std::nullopt;
    }
    for (const PrinterProfileChoice& profile : item->choices->printerProfiles) {
        if (profile.choiceKeyword == choice) {
            return listedProfileItem(item, profile.path, lists);
        }
    }
    return std::nullopt;
}

// True when the panel writes the entry `key` for a record of `table`: its option keyword,
// and for a profile popup the keyword's "Custom" and "CustomFilename" entries.
bool isPanelEntry(const PDEControlItem* table, const std::string& key) {
    for (const PDEControlItem* item = table; item != nullptr && item->control != nullptr; ++item) {
        if (!detail::isBound(*item) || key.rfind(item->ppdKey, 0) != 0) {
            continue;
        }
        const std::string_view suffix = std::string_view(key).substr(std::strlen(item->ppdKey));
        if (suffix.empty() || (item->profileClass != kNoProfileClass &&
                               (suffix == kCustomSuffix || suffix == kCustomFilenameSuffix))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string PDECommon::commonGetPPDProductName(const cf::PrintSettings*) {
    return kPDEProductKey;
}

std::optional<std::string> PDECommon::commonGetPrintQueueName(const cf::PrintSession* session) {
    const cf::Printer* printer = nullptr;
    if (session == nullptr || session->getCurrentPrinter(printer) != cf::kPrintNoError ||
        printer == nullptr) {
        return std::nullopt;
    }
    return printer->getID();
}

cf::ValueRef PDECommon::commonCFDictionaryGetValueWithType(const cf::Value* dictionary,
                                                           const std::string& key) {
    if (!commonCFTypeIsValid(dictionary, cf::ValueType::Dictionary) ||
        dictionary->asDictionary()->empty()) {
        return nullptr;
    }
    cf::ValueRef value = dictionary->get(key);
    return commonCFTypeIsValid(value.get(), cf::ValueType::Dictionary) ? value : nullptr;
}

cf::ValueRef PDECommon::commonGetModelDictionary(cf::PrintSettings* settings,
                                                 const cf::PrintSession* session) {
    if (settings == nullptr) {
        return nullptr;
    }
    const std::string productKey = commonGetPPDProductName(settings);
    const std::optional<std::string> printerID = commonGetPrintQueueName(session);
    cf::ValueRef product = settings->getValue(productKey);
    if (!product) {
        settings->setValue(productKey, cf::Value::dictionary());
        product = settings->getValue(productKey);
    }
    // A product entry of another type is left alone: it is not ours to replace.
    if (!commonCFTypeIsValid(product.get(), cf::ValueType::Dictionary) || !printerID) {
        return nullptr;
    }
    if (!product->get(*printerID)) {
        product->set(*printerID, cf::Value::dictionary());
    }
    return commonCFDictionaryGetValueWithType(product.get(), *printerID);
}

int32_t PDECommon::commonCFDictionaryMapToTicket(cf::PrintSettings* settings,
                                                 const cf::Value* dictionary,
                                                 const PDEControlItem* table) {
    if (settings == nullptr || !commonCFTypeIsValid(dictionary, cf::ValueType::Dictionary)) {
        return kPDENoErr;
    }
    // The entries are gathered first, so a failure copies nothing.
    std::vector<std::pair<std::string, cf::ValueRef>> entries;
    try {
        entries.assign(dictionary->asDictionary()->begin(), dictionary->asDictionary()->end());
    } catch (const std::bad_alloc&) {
        return kPDEMemFullErr;
    }
    const std::string productKey = commonGetPPDProductName(settings);
    for (auto& [key, value] : entries) {
        // A model entry never replaces the product dictionary, nor a host's value that is
        // not a string (its numbers, dictionaries, arrays): a stray entry named like them
        // would wipe every printer's settings or the host's own. An entry the panel
        // writes is its own, whatever stands there.
        const cf::ValueRef present = settings->getValue(key);
        if (key == productKey ||
            (present && !present->is(cf::ValueType::String) && !isPanelEntry(table, key))) {
            continue;
        }
        settings->setValue(key, value);
    }
    return kPDENoErr;
}

void PDECommon::commonStorePaneInDictionary(cf::Value* model, const PDEControlItem* table) {
    if (model == nullptr || table == nullptr) {
        return;
    }
    PassProfileLists lists(table);
    for (const PDEControlItem* item = table; item->control != nullptr; ++item) {
        if (!detail::isBound(*item) || item->choices == nullptr) {
            continue;
        }
        const int32_t row = commonGetControlValueFromPPDWithSInt32(item);
        const auto rows = static_cast<int32_t>(item->choices->size());
        // No selection, or a check box whose state has no choice row: nothing to store.
        if (row < 0) {
            continue;
        }
        if (row < rows) {
            const ChoiceRow& choice = (*item->choices)[static_cast<size_t>(row)];
            model->set(choice.optionKeyword, cf::Value::string(choice.choiceKeyword));
            commonSetTicketAddedProfileFlag(item, model, kAddedProfileFlagOff);
        } else if (row - rows < store::kProfileSlots) {
            // An item after the PPD choices: one of the user's profiles. Storing it sets
            // the "Custom" flag; a store that fails leaves the flag as it was.
            setTicketAddedProfile(item, model, static_cast<int16_t>(row - rows + 1), lists);
        }
    }
}

void PDECommon::commonSetPaneFromDictionary(cf::Value* model, const PDEControlItem* table) {
    if (model == nullptr || table == nullptr) {
        return;
    }
    PassProfileLists lists(table);
    for (const PDEControlItem* item = table; item->control != nullptr; ++item) {
        if (!detail::isBound(*item)) {
            continue;
        }
        int32_t value = -1;
        std::optional<int32_t> printerProfile;
        if (commonGetTicketAddedProfileFlag(item, model) == kAddedProfileFlagOn) {
            value = addedProfileValue(item, model, lists);
        } else if (const cf::ValueRef stored = model->get(item->ppdKey)) {
            // A stored value that is no string leaves the control as it is.
            if (const std::string* choice = stored->asString()) {
                value = commonGetTicketValueWithSInt32(item, item->ppdKey, stored.get());
                printerProfile =
                    value == -1 ? printerProfileValue(item, *choice, lists) : std::nullopt;
            }
        } else {
            value = commonGetDefualtValueFromPPDWithSInt32(item);
            if (value == -1 && item->choices != nullptr && !item->choices->empty()) {
                printerProfile =
                    printerProfileValue(item, item->choices->front().defaultChoice, lists);
            }
        }
        if (printerProfile) {
            commonSetControlValueWithSInt32(item, *printerProfile);
        } else if (value != -1) {
            commonSetControlValueWithSInt32(item, value);
        }
    }
}

int32_t PDECommon::commonSyncTicketFromPane(cf::PrintSettings* settings,
                                            const cf::PrintSession* session,
                                            const PDEControlItem* table) {
    cf::ValueRef model = commonGetModelDictionary(settings, session);
    if (!model || table == nullptr) {
        return kPDENoErr;
    }
    commonStorePaneInDictionary(model.get(), table);
    return commonCFDictionaryMapToTicket(settings, model.get(), table);
}

int32_t PDECommon::commonSyncPaneFromTicket(cf::PrintSettings* settings,
                                            const cf::PrintSession* session,
                                            const PDEControlItem* table) {
    cf::ValueRef model = commonGetModelDictionary(settings, session);
    if (!model || table == nullptr) {
        return kPDENoErr;
    }
    commonSetPaneFromDictionary(model.get(), table);
    return commonCFDictionaryMapToTicket(settings, model.get(), table);
}

}  // namespace t48::pde
