#pragma once
// The profile file's writer: the three lists written straight to XML text, in the shape
// and byte for byte as the property-list library writes the same dictionaries.

#include <string>

#include "profile-list.hpp"

namespace t48::store::detail {

// The whole file for three lists (RGB, SIM, DST) with "PlistVersion" 1. Every slot of
// every field is written; text that is not storable (see text::isStorableText) is left out of
// its sub-dictionary. kStoreOK.
int serializeProfileLists(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst,
                          std::string* xml);

}  // namespace t48::store::detail
