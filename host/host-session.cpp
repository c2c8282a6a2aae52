#include "host-session.hpp"

#include <dlfcn.h>

#include "ppd-file.hpp"
#include "property-list.hpp"

namespace t48::host {

HostSession::~HostSession() {
    panel_.reset();
    plugin_.reset();
    // Values the plug-in put into the settings carry deleters in its code: they go
    // before the plug-in does.
    settings_ = cf::PrintSettings();
    if (library_ != nullptr) {
        dlclose(library_);
    }
    pde::closePPDFile(ppd_);
}

bool HostSession::open(const HostOptions& options, std::string& error) {
    options_ = options;
    ppd_ = pde::openPPDFile(options.ppd, error);
    if (ppd_ == nullptr) {
        return false;
    }
    if (options.ticket) {
        cf::ValueRef stored;
        const int32_t status = cf::readPropertyListFile(*options.ticket, stored);
        if (status == cf::kPlistNoError) {
            if (!stored->is(cf::ValueType::Dictionary)) {
                error = "ticket " + *options.ticket + " is not a dictionary";
                return false;
            }
            settings_ = cf::PrintSettings(stored);
        } else if (status != cf::kPlistFileNotFound) {
            error = "cannot read ticket " + *options.ticket + " (status " + std::to_string(status) +
                    ")";
            return false;
        }
    }
    if (options.printerID) {
        session_.setCurrentPrinter(cf::Printer(*options.printerID, options.deviceURI));
    }

    library_ = dlopen(options.plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_ == nullptr) {
        const char* reason = dlerror();
        error = "cannot load plug-in: " + std::string(reason != nullptr ? reason : options.plugin);
        return false;
    }
    auto entry = reinterpret_cast<pde::PDEPlugInEntry>(dlsym(library_, pde::kPDEPlugInEntryPoint));
    if (entry == nullptr) {
        error = "cannot load plug-in " + options.plugin + ": no entry point " +
                pde::kPDEPlugInEntryPoint;
        return false;
    }
    plugin_.reset(entry());
    if (!plugin_) {
        error = "cannot load plug-in " + options.plugin + ": no plug-in object";
        return false;
    }
    plugin_->initWithBundle(options.plugin);
    std::optional<pde::PDEPanelList> panels = plugin_->PDEPanelsForType(pde::kPDEPanelTypeID, this);
    if (!panels || panels->empty() || !panels->front()) {
        error = "plug-in " + options.plugin + " has no panel of type " + pde::kPDEPanelTypeID;
        return false;
    }
    panel_ = std::move(panels->front());
    return true;
}

void HostSession::begin() {
    panel_->supportedPPDOptionKeys();
    view_ = panel_->panelView();
    int32_t ignored = 0;
    panel_->restoreValuesAndReturnError(&ignored);
    panel_->willShow();
}

bool HostSession::end(std::string& error) {
    // A dialog closed with a window still open closes the window with its Cancel.
    if (pde::PDEWindowProtocol* window = panel_->modalWindow()) {
        window->windowCancel();
    }
    int32_t ignored = 0;
    panel_->saveValuesAndReturnError(&ignored);
    panel_->terminate();
    panel_.reset();
    if (options_.ticket) {
        const int32_t status = cf::writePropertyListFile(*options_.ticket, *settings_.dictionary());
        if (status != cf::kPlistNoError) {
            error = "cannot write ticket " + *options_.ticket + " (status " +
                    std::to_string(status) + ")";
            return false;
        }
    }
    return true;
}

}  // namespace t48::host
