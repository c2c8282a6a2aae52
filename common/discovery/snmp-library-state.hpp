#pragma once
// net-snmp keeps process state between walks: the default store (output, input and
// application booleans toggled by options, version, community), the debug switch, and
// getopt's scan position. Each walk starts from the state of the library right after
// its one-time initialisation.

namespace t48::discovery::detail {

// Application booleans of the walk, registered under "snmpwalk".
inline constexpr int kIncludeRequested = 1;
inline constexpr int kPrintStatistics = 2;
inline constexpr int kDontCheckOrdering = 3;

// First call: registers the walk's booleans, initialises the library and records the
// default store. Later calls: put the recorded state back. Also resets getopt.
void beginWalkWithCleanLibrary();

}  // namespace t48::discovery::detail
