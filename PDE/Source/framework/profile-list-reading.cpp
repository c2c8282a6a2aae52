// The panel reads the user's profile file itself, through the store's readers.

#include <algorithm>

#include "added-profile.hpp"
#include "profile-store.hpp"

namespace t48::pde {
namespace {

void clear(store::ProfileList* lists, int count) {
    std::fill_n(reinterpret_cast<unsigned char*>(lists), sizeof(store::ProfileList) * count, 0);
}

}  // namespace

int readPanelProfileLists(store::ProfileList* lists) {
    if (lists == nullptr) {
        return store::kStoreFailed;
    }
    clear(lists, store::kProfileClassCount);
    return store::ZTPListReadProfile_All(&lists[store::kClassRGB], &lists[store::kClassSIM],
                                         &lists[store::kClassDST]);
}

int readPanelProfileList(store::ProfileList* list, int classIndex) {
    if (list == nullptr) {
        return store::kStoreFailed;
    }
    clear(list, 1);
    return store::ZTPListReadProfile_Dict(list, classIndex);
}

}  // namespace t48::pde
