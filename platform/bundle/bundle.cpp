#include "bundle.hpp"

#include <dlfcn.h>
#include <libintl.h>

#include <map>
#include <mutex>

#include "mo-catalogue.hpp"

namespace t48::bundle {
namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string stemOf(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".so") == 0) {
        name.resize(name.size() - 3);
    }
    return name;
}

// bindtextdomain is process-wide; rebinding only when the folder changes keeps
// gettext's loaded catalogue.
void bindStrings(const std::string& localeFolder) {
    static std::mutex lock;
    static std::string bound;
    std::lock_guard<std::mutex> guard(lock);
    if (bound != localeFolder) {
        bindtextdomain(kStringsDomain, localeFolder.c_str());
        bind_textdomain_codeset(kStringsDomain, "UTF-8");
        bound = localeFolder;
    }
}

// The base catalogue of the resource folder at `localeFolder`, read once.
const std::map<std::string, std::string>& baseCatalogue(const std::string& localeFolder) {
    static std::mutex lock;
    static std::map<std::string, std::map<std::string, std::string>> read;
    std::lock_guard<std::mutex> guard(lock);
    auto found = read.find(localeFolder);
    if (found == read.end()) {
        const std::string path =
            localeFolder + "/" + kBaseLanguage + "/LC_MESSAGES/" + kStringsDomain + ".mo";
        found = read.emplace(localeFolder, readMoCatalogue(path)).first;
    }
    return found->second;
}

}  // namespace

Bundle Bundle::forLibraryPath(const std::string& libraryPath) {
    return Bundle(folderOf(libraryPath) + "/" + stemOf(libraryPath) + ".resources");
}

std::optional<Bundle> Bundle::forCodeAddress(const void* codeAddress) {
    Dl_info info{};
    if (dladdr(codeAddress, &info) == 0 || info.dli_fname == nullptr) {
        return std::nullopt;
    }
    return forLibraryPath(info.dli_fname);
}

std::string Bundle::localizedString(const std::string& key) const {
    const std::string localeFolder = pathForResource("locale");
    bindStrings(localeFolder);
    const char* text = dgettext(kStringsDomain, key.c_str());
    if (text != key.c_str()) {
        return text;
    }
    // gettext answers the key itself (the same pointer) when it found no translation.
    const std::map<std::string, std::string>& base = baseCatalogue(localeFolder);
    const auto found = base.find(key);
    return found != base.end() ? found->second : key;
}

}  // namespace t48::bundle
