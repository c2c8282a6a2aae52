// The panel reads the user's profile file itself, through the store's readers.

#include <algorithm>

#include "added-profile.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"

namespace t48::pde {
namespace {

// The store's readers take their path from the backend the program links: the panel's
// backend names the user's own file, the service's one the file of its running walk
// request. Pointing the latter at the user's paths keeps the readers on the user's file
// whichever backend is linked; no file is touched here.
void pointStoreAtUserFiles() {
    store::ProfilePaths paths;
    if (store::panelProfilePaths(&paths) != store::kStoreOK) {
        paths = {};  // an unknown user has no file
    }
    store::ZT_PLIST_PROFILE_PATH = paths.current;
    store::ZT_PLIST_PROFILE_PREV_PATH = paths.previous;
}

void clear(store::ProfileList* lists, int count) {
    std::fill_n(reinterpret_cast<unsigned char*>(lists), sizeof(store::ProfileList) * count, 0);
}

}  // namespace

int readPanelProfileLists(store::ProfileList* lists) {
    if (lists == nullptr) {
        return store::kStoreFailed;
    }
    clear(lists, store::kProfileClassCount);
    pointStoreAtUserFiles();
    return store::ZTPListReadProfile_All(&lists[store::kClassRGB], &lists[store::kClassSIM],
                                         &lists[store::kClassDST]);
}

int readPanelProfileList(store::ProfileList* list, int classIndex) {
    if (list == nullptr) {
        return store::kStoreFailed;
    }
    clear(list, 1);
    pointStoreAtUserFiles();
    return store::ZTPListReadProfile_Dict(list, classIndex);
}

}  // namespace t48::pde
