#pragma once
// Starting a program with an argument list and its standard output on a pipe
// (NSTask with NSPipe): the output is read while the program runs, so a program that
// prints more than a pipe holds cannot block, and a program that outlives its time
// limit is killed. Standard input and standard error stay as inherited.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace t48::task {

enum class TaskStatus {
    kExited,      // the program ran and exited; exitCode holds its status
    kNotStarted,  // no such file, not executable, or no pipe/process could be had
    kSignalled,   // ended by a signal it did not send itself on our request
    kTimedOut,    // still running at the time limit: killed (SIGKILL) and reaped
};

struct TaskResult {
    TaskStatus status = TaskStatus::kNotStarted;
    int exitCode = -1;   // valid for kExited
    std::string output;  // standard output, at most kMaxOutputBytes
    bool outputCut = false;
};

// Output beyond this is read and dropped, so a runaway program cannot exhaust memory.
inline constexpr std::size_t kMaxOutputBytes = 16u << 20;

// Runs `path` with `arguments` (argv[1...]; argv[0] is `path`), waits until it exits or
// `timeLimit` has passed, and returns what it printed.
TaskResult runTask(const std::string& path, const std::vector<std::string>& arguments,
                   std::chrono::milliseconds timeLimit);

}  // namespace t48::task
