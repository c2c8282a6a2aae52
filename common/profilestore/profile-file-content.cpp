#include "profile-file-content.hpp"

#include <cstring>

#include "profile-store.hpp"

namespace t48::store::detail {

void StagedClass::reset() {
    found = false;
    std::memset(hasField, 0, sizeof hasField);
    hasCount = false;
    std::memset(present, 0, sizeof present);
}

bool hasClasses(const ProfileFileContent& content, const int* classIndexes, int classCount) {
    for (int c = 0; c < classCount; ++c) {
        if (!content.classes[classIndexes[c]].found) {
            return false;
        }
    }
    for (int f = 0; f < kFieldCount; ++f) {
        for (int c = 0; c < classCount; ++c) {
            if (!content.classes[classIndexes[c]].hasField[f]) {
                return false;
            }
        }
    }
    return true;
}

void fillList(const StagedClass& staged, ProfileList* list) {
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        ProfileEntry& entry = list->litem[slot];
        const ProfileEntry& stored = staged.value[slot];
        for (int f = 0; f < kFieldCount; ++f) {
            if (!staged.has(slot, static_cast<Field>(f))) {
                continue;
            }
            if (isTextField(static_cast<Field>(f))) {
                std::memcpy(entry.*kTextMembers[f], stored.*kTextMembers[f], kProfileTextSize);
            } else {
                entry.*kIntegerMembers[f] = stored.*kIntegerMembers[f];
            }
        }
    }
    if (staged.hasCount) {
        list->iNum = staged.count;
    }
    ZTPlistCheckWithInMenu_Dict(list);
}

}  // namespace t48::store::detail
