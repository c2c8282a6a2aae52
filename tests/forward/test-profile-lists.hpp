#pragma once
// Three profile lists of `slots` used slots each (500: full lists) whose texts vary with
// `seed`.

#include <cstdio>
#include <cstring>

#include "profile-list.hpp"

namespace t48::testing {

inline void fillProfileLists(int seed, store::ProfileList* lists /* [3] */,
                             int slots = store::kProfileSlots) {
    std::memset(lists, 0, sizeof(store::ProfileList) * store::kProfileClassCount);
    for (int c = 0; c < store::kProfileClassCount; ++c) {
        store::ProfileList& list = lists[c];
        for (int i = 0; i < slots; ++i) {
            store::ProfileEntry& entry = list.litem[i];
            entry.iIndexOnDevice = i + 1;
            entry.iInMenu = 1 + (i + seed) % 6;
            entry.iProfileClass = c + 1;
            std::snprintf(entry.FileName, sizeof entry.FileName, "S%d-C%d-%03d.ICC", seed, c, i);
            std::snprintf(entry.ProfileName, sizeof entry.ProfileName, "Profile %d/%d \xc3\xa9 %d",
                          seed, c, i);
            entry.iLocation = i % 2;
        }
        list.iNum = slots;
    }
}

}  // namespace t48::testing
