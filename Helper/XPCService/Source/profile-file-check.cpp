#include "profile-file-check.hpp"

#include <plist/plist.h>

#include <array>
#include <limits>

namespace t48::xpc {
namespace {

constexpr std::array<const char*, 3> kClassKeys = {"RGB", "SIM", "DST"};
constexpr std::array<const char*, 6> kFieldKeys = {"IndexOnDevice", "InMenu",      "ProfileClass",
                                                   "FileName",      "ProfileName", "Location"};

bool isDictionary(plist_t node) {
    return node != nullptr && plist_get_node_type(node) == PLIST_DICT;
}

}  // namespace

bool isProfileFileText(std::string_view text) {
    if (text.empty() || text.size() > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    plist_t root = nullptr;
    plist_from_xml(text.data(), static_cast<uint32_t>(text.size()), &root);
    bool complete = isDictionary(root);
    for (const char* classKey : kClassKeys) {
        plist_t classDict = complete ? plist_dict_get_item(root, classKey) : nullptr;
        complete = isDictionary(classDict);
        for (const char* fieldKey : kFieldKeys) {
            complete = complete && isDictionary(plist_dict_get_item(classDict, fieldKey));
        }
    }
    if (root != nullptr) {
        plist_free(root);
    }
    return complete;
}

}  // namespace t48::xpc
