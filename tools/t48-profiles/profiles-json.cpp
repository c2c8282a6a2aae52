#include "profiles-json.hpp"

#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <string_view>

#include "profile-store.hpp"
#include "utf8-text.hpp"

namespace t48::tools {

namespace {

using json = nlohmann::ordered_json;
using store::ProfileEntry;
using store::ProfileList;

struct IntegerField {
    const char* key;
    int32_t ProfileEntry::*member;
};
struct TextField {
    const char* key;
    char (ProfileEntry::*member)[store::kProfileTextSize];
};

constexpr IntegerField kIntegerFields[] = {
    {store::cIndexOnDeviceKey, &ProfileEntry::iIndexOnDevice},
    {store::cInMenuKey, &ProfileEntry::iInMenu},
    {store::cProfileClassKey, &ProfileEntry::iProfileClass},
    {store::cLocationKey, &ProfileEntry::iLocation},
};
constexpr TextField kTextFields[] = {
    {store::cFileNameKey, &ProfileEntry::FileName},
    {store::cProfileNameKey, &ProfileEntry::ProfileName},
};
constexpr std::size_t kEntryKeyCount = std::size(kIntegerFields) + std::size(kTextFields);

json entryToJson(const ProfileEntry& entry) {
    // Key order as the support people read it.
    json out = json::object();
    out[store::cIndexOnDeviceKey] = entry.iIndexOnDevice;
    out[store::cInMenuKey] = entry.iInMenu;
    out[store::cProfileClassKey] = entry.iProfileClass;
    out[store::cFileNameKey] = std::string(entry.FileName, strnlen(entry.FileName, 32));
    out[store::cProfileNameKey] = std::string(entry.ProfileName, strnlen(entry.ProfileName, 32));
    out[store::cLocationKey] = entry.iLocation;
    return out;
}

std::string entryFromJson(const json& in, const std::string& where, ProfileEntry* entry) {
    if (!in.is_object()) {
        return where + ": not an object";
    }
    for (const auto& field : kIntegerFields) {
        auto found = in.find(field.key);
        if (found == in.end()) {
            return where + ": missing \"" + field.key + "\"";
        }
        if (!found->is_number_integer() ||
            found->get<int64_t>() < std::numeric_limits<int32_t>::min() ||
            found->get<int64_t>() > std::numeric_limits<int32_t>::max() ||
            (found->is_number_unsigned() &&
             found->get<uint64_t>() > uint64_t{std::numeric_limits<int32_t>::max()})) {
            return where + "." + field.key + ": not a 32-bit integer";
        }
        entry->*field.member = found->get<int32_t>();
    }
    for (const auto& field : kTextFields) {
        auto found = in.find(field.key);
        if (found == in.end()) {
            return where + ": missing \"" + field.key + "\"";
        }
        if (!found->is_string()) {
            return where + "." + field.key + ": not a string";
        }
        const auto& text = found->get_ref<const std::string&>();
        if (text.size() >= store::kProfileTextSize) {
            return where + "." + field.key + ": longer than 31 bytes";
        }
        if (!t48::text::isStorableText(text)) {
            return where + "." + field.key +
                   ": holds a control character or another character XML 1.0 forbids "
                   "(such as U+FFFE or U+FFFF)";
        }
        std::memcpy(entry->*field.member, text.data(), text.size());
    }
    if (in.size() != kEntryKeyCount) {
        return where + ": unknown key";
    }
    if (entry->iInMenu < store::kStatePrinterUnconfirmed ||
        entry->iInMenu > store::kStateUserAddedListed) {
        return where + ".InMenu: an entry's state must be 1 to 6";
    }
    return {};
}

std::string listFromJson(const json& in, const char* key, ProfileList* list) {
    if (!in.is_object()) {
        return std::string(key) + ": not an object";
    }
    auto entries = in.find("entries");
    if (entries == in.end() || !entries->is_array()) {
        return std::string(key) + ".entries: missing or not an array";
    }
    if (entries->size() > static_cast<std::size_t>(store::kProfileSlots)) {
        return std::string(key) + ".entries: more than 500 entries";
    }
    auto count = in.find("count");
    if (count == in.end() || !count->is_number_integer() ||
        count->get<int64_t>() != static_cast<int64_t>(entries->size())) {
        return std::string(key) + ".count: missing or not the number of entries";
    }
    if (in.size() != 2) {
        return std::string(key) + ": unknown key";
    }
    for (std::size_t i = 0; i < entries->size(); ++i) {
        std::string where = std::string(key) + ".entries[" + std::to_string(i) + "]";
        std::string problem = entryFromJson((*entries)[i], where, &list->litem[i]);
        if (!problem.empty()) {
            return problem;
        }
    }
    list->iNum = static_cast<int32_t>(entries->size());
    return {};
}

}  // namespace

std::string listsToJson(const ProfileList lists[store::kProfileClassCount]) {
    json out = json::object();
    for (int c = 0; c < store::kProfileClassCount; ++c) {
        json entries = json::array();
        int used = lists[c].iNum < 0 ? 0 : std::min(lists[c].iNum, store::kProfileSlots);
        for (int slot = 0; slot < used; ++slot) {
            entries.push_back(entryToJson(lists[c].litem[slot]));
        }
        out[store::profileClassKey(c)] = {{"count", lists[c].iNum}, {"entries", entries}};
    }
    return out.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::string listsFromJson(const std::string& text, ProfileList lists[store::kProfileClassCount]) {
    json in = json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (in.is_discarded()) {
        return "not JSON";
    }
    if (!in.is_object()) {
        return "not a JSON object";
    }
    for (int c = 0; c < store::kProfileClassCount; ++c) {
        const char* key = store::profileClassKey(c);
        auto found = in.find(key);
        if (found == in.end()) {
            return std::string("missing \"") + key + "\"";
        }
        std::string problem = listFromJson(*found, key, &lists[c]);
        if (!problem.empty()) {
            return problem;
        }
    }
    if (in.size() != static_cast<std::size_t>(store::kProfileClassCount)) {
        return "unknown key at the top level";
    }
    return {};
}

}  // namespace t48::tools
