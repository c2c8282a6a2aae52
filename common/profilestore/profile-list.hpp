#pragma once
// The in-memory profile list: three of these (RGB, SIM, DST) make one profile file.
// Fixed widths matter: names are compared byte for byte and cut at 31 bytes.

#include <cstddef>
#include <cstdint>

namespace t48::store {

inline constexpr int kProfileSlots = 500;
inline constexpr std::size_t kProfileTextSize = 32;  // terminator included

// Class index of a list inside the file, and its root key.
enum ProfileClassIndex : int { kClassRGB = 0, kClassSIM = 1, kClassDST = 2 };
inline constexpr int kProfileClassCount = 3;

// Entry state, kept in iInMenu. States 3, 4 and 6 are listed in the menus.
enum EntryState : int32_t {
    kStateEmpty = 0,
    kStatePrinterUnconfirmed = 1,
    kStatePrinterConfirmed = 2,
    kStatePrinterUnconfirmedListed = 3,
    kStatePrinterConfirmedListed = 4,
    kStateUserAdded = 5,
    kStateUserAddedListed = 6,
};

struct ProfileEntry {
    int32_t iIndexOnDevice;
    int32_t iInMenu;
    int32_t iProfileClass;
    char FileName[kProfileTextSize];
    char ProfileName[kProfileTextSize];
    int32_t iLocation;
    int32_t iDriver;  // "DriverAvail": in memory only, never stored in the file
};

struct ProfileList {
    ProfileEntry litem[kProfileSlots];
    int32_t iNum;
};

}  // namespace t48::store
