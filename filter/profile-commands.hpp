#pragma once
// The printer commands that select the profiles a job's added-profile options name.

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace t48::filter {

using JobOption = std::pair<std::string, std::string>;

// The first choice of each profile option the queue's PPD has, by option keyword.
using FirstChoices = std::map<std::string, std::string, std::less<>>;

struct ProfileCommands {
    // PostScript for the job's setup, one feature per selected profile; "" for none.
    std::string setup;
    // Why the job's options cannot be honoured ("" when they can): the job then passes
    // unchanged.
    std::string problem;
};

// For every profile option of the PPD (`firstChoices`; null when the PPD cannot be read)
// whose "<KEY>Custom" option is true while the option itself is at its first choice or
// not given, the command selecting the profile whose path "<KEY>CustomFilename" holds
// (encoded as the panel encodes it). A choice of its own given for the option wins over
// the added profile. The path must lie in a profile folder of the printer's disk or card
// and name a file there.
ProfileCommands profileCommands(const std::vector<JobOption>& options,
                                const FirstChoices* firstChoices);

}  // namespace t48::filter
