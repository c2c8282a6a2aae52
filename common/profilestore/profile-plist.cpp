// The libplist adapter (libplist 2.2 C API). Integers are stored as the library's
// 64-bit integer nodes; negative values are written and read as signed.

#include "profile-plist.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "preferences-folder.hpp"
#include "profile-store-private.hpp"
#include "profile-store.hpp"
#include "utf8-text.hpp"

namespace t48::store {

namespace detail {

bool isDict(plist_t node) {
    return node != nullptr && plist_get_node_type(node) == PLIST_DICT;
}

plist_t dictValue(plist_t dict, const char* key) {
    return isDict(dict) ? plist_dict_get_item(dict, key) : nullptr;
}

plist_t classDictionary(plist_t root, int classIndex) {
    const char* key = profileClassKey(classIndex);
    if (key == nullptr) {
        return nullptr;
    }
    plist_t node = dictValue(root, key);
    return isDict(node) ? node : nullptr;
}

plist_t subDictionary(plist_t classDict, Field field) {
    plist_t node = dictValue(classDict, kFieldKeys[field]);
    return isDict(node) ? node : nullptr;
}

namespace {

plist_t newInteger(int32_t value) {
    return plist_new_uint(static_cast<uint64_t>(static_cast<int64_t>(value)));
}

// One sub-dictionary per field with all 500 slot keys in slot order (0 / ""), built
// once per process. libplist 2.2 looks every new key up in a list, so filling a copy of
// these costs a fraction of adding 9000 keys one by one on every save.
const plist_t* fieldTemplates() {
    static const struct Templates {
        plist_t sub[kFieldCount];
        Templates() {
            char key[48];
            for (int f = 0; f < kFieldCount; ++f) {
                bool text = kTextMembers[f] != nullptr;
                sub[f] = plist_new_dict();
                for (int slot = 0; slot < kProfileSlots; ++slot) {
                    std::snprintf(key, sizeof key, "%s%04d", kFieldKeys[f], slot);
                    plist_dict_set_item(sub[f], key, text ? plist_new_string("") : newInteger(0));
                }
            }
        }
        // Freed when the program ends or the plug-in holding the store is unloaded;
        // otherwise an unloaded plug-in leaves the templates behind unreachable.
        ~Templates() {
            for (plist_t dict : sub) {
                plist_free(dict);
            }
        }
    } templates;
    return templates.sub;
}

// A copy of the field's template holding the list's values. Text that is not storable
// is left out of the sub-dictionary.
plist_t buildSubDictionary(const ProfileList& list, Field field) {
    plist_t sub = plist_copy(fieldTemplates()[field]);
    std::vector<std::string> leftOut;
    char text[kProfileTextSize + 1];
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(sub, &iter);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(sub, iter, &key, &value);
        if (value == nullptr) {
            std::free(key);
            break;
        }
        const ProfileEntry& entry = list.litem[slotOfKey(key, field)];
        if (kIntegerMembers[field] != nullptr) {
            int32_t number = entry.*kIntegerMembers[field];
            plist_set_uint_val(value, static_cast<uint64_t>(static_cast<int64_t>(number)));
        } else {
            const char* fieldText = entry.*kTextMembers[field];
            std::size_t length = strnlen(fieldText, kProfileTextSize);
            std::memcpy(text, fieldText, length);
            text[length] = '\0';
            if (!text::isStorableText(std::string_view(text, length))) {
                leftOut.emplace_back(key);
            } else if (length > 0) {
                plist_set_string_val(value, text);
            }
        }
        std::free(key);
    }
    std::free(iter);
    for (const std::string& key : leftOut) {
        plist_dict_remove_item(sub, key.c_str());
    }
    return sub;
}

// Builds the class dictionary; `subs` receives the sub-dictionaries it owns.
plist_t buildClassDictionary(const ProfileList& list, plist_t subs[kFieldCount]) {
    plist_t classDict = plist_new_dict();
    plist_dict_set_item(classDict, cCountKey, newInteger(list.iNum));
    for (Field field : kWriteOrder) {
        subs[field] = buildSubDictionary(list, field);
        plist_dict_set_item(classDict, kFieldKeys[field], subs[field]);
    }
    return classDict;
}

// libplist 2.2 holds the same 64 bits for -1 and for 2^64 - 1 (and for any larger value,
// which its reader saturates); only the node itself knows whether a minus sign was read,
// and shows it when written out again.
bool isWrittenNegative(plist_t node) {
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    if (xml == nullptr) {
        return false;
    }
    bool negative = std::string_view(xml, length).find("<integer>-") != std::string_view::npos;
    plist_to_xml_free(xml);
    return negative;
}

}  // namespace

int parseProfileXml(std::string_view xml, PlistOwner* root) {
    // An editor may start the file with a UTF-8 byte-order mark, which libplist rejects.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (xml.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        xml.remove_prefix(kByteOrderMark.size());
    }
    if (xml.empty() || xml.size() > kMaxProfileFileSize) {
        return kStoreFailed;
    }
    plist_t node = nullptr;
    plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &node);
    root->reset(node);
    return isDict(node) ? kStoreOK : kStoreFailed;
}

bool readIntValue(plist_t node, int32_t* dest) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_UINT) {
        return false;
    }
    uint64_t raw = 0;
    plist_get_uint_val(node, &raw);
    auto value = static_cast<int64_t>(raw);
    if (value < 0 && !isWrittenNegative(node)) {
        return false;  // 2^63 and beyond, not a negative number
    }
    return storeInteger(value < 0, value < 0 ? 0 - raw : raw, dest);
}

bool readStringValue(plist_t node, char* dest) {
    if (node == nullptr || plist_get_node_type(node) != PLIST_STRING) {
        return false;
    }
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    return text != nullptr && storeText(std::string_view(text, length), dest);
}

}  // namespace detail

using namespace detail;

plist_t CreatePropsDictionary(int classIndex, const ProfileList* list, plist_t* classDict,
                              plist_t* indexOnDevice, plist_t* inMenu, plist_t* profileClass,
                              plist_t* location, plist_t* fileName, plist_t* profileName) {
    plist_t subs[kFieldCount];
    plist_t built = buildClassDictionary(*list, subs);
    plist_t wrapper = plist_new_dict();
    if (const char* key = profileClassKey(classIndex)) {
        plist_dict_set_item(wrapper, key, plist_copy(built));
    }
    plist_t* const outputs[kFieldCount] = {indexOnDevice, inMenu,      profileClass,
                                           fileName,      profileName, location};
    for (int f = 0; f < kFieldCount; ++f) {
        if (outputs[f] != nullptr) {
            *outputs[f] = subs[f];
        }
    }
    if (classDict != nullptr) {
        *classDict = built;
    } else {
        plist_free(built);
    }
    return wrapper;
}

void ReadDictionaryIntEntry(plist_t dict, const char* key, int32_t* dest) {
    readIntValue(dictValue(dict, key), dest);
}

void ReadDictionaryStringEntry(plist_t dict, const char* key, char* dest) {
    readStringValue(dictValue(dict, key), dest);
}

int ZTPListMappingGetMainDict_FromPlist(plist_t* rgb, plist_t* sim, plist_t* dst) {
    std::string xml;
    PlistOwner root;
    if (detail::readCurrentFile(&xml) != kStoreOK || parseProfileXml(xml, &root) != kStoreOK) {
        return kStoreFailed;
    }
    plist_t* const outputs[kProfileClassCount] = {rgb, sim, dst};
    for (int c = 0; c < kProfileClassCount; ++c) {
        if (classDictionary(root.get(), c) == nullptr) {
            return kStoreFailed;
        }
    }
    for (int c = 0; c < kProfileClassCount; ++c) {
        *outputs[c] = plist_copy(classDictionary(root.get(), c));
    }
    return kStoreOK;
}

int ZTPListMappingGetSubDict(plist_t classDict, plist_t* indexOnDevice, plist_t* inMenu,
                             plist_t* profileClass, plist_t* location, plist_t* fileName,
                             plist_t* profileName, int32_t* count) {
    plist_t* const outputs[kFieldCount] = {indexOnDevice, inMenu,      profileClass,
                                           fileName,      profileName, location};
    for (int f = 0; f < kFieldCount; ++f) {
        plist_t sub = subDictionary(classDict, static_cast<Field>(f));
        if (sub == nullptr) {
            return kStoreFailed;
        }
        *outputs[f] = sub;
    }
    readIntValue(dictValue(classDict, cCountKey), count);
    return kStoreOK;
}

void releasePropertyList(plist_t node) {
    if (node != nullptr) {
        plist_free(node);
    }
}

}  // namespace t48::store
