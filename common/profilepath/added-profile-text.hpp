#pragma once
// An added profile as text: the names of its two print-settings entries (which a job
// carries as options), where its file lies on the printer, and how that path is encoded.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace t48::pde {

// "<ppdKey>Custom" is "True" while an added profile is selected; "<ppdKey>CustomFilename"
// holds its encoded path.
inline constexpr char kCustomSuffix[] = "Custom";
inline constexpr char kCustomFilenameSuffix[] = "CustomFilename";

// The storage of a profile on the printer: the folder its file lies in and the key of
// the word the menus show for it.
struct ProfileLocation {
    int32_t location;    // the entry's iLocation
    const char* folder;  // ends with '/'
    const char* wordKey;
};

// The printer's storages: the disk (4) and the card (5).
std::span<const ProfileLocation> profileLocations();
// The printer's storage for `location` (4 the disk, 5 the card); null for any other.
const ProfileLocation* profileLocationFor(int32_t location);

// Each byte b as the two characters 0x30 + (b >> 4) and 0x30 + (b & 0x0F): ASCII "0" to
// "?", twice the byte length.
std::string encodeAddedProfilePath(std::string_view bytes);
// The bytes `text` was made from; nothing for text of odd length or holding a character
// outside "0" to "?", which no encoding makes.
std::optional<std::string> decodeAddedProfilePath(std::string_view text);

}  // namespace t48::pde
