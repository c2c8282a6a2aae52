#pragma once
// The walk request: sets the process-wide profile paths from user and model and runs the
// SNMP walk with the request's arguments. Walks run one at a time, since the paths and the
// spool list are process-wide.

#include "request-grammar.hpp"

namespace t48::xpc {

// Result when a walk request is refused before any walk runs.
inline constexpr int kWalkRequestRefused = -1;

// Runs the walk for a request whose user and model have been checked; answers the walk
// result and writes it to the system log.
int runWalkRequest(const WalkRequest& walk);

}  // namespace t48::xpc
