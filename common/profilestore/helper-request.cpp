#include "helper-request.hpp"

#include <sys/stat.h>

#include "system-paths.hpp"
#include "task.hpp"

namespace t48::store::panel {

namespace {

std::chrono::milliseconds timeLimit = kHelperTimeLimit;

bool isFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::string helperPath() {
    return systemPath(SystemPath::kHelper);
}

HelperRun runHelper(const std::string& command, const std::vector<std::string>& arguments) {
    HelperRun run;
    const std::string path = helperPath();
    if (!isFile(path)) {
        return run;
    }
    std::vector<std::string> argv;
    argv.reserve(arguments.size() + 1);
    argv.push_back(command);
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    task::TaskResult result = task::runTask(path, argv, timeLimit);
    run.started = result.status != task::TaskStatus::kNotStarted;
    run.completed = result.status == task::TaskStatus::kExited && result.exitCode == 0;
    run.output = std::move(result.output);
    return run;
}

bool runSucceeded(const HelperRun& run, const std::string& marker) {
    return run.completed && !marker.empty() && run.output.find(marker) != std::string::npos;
}

std::string trueMarker(const std::string& command) {
    return command + "=TRUE";
}

void setHelperTimeLimit(std::chrono::milliseconds limit) {
    timeLimit = limit;
}

}  // namespace t48::store::panel
