#include "profile-entries.hpp"

#include <cstring>

#include "added-profile-text.hpp"
#include "profile-options.hpp"

namespace t48::pde {
namespace {

constexpr int32_t kListedStates[] = {store::kStatePrinterUnconfirmedListed,
                                     store::kStatePrinterConfirmedListed,
                                     store::kStateUserAddedListed};

// A popup's profileClass and the class index of the list it takes its profiles from.
struct ClassListIndex {
    int16_t profileClass;
    int classIndex;
};
constexpr ClassListIndex kClassListIndexes[] = {
    {kProfileClassRGB, store::kClassRGB},
    {kProfileClassSIM, store::kClassSIM},
    {kProfileClassDST, store::kClassDST},
};

}  // namespace

bool isListedProfileState(int32_t state) {
    for (int32_t listed : kListedStates) {
        if (state == listed) {
            return true;
        }
    }
    return false;
}

int profileListIndex(int16_t profileClass) {
    for (const ClassListIndex& row : kClassListIndexes) {
        if (row.profileClass == profileClass) {
            return row.classIndex;
        }
    }
    return -1;
}

std::string_view profileText(const char (&field)[store::kProfileTextSize]) {
    return {field, strnlen(field, store::kProfileTextSize)};
}

std::string addedProfilePath(const store::ProfileEntry& entry) {
    std::string path;
    if (const ProfileLocation* where = profileLocationFor(entry.iLocation)) {
        path = where->folder;
    }
    path += profileText(entry.FileName);
    return path;
}

}  // namespace t48::pde
