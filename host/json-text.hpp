#pragma once
// JSON text for what pdehost prints.

#include <string>

#include "job-options.hpp"
#include "value.hpp"

namespace t48::host {

// `text` as a JSON string literal (UTF-8 passed through, control characters escaped).
std::string jsonString(const std::string& text);
// A property-list value as JSON: dictionaries as objects, arrays as arrays, data as a
// base64 string, dates as seconds since 2001-01-01 UTC.
std::string jsonFromValue(const cf::Value& value);
// The options as one JSON object.
std::string jobOptionsJSON(const hosting::JobOptions& options);

}  // namespace t48::host
