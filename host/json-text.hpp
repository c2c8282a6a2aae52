#pragma once
// What pdehost prints, as JSON documents of nlohmann's library written one to a line.

#include <nlohmann/json.hpp>
#include <string>

#include "job-options.hpp"
#include "value.hpp"

namespace t48::host {

// Objects keep their members in the order they are set.
using Json = nlohmann::ordered_json;

// `json` on one line, with ", " between items and ": " after names; UTF-8 passed
// through (an ill-formed sequence becomes U+FFFD).
std::string jsonText(const Json& json);
// A property-list value as JSON: dictionaries as objects, arrays as arrays, data as a
// base64 string, dates as seconds since 2001-01-01 UTC.
Json jsonFromValue(const cf::Value& value);
// The options as one object.
Json jobOptionsJSON(const hosting::JobOptions& options);

}  // namespace t48::host
