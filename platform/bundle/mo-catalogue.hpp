#pragma once
// A compiled gettext catalogue (".mo") read whole, for the one lookup gettext cannot make:
// a catalogue of a language the user's locale does not name.

#include <map>
#include <string>

namespace t48::bundle {

// The translations of the catalogue at `path` by message ID (the header entry left out);
// empty when the file cannot be read or is not a well-formed catalogue.
std::map<std::string, std::string> readMoCatalogue(const std::string& path);

}  // namespace t48::bundle
