#pragma once
// A queue's PPD may offer the profiles stored on its printer as choices of the profile
// options (t48-queue-profiles adds them). Each such choice is marked by an attribute of
// ours naming the choice and the profile's path on the printer:
//
//   *T48ProfileChoice ZTImageRGBSource: "Disk_Office.icc /ata1a/data/USfiles/Profiles/Office.icc"
//
// The panel leaves the marked choices out of its menus (it offers the printer's profiles
// as the user's stored profiles), and the upgrade of the driver's PPD knows by them which
// queues carried the printer's profiles.

#include <optional>
#include <string>
#include <string_view>

namespace t48::pde {

// The attribute's keyword; its option keyword is the option the choice belongs to.
inline constexpr char kPrinterProfileMark[] = "T48ProfileChoice";

struct PrinterProfileChoice {
    std::string choiceKeyword;  // the choice of the option
    std::string path;           // the profile's file on the printer
};

// The attribute's value: the keyword, one space, the path.
std::string printerProfileMarkValue(const PrinterProfileChoice& choice);
// The choice a value names; nothing when it has no keyword or no path.
std::optional<PrinterProfileChoice> parsePrinterProfileMark(std::string_view value);

}  // namespace t48::pde
