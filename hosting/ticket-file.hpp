#pragma once
// The ticket file: a job's print settings kept as an XML property list between runs.

#include <string>

#include "print-settings.hpp"

namespace t48::hosting {

// Reads `path` into `settings` (`found` tells whether there was a file); a missing file
// leaves them as they are. False with a one-line reason in `error` when the file cannot
// be read or is not a dictionary.
bool readTicketFile(const std::string& path, cf::PrintSettings& settings, bool& found,
                    std::string& error);
// Writes the settings whole to `path`; false with a reason in `error`.
bool writeTicketFile(const std::string& path, const cf::PrintSettings& settings,
                     std::string& error);

}  // namespace t48::hosting
