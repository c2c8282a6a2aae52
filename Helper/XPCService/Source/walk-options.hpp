#pragma once
// The options a walk request may carry: those a walk of the printer profile table needs.
// Any other option of net-snmp's command line would let a request make the service write
// a log file anywhere (-Lf), read MIB files from anywhere (-m, -M) or speak another
// protocol version; such requests are refused before any walk or merge.

#include <string_view>
#include <vector>

namespace t48::xpc {

// True when every option among `arguments` (the walk's argument vector, the program name
// first) is -O FLAGS, -c COMMUNITY, -v 1, -t SECONDS, -r RETRIES or -C with the walk's
// letters c, p and i only, its value attached ("-Os") or the next argument ("-c fennel").
// Arguments that do not begin with "-" are the agent and the root.
bool isProfileWalkArgumentList(const std::vector<std::string_view>& arguments);

}  // namespace t48::xpc
