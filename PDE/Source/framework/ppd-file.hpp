#pragma once
// Opening and closing a PPD file (for hosts and tests; the panel gets its PPD open).

#include <string>

struct ppd_file_s;

namespace t48::pde {

// The open PPD, or null with a one-line reason in `error`.
ppd_file_s* openPPDFile(const std::string& path, std::string& error);
void closePPDFile(ppd_file_s* ppd);
// True when the PPD has an option with the keyword `key`.
bool ppdHasOption(ppd_file_s* ppd, const std::string& key);

}  // namespace t48::pde
