#pragma once
// The PPD t48-queue-profiles installs for a queue: the driver's PPD, its profile options
// offering the printer's profiles as marked choices, with the queue's default options.
// PPD files are handled as text: the driver's bytes stay as they are but for the lines
// added and the default lines.

#include <optional>
#include <string>
#include <vector>

#include "profile-choices.hpp"

namespace t48::tools {

struct OptionProfiles {
    std::string option;  // a profile option's keyword, "ZTImageRGBSource"
    std::vector<ProfileChoice> choices;
};

// The value of the first `*KEYWORD:` line of `ppd` ("ModelName" gives "\"ORVELL T48\""),
// trimmed; nothing when there is none.
std::optional<std::string> ppdValue(const std::string& ppd, const std::string& keyword);

// The choice keywords of the option `option` in `ppd`, in file order.
std::vector<std::string> ppdChoices(const std::string& ppd, const std::string& option);

// `driverPPD` with, for each option of `profiles` that it has, the choices before the
// option's *CloseUI line and one mark (printer-profile-mark.hpp) per choice after it; the
// choice texts in the PPD's *LanguageEncoding, escaped as PPD texts are. Then each
// *Default line takes the queue's value from `queuePPD` where the new PPD offers it for
// that keyword (a choice of the option, or an entry such as *ImageableArea A4), and
// keeps the driver's value otherwise.
std::string queuePPDWithProfiles(const std::string& driverPPD, const std::string& queuePPD,
                                 const std::vector<OptionProfiles>& profiles);

}  // namespace t48::tools
