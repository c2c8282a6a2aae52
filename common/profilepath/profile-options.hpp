#pragma once
// The PPD options whose popups list the user's added profiles after the PPD's choices:
// the panel gives those popups their profile class from here, and the CUPS filter
// honours the added-profile entries of these options only.

#include <cstdint>
#include <span>
#include <string_view>

namespace t48::pde {

// The profileClass of a popup: which class of added profiles it lists after its PPD
// choices (0: none, an ordinary control).
enum ControlProfileClass : int16_t {
    kNoProfileClass = 0,
    kProfileClassRGB = 1,
    kProfileClassDST = 2,
    kProfileClassSIM = 3,
};

struct ProfileOption {
    const char* keyword;  // the PPD option keyword, e.g. "ZTImageRGBSource"
    ControlProfileClass profileClass;
};

// The seven profile options in the panel's order: the RGB source and destination profile
// of Image, Text and Graphics, then the simulation profile.
std::span<const ProfileOption> profileOptions();
// The profile class of the option `keyword`; kNoProfileClass for any other option.
ControlProfileClass profileClassOf(std::string_view keyword);

}  // namespace t48::pde
