#pragma once
// Opening and closing a PPD file, for the hosts of the panel and the tests: the panel
// itself is given its PPD open by its host.

#include <string>
#include <vector>

struct ppd_file_s;

namespace t48::ppd {

// The open PPD, or null with a one-line reason in `error`. A *LanguageEncoding line
// below the first line is honoured for every text of the file.
ppd_file_s* openPPDFile(const std::string& path, std::string& error);
void closePPDFile(ppd_file_s* ppd);
// True when the PPD has an option with the keyword `key`.
bool ppdHasOption(ppd_file_s* ppd, const std::string& key);
// Gives the options of `keys` that the PPD has the kind PickMany, for which a print
// dialog that makes widgets for PickOne and Boolean options only makes none.
void makeOptionsPickMany(ppd_file_s* ppd, const std::vector<std::string>& keys);

}  // namespace t48::ppd
