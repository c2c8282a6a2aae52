#pragma once
// Whether a text would be accepted by the profile store's readers as a profile file: an
// XML property list whose root dictionary holds "RGB", "SIM" and "DST", each a dictionary
// with the six sub-dictionaries. The store's own reader decides.

#include <string_view>

namespace t48::xpc {

bool isProfileFileText(std::string_view text);

}  // namespace t48::xpc
