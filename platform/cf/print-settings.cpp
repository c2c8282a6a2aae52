#include "print-settings.hpp"

namespace t48::cf {

PrintSettings::PrintSettings() : dictionary_(Value::dictionary()) {}

PrintSettings::PrintSettings(ValueRef dictionary)
    : dictionary_(dictionary && dictionary->is(ValueType::Dictionary) ? std::move(dictionary)
                                                                      : Value::dictionary()) {}

ValueRef PrintSettings::getValue(const std::string& key) const {
    return dictionary_->get(key);
}

int32_t PrintSettings::setValue(const std::string& key, ValueRef value, bool locked) {
    if (locked) {
        return kPrintValueLocked;
    }
    if (!value) {
        dictionary_->asDictionary()->erase(key);
        return kPrintNoError;
    }
    dictionary_->set(key, std::move(value));
    return kPrintNoError;
}

int32_t Printer::copyDeviceURI(std::string& uri) const {
    if (deviceURI_.empty()) {
        return kPrintParamErr;
    }
    uri = deviceURI_;
    return kPrintNoError;
}

int32_t PrintSession::getCurrentPrinter(const Printer*& printer) const {
    if (!current_) {
        printer = nullptr;
        return kPrintInvalidPrinter;
    }
    printer = &*current_;
    return kPrintNoError;
}

}  // namespace t48::cf
