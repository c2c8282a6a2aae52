#pragma once
// The printer command that selects a profile stored on the printer: what the colour
// filter puts into a job's setup for an added profile, and the code of a queue PPD's
// choice for a printer profile.

#include <string>
#include <string_view>

namespace t48::pde {

// "<</<option>Profile (<path>)>>setpagedevice", the path a PostScript string with
// parentheses and backslashes escaped and every byte outside printable ASCII, and the
// double quote that would end a PPD's code, as an octal escape.
std::string profileSelectCommand(std::string_view option, std::string_view path);

}  // namespace t48::pde
