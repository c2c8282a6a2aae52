// The ticket file parser over arbitrary bytes. Beyond what the sanitizers catch: a
// parsed ticket holds only UTF-8 strings and keys, and it serialises and parses back
// to the same XML.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "property-list.hpp"
#include "utf8-text.hpp"

namespace {

bool allUTF8(const t48::cf::Value& value) {
    if (const std::string* text = value.asString()) {
        return t48::text::isValidUtf8(*text);
    }
    if (const t48::cf::Array* items = value.asArray()) {
        for (const auto& item : *items) {
            if (item && !allUTF8(*item)) {
                return false;
            }
        }
    }
    if (const t48::cf::Dictionary* entries = value.asDictionary()) {
        for (const auto& [key, item] : *entries) {
            if (!t48::text::isValidUtf8(key) || (item && !allUTF8(*item))) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    t48::cf::ValueRef value;
    if (t48::cf::propertyListFromXML(std::string(reinterpret_cast<const char*>(data), size),
                                     value) != t48::cf::kPlistNoError) {
        return 0;
    }
    if (!value || !allUTF8(*value)) {
        std::abort();
    }
    std::string xml;
    if (t48::cf::propertyListToXML(*value, xml) != t48::cf::kPlistNoError) {
        std::abort();
    }
    t48::cf::ValueRef again;
    std::string xmlAgain;
    if (t48::cf::propertyListFromXML(xml, again) != t48::cf::kPlistNoError ||
        t48::cf::propertyListToXML(*again, xmlAgain) != t48::cf::kPlistNoError || xml != xmlAgain) {
        std::abort();
    }
    return 0;
}
