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

void ZTPListCleanProfile_Dict(ProfileList* list);
void ZTPListSalvage_Dict(ProfileList* list);
void ZTPListPaddingProfile_Dict(ProfileList* list);
void ZTPlistCheckWithInMenu_Dict(ProfileList* list);

void MyDebugMessage(const char* message, long value);

}  // namespace t48::store
