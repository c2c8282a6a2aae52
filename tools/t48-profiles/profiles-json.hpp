#pragma once
// The JSON form of the three profile lists:
// {"RGB": {"count": N, "entries": [...]}, "SIM": {...}, "DST": {...}}, each entry
// {"IndexOnDevice", "InMenu", "ProfileClass", "FileName", "ProfileName", "Location"}.

#include <string>

#include "profile-list.hpp"

namespace t48::tools {

// The used slots (0 to count - 1) of each list as JSON text.
std::string listsToJson(const store::ProfileList lists[store::kProfileClassCount]);

// Fills cleared lists from JSON text. Empty string on success, otherwise what is wrong
// (e.g. "RGB.entries[3].FileName: longer than 31 bytes").
std::string listsFromJson(const std::string& text,
                          store::ProfileList lists[store::kProfileClassCount]);

}  // namespace t48::tools
