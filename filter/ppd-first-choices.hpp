#pragma once
// The profile options of the queue's PPD, read for the filter.

#include <optional>

#include "profile-commands.hpp"

namespace t48::filter {

// The first choice of each profile option the PPD at `path` has; nothing when `path` is
// null or names no PPD libcups can read.
std::optional<FirstChoices> ppdFirstChoices(const char* path);

}  // namespace t48::filter
