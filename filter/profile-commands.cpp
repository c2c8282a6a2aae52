#include "profile-commands.hpp"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "added-profile-text.hpp"
#include "profile-command.hpp"
#include "profile-options.hpp"

namespace t48::filter {
namespace {

// A profile's FileName holds at most 31 bytes on the printer.
constexpr size_t kMaxFileName = 31;

// CUPS hands a true boolean over as "true" (bare option names become that); the ticket
// writes "True".
bool isTrue(const std::string& value) {
    return value == "true" || value == "True";
}

const std::string* find(const std::vector<JobOption>& options, const std::string& name) {
    for (const JobOption& option : options) {
        if (option.first == name) {
            return &option.second;
        }
    }
    return nullptr;
}

// The decoded path when it names a file in one of the printer's profile folders.
std::optional<std::string> storedProfilePath(const std::string& encoded) {
    const std::optional<std::string> path = pde::decodeAddedProfilePath(encoded);
    if (!path) {
        return std::nullopt;
    }
    for (const pde::ProfileLocation& where : pde::profileLocations()) {
        const std::string_view folder = where.folder;
        if (path->compare(0, folder.size(), folder) != 0) {
            continue;
        }
        const std::string_view file = std::string_view(*path).substr(folder.size());
        const bool plain = std::none_of(file.begin(), file.end(), [](char c) {
            const auto b = static_cast<unsigned char>(c);
            return b < 0x20 || b == 0x7F || c == '/';
        });
        if (!file.empty() && file.size() <= kMaxFileName && plain && file != "." && file != "..") {
            return path;
        }
    }
    return std::nullopt;
}

}  // namespace

bool selectsAddedProfile(const std::vector<JobOption>& options, const std::string& key,
                         const FirstChoices& firstChoices) {
    const std::string* custom = find(options, key + pde::kCustomSuffix);
    const auto firstChoice = firstChoices.find(key);
    const std::string* choice = find(options, key);
    return custom != nullptr && isTrue(*custom) && firstChoice != firstChoices.end() &&
           (choice == nullptr || strcasecmp(choice->c_str(), firstChoice->second.c_str()) == 0);
}

ProfileCommands profileCommands(const std::vector<JobOption>& options,
                                const FirstChoices& firstChoices) {
    ProfileCommands commands;
    for (const pde::ProfileOption& profileOption : pde::profileOptions()) {
        const std::string key = profileOption.keyword;
        if (!selectsAddedProfile(options, key, firstChoices)) {
            continue;
        }
        const std::string name = key + pde::kCustomSuffix;
        const std::string* encoded = find(options, key + pde::kCustomFilenameSuffix);
        const std::optional<std::string> path =
            encoded != nullptr ? storedProfilePath(*encoded) : std::nullopt;
        if (!path) {
            return {"", "the option " + name + " names no profile stored on the printer"};
        }
        commands.setup += "[{\n%%BeginFeature: *" + name + " True\n" +
                          pde::profileSelectCommand(key, *path) +
                          "\n%%EndFeature\n} stopped cleartomark\n";
    }
    return commands;
}

}  // namespace t48::filter
