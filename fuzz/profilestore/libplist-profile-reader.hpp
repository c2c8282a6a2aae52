#pragma once
// The profile file read through the property-list library's tree, as the store read it
// before it had a reader of its own. Kept for the differential fuzz target only.

#include <string_view>

#include "profile-list.hpp"

namespace t48::store::fuzzing {

// ZTPListReadProfile_All on XML bytes, through libplist. kStoreOK / kStoreFailed.
int readAllWithLibplist(std::string_view xml, ProfileList* rgb, ProfileList* sim, ProfileList* dst);

}  // namespace t48::store::fuzzing
