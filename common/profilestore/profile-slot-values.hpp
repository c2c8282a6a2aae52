#pragma once
// How a value stored in the profile file reaches a slot: the rules every reader of the
// file applies, whatever parses it, and the fields the writer writes.

#include <cstdint>
#include <string_view>

#include "profile-list.hpp"

namespace t48::store::detail {

// The six stored fields, in the order the readers check and read them.
enum Field : int {
    kFieldIndexOnDevice,
    kFieldInMenu,
    kFieldProfileClass,
    kFieldFileName,
    kFieldProfileName,
    kFieldLocation,
    kFieldCount
};
extern const char* const kFieldKeys[kFieldCount];

// The order in which a class dictionary's sub-dictionaries are written.
inline constexpr Field kWriteOrder[kFieldCount] = {kFieldIndexOnDevice, kFieldInMenu,
                                                   kFieldProfileClass,  kFieldLocation,
                                                   kFieldFileName,      kFieldProfileName};

// The entry member behind each field: an integer or a text field (the other is nullptr).
inline constexpr int32_t ProfileEntry::*kIntegerMembers[kFieldCount] = {
    &ProfileEntry::iIndexOnDevice,
    &ProfileEntry::iInMenu,
    &ProfileEntry::iProfileClass,
    nullptr,
    nullptr,
    &ProfileEntry::iLocation};
inline constexpr char (ProfileEntry::*kTextMembers[kFieldCount])[kProfileTextSize] = {
    nullptr, nullptr, nullptr, &ProfileEntry::FileName, &ProfileEntry::ProfileName, nullptr};

inline bool isTextField(Field field) {
    return kTextMembers[field] != nullptr;
}

// Slot number of a key "<field name>NNNN" of `field` (exactly four digits, below 500),
// else -1.
int slotOfKey(std::string_view key, Field field);

// Stores an integer given by sign and magnitude when it fits 32 bits signed; false (and
// `dest` left alone) otherwise.
bool storeInteger(bool negative, uint64_t magnitude, int32_t* dest);

// Stores text in a 32-byte field: its bytes up to the first NUL, when they are valid
// UTF-8, cut to at most 31 bytes of whole characters, the rest of the field zeroed.
// False (and `dest` left alone) for text that is not valid UTF-8.
bool storeText(std::string_view text, char* dest);

}  // namespace t48::store::detail
