#pragma once
// The panel's exchange with T48Helper: one helper run per request, its output judged by
// the command's marker ("<command>=TRUE", or "mibwalk_XPC=iRet=").

#include <chrono>
#include <string>
#include <vector>

namespace t48::store::panel {

// A helper still running this long after its start is killed and its request fails.
// Far beyond the longest walk: a printer that does not answer ends the walk after the
// SNMP retries (seconds), a full table of 500 rows takes well under a second.
inline constexpr std::chrono::seconds kHelperTimeLimit{60};

struct HelperRun {
    bool started = false;    // the helper existed and a process was started
    bool completed = false;  // it exited by itself with status 0 (not killed, no error)
    std::string output;      // its standard output, decoded as UTF-8 text
};

// The helper's path under the filesystem root.
std::string helperPath();

// Runs the helper with `command` and `arguments`; nothing is started when no file is at
// the helper's path.
HelperRun runHelper(const std::string& command, const std::vector<std::string>& arguments);

// True when the run completed and its output holds `marker`.
bool runSucceeded(const HelperRun& run, const std::string& marker);

// "<command>=TRUE": the marker of every request but the walk.
std::string trueMarker(const std::string& command);

// Tests shorten the time limit to watch a helper that never exits being killed.
void setHelperTimeLimit(std::chrono::milliseconds limit);

}  // namespace t48::store::panel
