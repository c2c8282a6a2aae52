#include "json-text.hpp"

#include <cmath>
#include <cstdio>

namespace t48::host {
namespace {

std::string base64(const cf::Data& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t chunk = (bytes[i] << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                               (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        out += kAlphabet[(chunk >> 18) & 63];
        out += kAlphabet[(chunk >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(chunk >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kAlphabet[chunk & 63] : '=';
    }
    return out;
}

std::string number(double value) {
    if (!std::isfinite(value)) {
        return "null";  // JSON has no infinities
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

std::string jsonFromValue(const cf::Value& value) {
    switch (value.type()) {
        case cf::ValueType::String:
            return jsonString(*value.asString());
        case cf::ValueType::Integer:
            return std::to_string(*value.asInteger());
        case cf::ValueType::Real:
            return number(*value.asReal());
        case cf::ValueType::Boolean:
            return *value.asBoolean() ? "true" : "false";
        case cf::ValueType::Date:
            return number(value.asDate()->seconds);
        case cf::ValueType::Data:
            return jsonString(base64(*value.asData()));
        case cf::ValueType::Array: {
            std::string out = "[";
            const char* separator = "";
            for (const cf::ValueRef& item : *value.asArray()) {
                out += separator;
                out += item ? jsonFromValue(*item) : "null";
                separator = ", ";
            }
            return out + "]";
        }
        case cf::ValueType::Dictionary: {
            std::string out = "{";
            const char* separator = "";
            for (const auto& [key, item] : *value.asDictionary()) {
                out += separator + jsonString(key) + ": " + (item ? jsonFromValue(*item) : "null");
                separator = ", ";
            }
            return out + "}";
        }
    }
    return "null";
}

std::string jobOptionsJSON(const hosting::JobOptions& options) {
    std::string json = "{";
    for (const auto& [key, value] : options) {
        json += (json.size() > 1 ? ", " : "") + jsonString(key) + ": " + jsonString(value);
    }
    return json + "}";
}

}  // namespace t48::host
