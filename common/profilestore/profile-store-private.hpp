#pragma once
// Internals shared by the store's readers, the mapping and the fuzz target.

#include <string_view>

#include "profile-plist.hpp"

namespace t48::store::detail {

// Reads and parses the current file. kStoreOK / kStoreFailed.
int loadCurrentFile(PlistOwner* root);

// Every listed class and all six of its sub-dictionaries are present, checked field by
// field across the classes.
bool hasClasses(plist_t root, const int* classIndexes, int classCount);

// Reads a class's slot values over `list` (missing keys leave fields alone), then "iNum"
// when present, then repairs the count.
void fillList(const ClassSlots& slots, ProfileList* list);

// ZTPListReadProfile_All on XML bytes instead of the current file.
int readAllFromXml(std::string_view xml, ProfileList* rgb, ProfileList* sim, ProfileList* dst);

// The whole file for three lists, saved through the backend after a passed write test.
int writeAll(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst);

}  // namespace t48::store::detail
