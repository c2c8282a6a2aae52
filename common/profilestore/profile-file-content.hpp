#pragma once
// What a read of the profile file found, class by class, before any list is touched:
// the readers check the whole file first and only then copy values into the caller's
// lists, so a rejected file leaves every list as it was.

#include <cstdint>

#include "profile-list.hpp"
#include "profile-slot-values.hpp"

namespace t48::store::detail {

struct StagedClass {
    bool found;                  // the class key holds a dictionary
    bool hasField[kFieldCount];  // the class dictionary holds each sub-dictionary
    bool hasCount;               // "iNum" holds an integer that fits 32 bits
    int32_t count;
    // present[f][slot]: field f of the slot holds a usable value, kept in `value`. Values
    // of fields not present are undefined.
    bool present[kFieldCount][kProfileSlots];
    ProfileEntry value[kProfileSlots];

    bool has(int slot, Field field) const { return present[field][slot]; }
    void reset();
};

struct ProfileFileContent {
    StagedClass classes[kProfileClassCount];
};

// True when every listed class and all six of its sub-dictionaries were found.
bool hasClasses(const ProfileFileContent& content, const int* classIndexes, int classCount);

// Copies a class's usable values over `list` (fields without one are left alone), then
// "iNum" when usable, then repairs the count.
void fillList(const StagedClass& staged, ProfileList* list);

}  // namespace t48::store::detail
