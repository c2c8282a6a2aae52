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
    // Why the job's added profiles cannot be honoured ("" when they can): the job then
    // gets no profile commands.
    std::string problem;
};

// True when the job's options select an added profile for the profile option `key` of
// the PPD (`firstChoices`): "<KEY>Custom" is true while `key` is at its first choice or
// not given. A choice of its own given for `key` wins over the added profile.
bool selectsAddedProfile(const std::vector<JobOption>& options, const std::string& key,
                         const FirstChoices& firstChoices);

// For every profile option of the PPD (`firstChoices`) that selects an added profile, the
// command selecting the profile whose path "<KEY>CustomFilename" holds (encoded as the
// panel encodes it). The path must lie in a profile folder of the printer's disk or card
// and name a file there.
ProfileCommands profileCommands(const std::vector<JobOption>& options,
                                const FirstChoices& firstChoices);

}  // namespace t48::filter
