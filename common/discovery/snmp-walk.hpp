#pragma once
// The SNMP walk of the printer profile table: one call takes an argument vector in the
// syntax of net-snmp's command-line tools, walks the table with SNMPv1 GET-NEXT requests,
// spools every value inside the walked subtree and merges the spool list into the
// current profile file before it returns.

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstddef>

#include "profile-list.hpp"

namespace t48::discovery {

// Walk results.
inline constexpr int kWalkComplete = 0;
inline constexpr int kWalkFailed = 1;      // no session, bad root, time-out, send error,
                                           // identifiers not increasing, stall bound hit
inline constexpr int kWalkAgentError = 2;  // an error status other than noSuchName
inline constexpr int kWalkUsage = -1;      // argument parsing stopped: usage error
inline constexpr int kWalkInfoOnly = -2;   // argument parsing stopped: an option that
                                           // only asks for information (-V, -H)

// Session defaults where the arguments give none ("-t", "-r"): a switched-off printer
// then costs the print dialog two seconds, not net-snmp's six.
inline constexpr long kDefaultTimeoutMicroseconds = 1000000;
inline constexpr int kDefaultRetries = 1;

// A walk whose answers have this many times not moved the request name forward (no
// variable, or with -Cc a name not past the last) ends with kWalkFailed: such an agent
// would otherwise be asked forever. Answers that advance are never counted, so a table
// of any size walks to its end.
inline constexpr int kMaxStalledRequests = 5000;

// Walks with argv[0] the program name, then options, the agent and the root
// (default 1.3.6.1.2.1). The strings are not changed. Runs the merge exactly once, with
// failure flag = the result, and answers one of the walk results above. One walk at a
// time per process; walks one after another each start from the same library state.
int mib_walk(int argc, const char* const* argv);

// The walk of mib_walk without the merge: the spool list (spool-list.hpp) holds what the
// walk received. Answers one of the walk results above.
int walkIntoSpool(int argc, const char* const* argv);

// Walks as mib_walk does, and fills the three cleared lists with the profiles a merge of
// this walk into an empty profile file would keep (the rows' shape, name, location and
// class decide; each new, so in state 2), without touching any profile file. The lists
// stay empty when the walk is not complete. Answers the walk result.
int walkProfileLists(int argc, const char* const* argv, store::ProfileList* rgb,
                     store::ProfileList* sim, store::ProfileList* dst);

// The store status of the latest walk's merge in this process: kStoreOK when the merged
// lists were saved, kStoreFailed when the current file was left as it was.
int lastMergeStatus();

// The walk's local option "-C": letters c, p and i toggle the application booleans
// dontCheckOrdering, printStatistics and includeRequested.
void optProc(int argc, char* const* argv, int opt);

// One GET of `name`; with error status 0 every variable is counted and printed to
// standard output with the library's variable printer. Nothing is spooled.
void snmp_get_and_print(netsnmp_session* session, const oid* name, std::size_t nameLength);

}  // namespace t48::discovery
