#pragma once
// The printer commands that select the profiles a job's added-profile options name.

#include <string>
#include <utility>
#include <vector>

namespace t48::filter {

using JobOption = std::pair<std::string, std::string>;

struct ProfileCommands {
    // PostScript for the job's setup, one feature per selected profile; "" for none.
    std::string setup;
    // Why the job's options cannot be honoured ("" when they can): the job then passes
    // unchanged.
    std::string problem;
};

// For every "<KEY>Custom" option that is true, the command selecting the profile whose
// path "<KEY>CustomFilename" holds (encoded as the panel encodes it). The path must lie
// in a profile folder of the printer's disk or card and name a file there.
ProfileCommands profileCommands(const std::vector<JobOption>& options);

}  // namespace t48::filter
