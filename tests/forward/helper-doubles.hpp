#pragma once
// Test doubles standing in for T48Helper at its path: shell scripts for the faults the
// real helper and service cannot be made to show (a chunk answered without its marker,
// a helper that never exits, ...), and a spy that records each run and then runs the
// real helper.

#include <string>
#include <vector>

namespace t48::testing {

// Writes `body` as an executable /bin/sh script at `path` (folders must exist).
void installScript(const std::string& path, const std::string& body);

// A spy at `path` around the real helper moved to `real`: appends one line per run to
// `log` (the command, and for the walk its host argument), then execs `real` — unless
// `before` (shell text run first) exits.
void installSpy(const std::string& path, const std::string& real, const std::string& log,
                const std::string& before = {});

// The lines of a spy's log.
std::vector<std::string> loggedRuns(const std::string& log);

// Moves the real helper at `path` aside to `path` + ".real" and returns that path.
std::string moveHelperAside(const std::string& path);

}  // namespace t48::testing
