// Test-only program: saves (or a backup) of the crash tests.
//
//   profile-crash-driver save N     writes lists whose every entry names generation N
//   profile-crash-driver loop N     prints "ready", then saves N, N+1, ... until killed,
//                                   printing "saved K" after each save that succeeded
//   profile-crash-driver backup     copies the current file to the previous file
//
// Works on user "crash", model "T48", under $T48_ROOT. Exit status 0 when the store
// reports success, 1 otherwise.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "preferences-folder.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"

namespace {

using namespace t48::store;

// Unbuffered, so that what was printed is in the log when the process is killed.
void say(const char* line) {
    if (write(STDOUT_FILENO, line, std::strlen(line)) < 0) {
        std::_Exit(3);
    }
}

int save(long generation) {
    auto lists = std::make_unique<ProfileList[]>(kProfileClassCount);
    for (int c = 0; c < kProfileClassCount; ++c) {
        for (int slot = 0; slot < kProfileSlots; ++slot) {
            ProfileEntry& entry = lists[c].litem[slot];
            entry.iIndexOnDevice = static_cast<int32_t>(generation);
            entry.iInMenu = kStateUserAddedListed;
            entry.iLocation = 4;
            std::snprintf(entry.FileName, sizeof entry.FileName, "g%ld-%d", generation, slot);
            std::snprintf(entry.ProfileName, sizeof entry.ProfileName, "generation %ld",
                          generation);
        }
        lists[c].iNum = kProfileSlots;
    }
    return ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]);
}

int backup() {
    if (ZTPListIsAdminProfile() == 0) {
        return kStoreFailed;
    }
    PreferencesFolder folder("crash", FolderUse::kWrite);
    return folder.copy(leafOfPath(ZT_PLIST_PROFILE_PATH), leafOfPath(ZT_PLIST_PROFILE_PREV_PATH))
               ? kStoreOK
               : kStoreFailed;
}

[[noreturn]] void saveForever(long generation) {
    say("ready\n");
    for (;; ++generation) {
        if (save(generation) == kStoreOK) {
            char line[48];
            std::snprintf(line, sizeof line, "saved %ld\n", generation);
            say(line);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || setServiceProfilePaths("crash", "T48") != kStoreOK) {
        return 2;
    }
    std::string command = argv[1];
    if (command == "backup" && argc == 2) {
        return backup() == kStoreOK ? 0 : 1;
    }
    if (argc != 3) {
        return 2;
    }
    long generation = std::strtol(argv[2], nullptr, 10);
    if (command == "loop") {
        saveForever(generation);
    }
    if (command == "save") {
        return save(generation) == kStoreOK ? 0 : 1;
    }
    return 2;
}
