#include "host-session.hpp"

#include <dlfcn.h>

#include "job-options.hpp"
#include "pde-common.hpp"
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

bool HostSession::openPrinter(std::string& error) {
    std::optional<std::string> printerID = options_.printerID;
    std::string deviceURI = options_.deviceURI;
    if (options_.queue) {
        queue_ = PrintQueue::open(*options_.queue, error);
        if (!queue_) {
            return false;
        }
        printerID = printerID.value_or(queue_->name());
        if (deviceURI.empty()) {
            deviceURI = queue_->deviceURI();
        }
    }
    ppd_ = queue_ && options_.ppd.empty() ? queue_->openPPD(error)
                                          : pde::openPPDFile(options_.ppd, error);
    if (printerID) {
        session_.setCurrentPrinter(cf::Printer(*printerID, deviceURI));
    }
    return ppd_ != nullptr;
}

bool HostSession::readTicket(bool& read, std::string& error) {
    read = false;
    if (!options_.ticket) {
        return true;
    }
    cf::ValueRef stored;
    const int32_t status = cf::readPropertyListFile(*options_.ticket, stored);
    if (status == cf::kPlistFileNotFound) {
        return true;
    }
    if (status != cf::kPlistNoError) {
        error =
            "cannot read ticket " + *options_.ticket + " (status " + std::to_string(status) + ")";
        return false;
    }
    if (!stored->is(cf::ValueType::Dictionary)) {
        error = "ticket " + *options_.ticket + " is not a dictionary";
        return false;
    }
    settings_ = cf::PrintSettings(stored);
    read = true;
    return true;
}

// The queue's model dictionary gets the options the user saved for the queue, so the
// panel restores them as a ticket's values.
void HostSession::startFromSavedOptions() {
    const cf::ValueRef model = pde::PDECommon::commonGetModelDictionary(&settings_, &session_);
    if (!model) {
        return;
    }
    for (const auto& [key, value] : queue_->destinationOptions()) {
        if (isQueueJobOption(ppd_, key)) {
            model->set(key, cf::Value::string(value));
        }
    }
}

bool HostSession::open(const HostOptions& options, std::string& error) {
    options_ = options;
    bool ticketRead = false;
    if (!openPrinter(error) || !readTicket(ticketRead, error)) {
        return false;
    }
    if (queue_ && !ticketRead) {
        startFromSavedOptions();
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
