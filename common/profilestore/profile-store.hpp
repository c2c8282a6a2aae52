#pragma once
// The profile store: the flat set of operations on the per-user profile file and on
// ProfileList buffers. Readers and writers answer kStoreOK / kStoreFailed; the tests
// answer 1 (true) or 0 (false).
//
// Both programs build this module. Which side performs the operations that write,
// delete or test write access (the service on the files directly, the panel through
// the helper) is chosen by the program, not by the callers.

#include "profile-list.hpp"

namespace t48::store {

// Field names of the file's sub-dictionaries; slot keys are "%s%04d" of these.
inline constexpr char cIndexOnDeviceKey[32] = "IndexOnDevice";
inline constexpr char cInMenuKey[32] = "InMenu";
inline constexpr char cProfileClassKey[32] = "ProfileClass";
inline constexpr char cFileNameKey[32] = "FileName";
inline constexpr char cProfileNameKey[32] = "ProfileName";
inline constexpr char cLocationKey[32] = "Location";
inline constexpr char cPlistVersionKey[32] = "PlistVersion";
inline constexpr char cDriverAvailKey[32] = "DriverAvail";  // in memory only
inline constexpr char cCountKey[32] = "iNum";
inline constexpr int kPlistVersion = 1;

// Root key of each class index ("RGB", "SIM", "DST"); nullptr for another index.
const char* profileClassKey(int classIndex);

inline constexpr int kStoreOK = 0;
inline constexpr int kStoreFailed = -1;

// ZTPListRemove's choice of file.
inline constexpr int kRemovePrevious = 2;
inline constexpr int kRemoveCurrent = 3;

// ZTPListSwapProfile modes.
inline constexpr int kSwapRestorePrevious = 0;
inline constexpr int kSwapDeletePrevious = 1;
inline constexpr int kSwapBackupCurrent = 2;

int ZTPListReadProfile_All(ProfileList* rgb, ProfileList* sim, ProfileList* dst);
int ZTPListWriteProfile_All(ProfileList* rgb, ProfileList* sim, ProfileList* dst);
int ZTPListReadProfile_Dict(ProfileList* list, int classIndex);
int ZTPListWriteProfile_Dict(ProfileList* list, int classIndex, ProfileList* rgbOut,
                             ProfileList* simOut, ProfileList* dstOut);
int ZTPListIsAdminProfile();
int ZTPListExistProfile();
int ZTPListRemove(int which);
void ZTPListSwapProfile(int mode);
// True when there is no current file or it is empty: nothing a rebuilt file could lose.
bool currentFileHoldsNothing();

void ZTPListCleanProfile_Dict(ProfileList* list);
void ZTPListSalvage_Dict(ProfileList* list);
void ZTPListPaddingProfile_Dict(ProfileList* list);
void ZTPlistCheckWithInMenu_Dict(ProfileList* list);

void MyDebugMessage(const char* message, long value);

// Mapping for queues that are never walked ("pap://", "usb://"): confirmed entries the
// window does not show survive its save. Entries are the same when FileName (byte for
// byte) and Location are equal.

// Like ZTPListReadProfile_Dict, but skips state-2 slots and shows state 4 as 6. 0 / -1.
int ZTPListReadProfile_Dict_Pap(ProfileList* list, int classIndex);
// Maps the window's lists against the file and saves the result. 0 / -1 (-1 also when
// the write test fails).
int ZTPListWriteProfile_All_Pap(ProfileList* rgb, ProfileList* sim, ProfileList* dst,
                                ProfileList* rgbDeleted, ProfileList* simDeleted,
                                ProfileList* dstDeleted);
// Reads the file (a failed read counts as empty lists) and maps each class. Always 0.
int ZTPListMappingProfile_All_Pap(ProfileList* rgb, ProfileList* sim, ProfileList* dst,
                                  ProfileList* rgbOut, ProfileList* simOut, ProfileList* dstOut,
                                  ProfileList* rgbDeleted, ProfileList* simDeleted,
                                  ProfileList* dstDeleted);
// out = the file's state-2/4 entries that are neither in `window` nor in `deleted`, then
// the window's entries, at most 500. Returns the window list's count.
int ZTPListMapping_Pap(const ProfileList* window, const ProfileList* file, ProfileList* out,
                       const ProfileList* deleted);

}  // namespace t48::store
