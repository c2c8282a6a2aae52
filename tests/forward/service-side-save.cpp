// service-side-save ROOT SEED [SLOTS]: the service's side of the store writes the lists of
// fillProfileLists(SEED, SLOTS) as root's T48 profile file under ROOT. Exit status 0 on success.

#include <stdlib.h>

#include <memory>
#include <string>

#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "test-profile-lists.hpp"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        return 2;
    }
    setenv("T48_ROOT", argv[1], 1);
    auto lists = std::make_unique<t48::store::ProfileList[]>(t48::store::kProfileClassCount);
    t48::testing::fillProfileLists(std::atoi(argv[2]), lists.get(),
                                   argc == 4 ? std::atoi(argv[3]) : t48::store::kProfileSlots);
    if (t48::store::setServiceProfilePaths("root", "T48") != t48::store::kStoreOK) {
        return 1;
    }
    return t48::store::ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]) ==
                   t48::store::kStoreOK
               ? 0
               : 1;
}
