#include "profile-file-names.hpp"

#include <glib.h>

#include <array>

#include "system-paths.hpp"

namespace t48::xpc {
namespace {

struct LeafSuffix {
    std::string_view text;
    ProfileFileKind kind;
};
constexpr std::array<LeafSuffix, 3> kLeafSuffixes = {{
    {"-profile.plist", ProfileFileKind::kCurrent},
    {"-profile.prev.plist", ProfileFileKind::kPrevious},
    {"-profile.plist.dummy", ProfileFileKind::kSaveTemporary},
}};

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace

std::string preferencesFolderPath() {
    return systemPath(SystemPath::kPreferencesFolder);
}

bool isAcceptableUserName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool isAcceptableModelName(std::string_view name) {
    return isAcceptableUserName(name) && name.find('-') == std::string_view::npos;
}

std::string profileLeaf(std::string_view user, std::string_view model, ProfileFileKind kind) {
    for (const LeafSuffix& suffix : kLeafSuffixes) {
        if (suffix.kind == kind) {
            return std::string(user) + "-" + std::string(model) + std::string(suffix.text);
        }
    }
    return {};
}

std::optional<ProfileFileName> parseProfileLeaf(std::string_view leaf) {
    for (const LeafSuffix& suffix : kLeafSuffixes) {
        if (!endsWith(leaf, suffix.text)) {
            continue;
        }
        std::string_view stem = leaf.substr(0, leaf.size() - suffix.text.size());
        std::size_t dash = stem.rfind('-');
        if (dash == std::string_view::npos) {
            return std::nullopt;
        }
        std::string_view user = stem.substr(0, dash);
        std::string_view model = stem.substr(dash + 1);
        if (!isAcceptableUserName(user) || !isAcceptableModelName(model)) {
            return std::nullopt;
        }
        return ProfileFileName{std::string(leaf), std::string(user), std::string(model),
                               suffix.kind};
    }
    return std::nullopt;
}

std::optional<ProfileFileName> profileFileForPath(std::string_view path,
                                                  const RequestingUser& requester) {
    std::string folder = preferencesFolderPath() + "/";
    if (path.find('\0') != std::string_view::npos || path.size() <= folder.size() ||
        path.substr(0, folder.size()) != folder) {
        return std::nullopt;
    }
    std::string_view leaf = path.substr(folder.size());
    if (leaf.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    std::optional<ProfileFileName> file = parseProfileLeaf(leaf);
    if (!file || !requester.mayActFor(file->user)) {
        return std::nullopt;
    }
    return file;
}

std::optional<ProfileFileName> profileFileForURL(std::string_view url,
                                                 const RequestingUser& requester) {
    if (url.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::string text(url);
    gchar* host = nullptr;
    gchar* path = g_filename_from_uri(text.c_str(), &host, nullptr);
    bool localHost = host == nullptr || std::string_view(host) == "localhost";
    std::optional<ProfileFileName> file;
    if (path != nullptr && localHost) {
        file = profileFileForPath(path, requester);
    }
    g_free(path);
    g_free(host);
    return file;
}

}  // namespace t48::xpc
