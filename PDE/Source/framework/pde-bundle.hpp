#pragma once
// The bundle the plug-in was loaded from: the one the host handed to the plug-in object
// first, else the one found from the library holding this code.

#include <optional>
#include <string>

#include "bundle.hpp"

namespace t48::pde {

// Holds `bundle` unless one is held already; true when this call stored it.
bool holdPluginBundle(const bundle::Bundle& bundle);
// The held bundle, or the one around this code; null when neither can be found.
const bundle::Bundle* pluginBundle();
// `key` looked up in the bundle's strings; nothing without a bundle.
std::optional<std::string> localizedString(const char* key);

}  // namespace t48::pde
