// t48-mibwalk [--model MODEL] [--user NAME] -- ARG...
// Runs the service's walk of the printer profile table by hand: sets the current,
// previous and spool profile paths from MODEL (default "T48") and NAME (default the
// login name of the real user id) as the service does for a walk request, runs the walk
// with ARG... as its argument vector (ARG 0 is the program name) and prints "iRet=N".
// Exit status 0 whenever the walk ran; 2 for a usage error or refused names.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "snmp-walk.hpp"

namespace {

constexpr int kExitWalkRan = 0;
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
    const int result = t48::discovery::mib_walk(static_cast<int>(options.walkArgs.size()),
                                                options.walkArgs.data());
    std::printf("iRet=%d\n", result);
    return kExitWalkRan;
}
