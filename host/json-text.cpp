#include "json-text.hpp"

#include <glib.h>

#include <cmath>

namespace t48::host {
namespace {

Json number(double value) {
    return std::isfinite(value) ? Json(value) : Json();  // JSON has no infinities
}

std::string base64(const cf::Data& bytes) {
    gchar* encoded = g_base64_encode(bytes.data(), bytes.size());
    std::string text = encoded;
    g_free(encoded);
    return text;
}

}  // namespace

std::string jsonText(const Json& json) {
    // Indented, the library puts each item on a line of its own; a string never holds
    // a raw line break, so the breaks are the layout's: ",\n" between items.
    const std::string indented = json.dump(0, ' ', false, Json::error_handler_t::replace);
    std::string line;
    line.reserve(indented.size());
    for (std::size_t i = 0; i < indented.size(); ++i) {
        if (indented[i] != '\n') {
            line += indented[i];
        } else if (i > 0 && indented[i - 1] == ',') {
            line += ' ';
        }
    }
    return line;
}

Json jsonFromValue(const cf::Value& value) {
    switch (value.type()) {
        case cf::ValueType::String:
            return *value.asString();
        case cf::ValueType::Integer:
            return *value.asInteger();
        case cf::ValueType::Real:
            return number(*value.asReal());
        case cf::ValueType::Boolean:
            return *value.asBoolean();
        case cf::ValueType::Date:
            return number(value.asDate()->seconds);
        case cf::ValueType::Data:
            return base64(*value.asData());
        case cf::ValueType::Array: {
            Json array = Json::array();
            for (const cf::ValueRef& item : *value.asArray()) {
                array.push_back(item ? jsonFromValue(*item) : Json());
            }
            return array;
        }
        case cf::ValueType::Dictionary: {
            Json object = Json::object();
            for (const auto& [key, item] : *value.asDictionary()) {
                object[key] = item ? jsonFromValue(*item) : Json();
            }
            return object;
        }
    }
    return Json();
}

Json jobOptionsJSON(const hosting::JobOptions& options) {
    Json object = Json::object();
    for (const auto& [key, value] : options) {
        object[key] = value;
    }
    return object;
}

}  // namespace t48::host
