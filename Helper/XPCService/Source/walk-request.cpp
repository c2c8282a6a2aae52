#include "walk-request.hpp"

#include <syslog.h>

#include <mutex>
#include <string>

#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "snmp-walk.hpp"

namespace t48::xpc {
namespace {

std::mutex gWalkMutex;

}  // namespace

int runWalkRequest(const WalkRequest& walk) {
    std::lock_guard lock(gWalkMutex);
    if (store::setServiceProfilePaths(walk.user, walk.model) != store::kStoreOK) {
        return kWalkRequestRefused;
    }
    // The walk takes NUL-terminated strings; the request's pieces are views into it.
    std::vector<std::string> arguments(walk.arguments.begin(), walk.arguments.end());
    std::vector<const char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    int result = discovery::mib_walk(static_cast<int>(arguments.size()), argv.data());
    syslog(LOG_ERR, "xpc - mibwalk_XPC - iRet=%d", result);
    return result;
}

}  // namespace t48::xpc
