#pragma once
// The spool list: every value of the printer profile table received by a walk, filed
// into one ProfileEntry per table row, and the merge of that list into the user's
// current profile file.

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstddef>

#include "profile-list.hpp"

namespace t48::discovery {

// vSpoolPlist modes.
inline constexpr int kSpoolFileVariable = 0;
inline constexpr int kSpoolClear = 1;
inline constexpr int kSpoolUnusableVariable = 2;  // a value the row cannot be used with

// Table geometry: a value's name is the 15 sub-identifiers of the entry, the column,
// one uninterpreted sub-identifier and the 1-based row.
inline constexpr std::size_t kTableEntryLength = 15;
inline constexpr std::size_t kColumnPrefixLength = 16;
inline constexpr std::size_t kTableValueNameLength = 18;
inline constexpr std::size_t kRowSubId = 17;  // index of the row in the name

// The process-wide spool list: row r is entry r - 1; iNum counts the column-1 values
// received (never above kProfileSlots).
extern store::ProfileList PlistForSpool;

// Mode kSpoolClear clears the whole list. Mode kSpoolFileVariable files one variable:
// a name of exactly 18 sub-identifiers with a known column, the column's ASN type and a
// row of 1 to 500; anything else is ignored. Text has each ill-formed UTF-8 sequence
// replaced by U+FFFD and is cut to 31 bytes at a whole character, always terminated. An
// INTEGER outside the signed 32-bit range, a file name of 32 bytes or more, or any
// variable filed with mode kSpoolUnusableVariable, makes its row unusable (a column-1
// value is still counted).
void vSpoolPlist(const oid* name, std::size_t nameLength, const netsnmp_variable_list* variable,
                 int mode);
// False for a spool entry whose row received an unusable value: the merge skips it.
bool bSpoolRowUsable(int spoolIndex);

// True when `fileName` is a well-shaped profile file name (base of 1 to 27 bytes,
// extension after the first '.' of at most 3 bytes, every byte accepted by FileNameFilter).
bool bJudgement8point3Format(const char* fileName);
bool FileNameFilter(unsigned char byte);

// Merges the spool list into the current profile file and saves it; `failureFlag` is the
// walk result (0 success, anything else failure). Answers the save's store status;
// kStoreFailed without a save when the current file is there (not empty) but does not read.
int vRestructPlistSpool2Current(int failureFlag);
// The merge's steps between the read and the save: re-mark, drop ill-shaped entries,
// match the spool list in (new rows into the slots freed, first free first), clean,
// compact and salvage the three lists.
void mergeSpoolIntoLists(int failureFlag, store::ProfileList* rgb, store::ProfileList* sim,
                         store::ProfileList* dst);
// Re-marks the states of all 500 slots of one list before matching.
void vDeleteMIBprofilesTemporary(int failureFlag, store::ProfileList* list);
// Matches spool entry `spoolIndex` into `list` (the first slot with its FileName and
// Location, whatever its state) or puts it into the first free slot with state 2; a
// full list drops it.
void vRestructDetail(int spoolIndex, store::ProfileList* list);

}  // namespace t48::discovery
