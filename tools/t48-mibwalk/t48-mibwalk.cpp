// t48-mibwalk [--model MODEL] [--user NAME] -- ARG...
// Runs the service's walk of the printer profile table by hand: sets the current,
// previous and spool profile paths from MODEL (default "T48") and NAME (default the
// login name of the real user id) as the service does for a walk request, runs the walk
// with ARG... as its argument vector (ARG 0 is the program name) and prints "iRet=N".
// Run as root for another user, it walks and merges as that user (act-as-user.hpp).
// Exit status 0 whenever the walk ran and its merge was saved; 1 when the merge could not
// be saved (the reason on standard error); 2 for a usage error or refused names.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "act-as-user.hpp"
#include "preferences-folder.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "snmp-walk.hpp"

namespace {

constexpr int kExitWalkRan = 0;
constexpr int kExitNotSaved = 1;
constexpr int kExitUsage = 2;
constexpr char kDefaultModel[] = "T48";

struct Options {
    std::string model = kDefaultModel;
    std::string user;
    bool userGiven = false;
    std::vector<const char*> walkArgs;
};

struct OptionHandler {
    const char* name;
    void (*apply)(Options&, const char*);
};
const OptionHandler kOptions[] = {
    {"--model", [](Options& o, const char* v) { o.model = v; }},
    {"--user",
     [](Options& o, const char* v) {
         o.user = v;
         o.userGiven = true;
     }},
};

int usage() {
    std::fprintf(stderr, "usage: t48-mibwalk [--model MODEL] [--user NAME] -- ARG...\n");
    return kExitUsage;
}

// Options up to "--", then at least one walk argument.
bool parse(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
        const OptionHandler* handler = nullptr;
        for (const OptionHandler& h : kOptions) {
            if (std::strcmp(argv[i], h.name) == 0) {
                handler = &h;
            }
        }
        if (handler == nullptr || i + 1 >= argc) {
            return false;
        }
        handler->apply(options, argv[i + 1]);
    }
    if (i >= argc) {
        return false;
    }
    for (++i; i < argc; ++i) {
        options.walkArgs.push_back(argv[i]);
    }
    return !options.walkArgs.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        return usage();
    }
    if (!options.userGiven) {
        options.user = t48::store::realUserLoginName();
    }
    if (t48::store::setServiceProfilePaths(options.user, options.model) != t48::store::kStoreOK) {
        std::fprintf(stderr,
                     "t48-mibwalk: cannot form the profile paths for user \"%s\", model \"%s\"\n",
                     options.user.c_str(), options.model.c_str());
        return kExitUsage;
    }
    // The folder is made as root (when it must be); the walk and the merge run as the user.
    std::string problem;
    if (!t48::store::createPreferencesFolder()) {
        problem = t48::store::lastFolderRefusal();
    }
    std::string refused;
    if (!t48::tools::actAsUser(options.user, &refused)) {
        std::fprintf(stderr, "t48-mibwalk: %s\n", refused.c_str());
        return kExitUsage;
    }
    const int result = t48::discovery::mib_walk(static_cast<int>(options.walkArgs.size()),
                                                options.walkArgs.data());
    std::printf("iRet=%d\n", result);
    if (t48::discovery::lastMergeStatus() == t48::store::kStoreOK) {
        return kExitWalkRan;
    }
    if (problem.empty() && t48::store::ZTPListIsAdminProfile() == 0) {
        problem = t48::store::lastFolderRefusal();
    }
    std::fprintf(stderr, "t48-mibwalk: the walk's profiles were not saved to %s: %s\n",
                 t48::store::ZT_PLIST_PROFILE_PATH.c_str(),
                 problem.empty() ? "it does not read as a profile list, or writing it failed"
                                 : problem.c_str());
    return kExitNotSaved;
}
