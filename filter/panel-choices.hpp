#pragma once
// The choices the Color Options panel gives the printer for a job: the job's choices
// restored into the panel's controls, its rules run, the panel saved and given its last
// word before printing (the Quick Color preset), as a print dialog's Print does.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "profile-commands.hpp"

namespace t48::filter {

// Choice keywords by option keyword.
using Choices = std::map<std::string, std::string, std::less<>>;

// For `asked`, options of the PPD at `ppdPath` with their choice keywords, the choice the
// panel prints of each option it handles; nothing, with a one-line reason in `error`,
// when the panel cannot be had (no PPD, no plug-in).
std::optional<Choices> panelChoices(const std::vector<JobOption>& asked, const std::string& ppdPath,
                                    std::string& error);

}  // namespace t48::filter
