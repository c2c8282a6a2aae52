#pragma once
// The property-list side of the store: the one place that calls libplist. Everything
// else in the store handles `plist_t` only as an opaque pointer.

#include <plist/plist.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "profile-list.hpp"
#include "profile-slot-values.hpp"
#include "profile-xml-writer.hpp"  // serializeProfileLists, formerly built here

namespace t48::store {

// Builds the class dictionary of `list` (all 500 slots of the six fields and "iNum").
// Hands out the class dictionary (owned by the caller) and its six sub-dictionaries
// (owned by the class dictionary), and returns a one-key wrapper {class key: copy of the
// class dictionary}, owned by the caller, empty for a class index other than 0-2.
// Strings that are not storable UTF-8 are left out of their sub-dictionary.
plist_t CreatePropsDictionary(int classIndex, const ProfileList* list, plist_t* classDict,
                              plist_t* indexOnDevice, plist_t* inMenu, plist_t* profileClass,
                              plist_t* location, plist_t* fileName, plist_t* profileName);

// Reads `key` of `dict` into `dest` when it holds an integer that fits 32 bits signed;
// otherwise (missing, wrong type, out of range) `dest` is left alone.
void ReadDictionaryIntEntry(plist_t dict, const char* key, int32_t* dest);
// Reads `key` of `dict` into the 32-byte field `dest` when it holds a valid UTF-8
// string: at most 31 bytes, cut on a character boundary, the rest of the field zeroed.
// Otherwise `dest` is left alone.
void ReadDictionaryStringEntry(plist_t dict, const char* key, char* dest);

// Copies of the current file's three class dictionaries, owned by the caller (release
// with releasePropertyList). 0 / -1 (unreadable, not a property list, a class missing).
int ZTPListMappingGetMainDict_FromPlist(plist_t* rgb, plist_t* sim, plist_t* dst);
// The six sub-dictionaries of `classDict` (owned by it), checked in the order
// IndexOnDevice, InMenu, ProfileClass, FileName, ProfileName, Location; -1 at the first
// one missing. `count` is set only when "iNum" is present. 0 / -1.
int ZTPListMappingGetSubDict(plist_t classDict, plist_t* indexOnDevice, plist_t* inMenu,
                             plist_t* profileClass, plist_t* location, plist_t* fileName,
                             plist_t* profileName, int32_t* count);

void releasePropertyList(plist_t node);

namespace detail {

struct PlistDeleter {
    void operator()(void* node) const { releasePropertyList(node); }
};
using PlistOwner = std::unique_ptr<void, PlistDeleter>;

// Parses XML bytes with the property-list library (after a UTF-8 byte-order mark, when
// one leads); the root must be a dictionary. kStoreOK / kStoreFailed.
int parseProfileXml(std::string_view xml, PlistOwner* root);
bool isDict(plist_t node);
// The value of `key` in a dictionary, or nullptr.
plist_t dictValue(plist_t dict, const char* key);
// The class dictionary of `root` for a class index, or nullptr.
plist_t classDictionary(plist_t root, int classIndex);
// Sub-dictionary `field` of a class dictionary, or nullptr.
plist_t subDictionary(plist_t classDict, Field field);

// Slot readers; true when the value was of the right type and stored in `dest`.
bool readIntValue(plist_t node, int32_t* dest);
bool readStringValue(plist_t node, char* dest);

}  // namespace detail
}  // namespace t48::store
