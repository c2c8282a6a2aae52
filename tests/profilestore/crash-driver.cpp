// Test-only program: one save (or backup) of generation N of the crash tests, then exit.
//
//   profile-crash-driver save N     writes lists whose every entry names generation N
//   profile-crash-driver backup     copies the current file to the previous file
//
// Works on user "crash", model "T48", under $T48_ROOT. Exit status 0 when the store
// reports success, 1 otherwise.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "profile-files.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"

int main(int argc, char** argv) {
    using namespace t48::store;
    if (argc < 2 || setServiceProfilePaths("crash", "T48") != kStoreOK) {
        return 2;
    }
    if (std::strcmp(argv[1], "backup") == 0) {
        if (ZTPListIsAdminProfile() == 0) {
            return 1;
        }
        return copyFileAtomically(ZT_PLIST_PROFILE_PATH, ZT_PLIST_PROFILE_PREV_PATH) == kStoreOK
                   ? 0
                   : 1;
    }
    if (std::strcmp(argv[1], "save") != 0 || argc != 3) {
        return 2;
    }
    long generation = std::strtol(argv[2], nullptr, 10);
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
    return ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) == kStoreOK ? 0 : 1;
}
