#pragma once
// The choices a queue's PPD gets for the profiles stored on its printer: one per profile
// of an option's class, with a keyword made from the profile's file name.

#include <string>
#include <vector>

#include "profile-list.hpp"

namespace t48::tools {

struct ProfileChoice {
    std::string keyword;  // the choice keyword: "Disk_Office.icc"
    std::string text;     // UTF-8: the profile's name and location, "Office Proof (Disk)"
    std::string path;     // the profile's file on the printer
};

// A PPD choice keyword holds at most this many bytes.
inline constexpr std::size_t kMaxChoiceKeyword = 40;

// One choice per profile of `list`, in list order. A keyword is the location word, '_'
// and the file name, each byte but an ASCII letter, digit, '.', '_' and '-' made a '_'.
// Where that loses a byte, or two keywords of the option would differ in case only (CUPS
// compares choices without case), or one would equal one of `taken` (the option's own
// choices), it ends in '_' and eight hex digits of a hash of the location and the exact
// file name, its name cut to fit 40 bytes: so a keyword depends on the printer's other
// profiles only where they collide, never on their order.
std::vector<ProfileChoice> profileChoices(const store::ProfileList& list,
                                          const std::vector<std::string>& taken);

}  // namespace t48::tools
