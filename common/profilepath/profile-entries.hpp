#pragma once
// The entries of a user's profile lists as the profile options see them: which list an
// option's popup takes its profiles from, which entries it lists, and where each lies on
// the printer. The panel's menus and ticket entries and the profile choices of a queue's
// PPD (t48-queue-profiles) use these same rules.

#include <cstdint>
#include <string>
#include <string_view>

#include "profile-list.hpp"

namespace t48::pde {

// True for an entry state the popups list and number: 3, 4 and 6. The menus and the
// ticket entries both use this one test, so item positions and stored positions agree
// even for a list holding states outside 1 to 6.
bool isListedProfileState(int32_t state);

// The profile-list class index (store::kClassRGB, kClassSIM, kClassDST) of a record's
// profileClass (1 RGB, 3 SIM, 2 DST); -1 for a record that lists no profiles.
int profileListIndex(int16_t profileClass);

// A text field of an entry up to its terminator, never past its 32 bytes.
std::string_view profileText(const char (&field)[store::kProfileTextSize]);

// The entry's file path on the printer: the folder of its location followed by its
// FileName, or the FileName alone when the location has no folder.
std::string addedProfilePath(const store::ProfileEntry& entry);

}  // namespace t48::pde
