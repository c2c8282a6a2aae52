#pragma once
// Constants of the profile management window.

#include <cstdint>

#include "profile-list.hpp"

namespace t48::pde::window {

// Table column identifiers.
inline constexpr const char* kColumnIcon = "icon";
inline constexpr const char* kColumnInMenu = "inmenu";
inline constexpr const char* kColumnFileName = "filename";
inline constexpr const char* kColumnProfileName = "profilename";
inline constexpr const char* kColumnLocation = "location";

inline constexpr const char* kTitleKey = "ProfileTitle";
inline constexpr const char* kWaitingKey = "Reading the printer's profiles...";
inline constexpr const char* kChooseFileKey = "Choose a Profile File";
inline constexpr const char* kDiskKey = "Disk";
inline constexpr const char* kCardKey = "Card";

// Location codes of an entry, and the location popup's items for them.
inline constexpr int32_t kLocationDisk = 4;
inline constexpr int32_t kLocationCard = 5;
inline constexpr int kLocationItemDisk = 0;
inline constexpr int kLocationItemCard = 1;

// Limits of the two text fields.
inline constexpr int32_t kFileNameMaxLength = 31;
inline constexpr int32_t kFileNameMaxExtension = 3;
inline constexpr int32_t kProfileNameMaxLength = 30;

// Fields of an entry the window adds.
inline constexpr int32_t kAddedIndexOffset = 500;  // IndexOnDevice = slot + this
inline constexpr int32_t kAddedProfileClass = 2;
inline constexpr int32_t kAddedDriverAvail = 3;

// What a click on the "inmenu" box does to a state; states not listed stay.
struct StateToggle {
    int32_t from;
    int32_t to;
};
inline constexpr StateToggle kInMenuToggles[] = {
    {store::kStatePrinterUnconfirmed, store::kStatePrinterUnconfirmedListed},
    {store::kStatePrinterUnconfirmedListed, store::kStatePrinterUnconfirmed},
    {store::kStatePrinterConfirmed, store::kStatePrinterConfirmedListed},
    {store::kStatePrinterConfirmedListed, store::kStatePrinterConfirmed},
    {store::kStateUserAdded, store::kStateUserAddedListed},
    {store::kStateUserAddedListed, store::kStateUserAdded},
};

}  // namespace t48::pde::window
