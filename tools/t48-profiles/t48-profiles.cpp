// t48-profiles: shows or replaces a user's profile lists, for the people who support
// the driver.
//
//   t48-profiles [--user NAME] show
//   t48-profiles [--user NAME] import FILE
//
// Works on the user's current profile file of model "T48" under the filesystem root. Run
// as root for another user, it reads and writes that file as the user (act-as-user.hpp).

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "act-as-user.hpp"
#include "preferences-folder.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "profiles-json.hpp"

namespace {

using t48::store::ProfileList;

inline constexpr int kExitOK = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

void complain(const std::string& line) {
    std::cerr << "t48-profiles: " << line << "\n";
}

using Lists = std::unique_ptr<ProfileList[]>;
Lists clearedLists() {
    return std::make_unique<ProfileList[]>(t48::store::kProfileClassCount);
}

// The user the file belongs to: root gives up its identity for theirs here.
bool becomeFileUser() {
    std::string problem;
    if (!t48::tools::actAsUser(t48::store::serviceProfileUser(), &problem)) {
        complain(problem);
        return false;
    }
    return true;
}

int show(int argc, char** /*argv*/) {
    if (argc != 0) {
        return kExitUsage;
    }
    if (!becomeFileUser()) {
        return kExitFailed;
    }
    Lists lists = clearedLists();
    if (t48::store::ZTPListReadProfile_All(&lists[0], &lists[1], &lists[2]) !=
        t48::store::kStoreOK) {
        complain("cannot read " + t48::store::ZT_PLIST_PROFILE_PATH +
                 ": missing, unreadable or not a profile list");
        return kExitFailed;
    }
    std::cout << t48::tools::listsToJson(lists.get());
    return kExitOK;
}

int import(int argc, char** argv) {
    if (argc != 1) {
        return kExitUsage;
    }
    std::ifstream file(argv[0], std::ios::binary);
    std::stringstream text;
    if (!file || !(text << file.rdbuf())) {
        complain(std::string("cannot read ") + argv[0]);
        return kExitFailed;
    }
    Lists lists = clearedLists();
    std::string problem = t48::tools::listsFromJson(text.str(), lists.get());
    if (!problem.empty()) {
        complain(std::string(argv[0]) + ": " + problem);
        return kExitFailed;
    }
    // The file given is read as the caller; the profile file is written as its user.
    if (!t48::store::createPreferencesFolder()) {
        complain(t48::store::lastFolderRefusal());
        return kExitFailed;
    }
    if (!becomeFileUser()) {
        return kExitFailed;
    }
    const std::string& path = t48::store::ZT_PLIST_PROFILE_PATH;
    if (t48::store::ZTPListIsAdminProfile() == 0) {
        complain("no permission to write " + path + ": " + t48::store::lastFolderRefusal());
        return kExitFailed;
    }
    if (t48::store::ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) !=
        t48::store::kStoreOK) {
        complain("cannot write " + path + "; the file is unchanged");
        return kExitFailed;
    }
    return kExitOK;
}

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);  // arguments after the command word
};
constexpr Command kCommands[] = {
    {"show", show},
    {"import", import},
};

int usage() {
    std::cerr << "usage: t48-profiles [--user NAME] show\n"
                 "       t48-profiles [--user NAME] import FILE\n";
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    int next = 1;
    std::string user;
    if (next + 1 < argc && std::strcmp(argv[next], "--user") == 0) {
        user = argv[next + 1];
        next += 2;
    } else {
        user = t48::store::realUserLoginName();
    }
    if (next >= argc) {
        return usage();
    }
    if (t48::store::setServiceProfilePaths(user, t48::store::kPanelModel) != t48::store::kStoreOK) {
        complain("not a usable user name: \"" + user + "\"");
        return kExitFailed;
    }
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[next], command.name) == 0) {
            int status = command.run(argc - next - 1, argv + next + 1);
            return status == kExitUsage ? usage() : status;
        }
    }
    return usage();
}
