#include "libplist-profile-reader.hpp"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "profile-plist.hpp"
#include "profile-store.hpp"

namespace t48::store::fuzzing {

namespace {

using namespace detail;

constexpr int kAllClasses[kProfileClassCount] = {kClassRGB, kClassSIM, kClassDST};

// The value node of every slot of one class (nullptr where a key is missing).
struct ClassSlots {
    plist_t field[kFieldCount][kProfileSlots];
    plist_t count;
};

void indexSubDictionary(plist_t sub, Field field, plist_t* slots) {
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(sub, &iter);
    if (iter == nullptr) {
        return;
    }
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(sub, iter, &key, &value);
        if (value == nullptr) {
            std::free(key);
            break;
        }
        int slot = key != nullptr ? slotOfKey(key, field) : -1;
        if (slot >= 0 && slots[slot] == nullptr) {
            slots[slot] = value;
        }
        std::free(key);
    }
    std::free(iter);
}

void indexClass(plist_t root, int classIndex, ClassSlots* out) {
    std::memset(out, 0, sizeof *out);
    plist_t classDict = classDictionary(root, classIndex);
    for (int f = 0; f < kFieldCount; ++f) {
        plist_t sub = subDictionary(classDict, static_cast<Field>(f));
        if (sub != nullptr) {
            indexSubDictionary(sub, static_cast<Field>(f), out->field[f]);
        }
    }
    out->count = dictValue(classDict, cCountKey);
}

bool hasClasses(plist_t root) {
    for (int c : kAllClasses) {
        if (classDictionary(root, c) == nullptr) {
            return false;
        }
    }
    for (int f = 0; f < kFieldCount; ++f) {
        for (int c : kAllClasses) {
            if (subDictionary(classDictionary(root, c), static_cast<Field>(f)) == nullptr) {
                return false;
            }
        }
    }
    return true;
}

void fillList(const ClassSlots& slots, ProfileList* list) {
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        ProfileEntry& entry = list->litem[slot];
        readIntValue(slots.field[kFieldIndexOnDevice][slot], &entry.iIndexOnDevice);
        readIntValue(slots.field[kFieldInMenu][slot], &entry.iInMenu);
        readIntValue(slots.field[kFieldProfileClass][slot], &entry.iProfileClass);
        readStringValue(slots.field[kFieldFileName][slot], entry.FileName);
        readStringValue(slots.field[kFieldProfileName][slot], entry.ProfileName);
        readIntValue(slots.field[kFieldLocation][slot], &entry.iLocation);
    }
    readIntValue(slots.count, &list->iNum);
    ZTPlistCheckWithInMenu_Dict(list);
}

}  // namespace

int readAllWithLibplist(std::string_view xml, ProfileList* rgb, ProfileList* sim,
                        ProfileList* dst) {
    PlistOwner root;
    if (parseProfileXml(xml, &root) != kStoreOK || !hasClasses(root.get())) {
        return kStoreFailed;
    }
    ProfileList* const lists[kProfileClassCount] = {rgb, sim, dst};
    auto slots = std::make_unique<ClassSlots>();
    for (int c = 0; c < kProfileClassCount; ++c) {
        indexClass(root.get(), c, slots.get());
        fillList(*slots, lists[c]);
    }
    return kStoreOK;
}

}  // namespace t48::store::fuzzing
