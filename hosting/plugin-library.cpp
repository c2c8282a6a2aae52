#include "plugin-library.hpp"

#include <dlfcn.h>

namespace t48::hosting {

PlugInLibrary::~PlugInLibrary() {
    plugin_.reset();
    if (library_ != nullptr) {
        dlclose(library_);
    }
}

bool PlugInLibrary::open(const std::string& path, std::string& error) {
    path_ = path;
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* reason = dlerror();
        error = "cannot load plug-in: " + std::string(reason != nullptr ? reason : path);
        return false;
    }
    auto entry = reinterpret_cast<pde::PDEPlugInEntry>(dlsym(library_, pde::kPDEPlugInEntryPoint));
    if (entry == nullptr) {
        error = "cannot load plug-in " + path + ": no entry point " + pde::kPDEPlugInEntryPoint;
        return false;
    }
    plugin_.reset(entry());
    if (!plugin_) {
        error = "cannot load plug-in " + path + ": no plug-in object";
        return false;
    }
    plugin_->initWithBundle(path);
    return true;
}

std::unique_ptr<pde::PDEPanelProtocol> PlugInLibrary::makePanel(pde::PDEHostCallback* callback,
                                                                std::string& error) {
    std::optional<pde::PDEPanelList> panels =
        plugin_ ? plugin_->PDEPanelsForType(pde::kPDEPanelTypeID, callback) : std::nullopt;
    if (!panels || panels->empty() || !panels->front()) {
        error = "plug-in " + path_ + " has no panel of type " + pde::kPDEPanelTypeID;
        return nullptr;
    }
    return std::move(panels->front());
}

std::vector<std::string> PlugInLibrary::panelOptionKeys() {
    // The panel's values live in these settings only while it asks.
    struct NoPrinter : pde::PDEHostCallback {
        cf::PrintSettings settings;
        cf::PrintSession session;
        cf::PrintSettings* printSettings() override { return &settings; }
        cf::PrintSession* printSession() override { return &session; }
        ppd_file_s* ppdFile() override { return nullptr; }
        bool hasProfileStore() override { return false; }
    } noPrinter;
    std::string error;
    std::unique_ptr<pde::PDEPanelProtocol> panel = makePanel(&noPrinter, error);
    if (!panel) {
        return {};
    }
    std::vector<std::string> keys = panel->supportedPPDOptionKeys();
    panel->terminate();
    return keys;
}

}  // namespace t48::hosting
