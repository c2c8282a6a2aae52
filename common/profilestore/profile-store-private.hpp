#pragma once
// Internals shared by the store's readers, the mapping and the fuzz targets.

#include <memory>
#include <string>
#include <string_view>

#include "profile-file-content.hpp"

namespace t48::store::detail {

// Room for one read of the file (about 130 kB, so not on the stack), one per thread and
// reused by each read on it: the store's calls never nest.
ProfileFileContent& fileContent();

// Reads the current file whole, when it is the user's (preferences-folder.hpp). kStoreOK /
// kStoreFailed.
int readCurrentFile(std::string* xml);

// Reads and parses the current file. kStoreOK / kStoreFailed.
int loadCurrentFile(ProfileFileContent* content);

// ZTPListReadProfile_All on XML bytes instead of the current file.
int readAllFromXml(std::string_view xml, ProfileList* rgb, ProfileList* sim, ProfileList* dst);

// True when ZTPListReadProfile_All would accept `xml` as the current file.
bool readsAsProfileFile(std::string_view xml);

// The whole file for three lists, saved through the backend after a passed write test.
int writeAll(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst);

}  // namespace t48::store::detail
