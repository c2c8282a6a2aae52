#pragma once
// The plug-in's bundle: the resource folder beside the loaded library, and the
// localized strings in it (gettext catalogues whose message IDs are the English keys).
// A key the user's languages do not translate takes the text of the bundle's base
// language, English, whose catalogue holds only the keys that are not English words;
// any other key shows as itself.

#include <optional>
#include <string>

namespace t48::bundle {

class Bundle {
public:
    // The bundle of the library loaded from `libraryPath`: its resources are in the
    // folder "<library name without .so>.resources" beside it.
    static Bundle forLibraryPath(const std::string& libraryPath);
    // The bundle of the loaded library (or program) that holds `codeAddress`;
    // nothing when the address belongs to no loaded object.
    static std::optional<Bundle> forCodeAddress(const void* codeAddress);

    explicit Bundle(std::string resourcePath) : resourcePath_(std::move(resourcePath)) {}

    const std::string& resourcePath() const { return resourcePath_; }
    std::string pathForResource(const std::string& name) const {
        return resourcePath_ + "/" + name;
    }

    // The text of `key` in the user's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG as
    // gettext reads them); else in the base language; else `key` itself.
    std::string localizedString(const std::string& key) const;

private:
    std::string resourcePath_;
};

// The gettext domain of the panel's strings: "<domain>.mo" under "locale/<lang>/LC_MESSAGES".
inline constexpr const char* kStringsDomain = "colorpde";
// The language of the texts a key falls back to (macOS bundles' development region).
inline constexpr const char* kBaseLanguage = "en";

}  // namespace t48::bundle
