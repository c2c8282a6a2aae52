#pragma once
// A program a test starts and stops by its own PID.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace t48::testing {

class ChildProcess {
public:
    // Starts `argv[0]` (a path) with `argv`; `extraEnvironment` holds "NAME=VALUE"
    // entries added to this process's environment. Output goes to `logPath` when given.
    ChildProcess(std::vector<std::string> argv, std::vector<std::string> extraEnvironment = {},
                 std::string logPath = {});
    ~ChildProcess();  // stop()
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // SIGTERM, then SIGKILL after `grace`; returns the wait status (-1 if never started).
    int stop(std::chrono::milliseconds grace = std::chrono::milliseconds(3000));
    // SIGKILL at once and reap.
    int kill();

private:
    pid_t pid_ = -1;
    int status_ = -1;
};

// Runs a program to its end and captures its standard output and exit status.
struct RunResult {
    int exitStatus = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};
RunResult runProgram(const std::vector<std::string>& argv,
                     const std::vector<std::string>& extraEnvironment = {},
                     const std::string& input = {});

// A fresh folder under /tmp, removed with its contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Paths of the tree under test, from the environment CTest sets.
std::string sourceDir();
std::string binaryDir();

}  // namespace t48::testing
