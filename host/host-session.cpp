#include "host-session.hpp"

#include "job-options.hpp"
#include "pde-common.hpp"
#include "ppd-file.hpp"
#include "ticket-file.hpp"

namespace t48::host {

HostSession::~HostSession() {
    panel_.reset();
    // Values the plug-in put into the settings carry deleters in its code: they go
    // before the plug-in does.
    settings_ = cf::PrintSettings();
    plugin_.reset();
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
    return !options_.ticket || readTicketFile(*options_.ticket, settings_, read, error);
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

    plugin_ = std::make_unique<PlugInLibrary>();
    if (!plugin_->open(options.plugin, error)) {
        return false;
    }
    panel_ = plugin_->makePanel(this, error);
    return panel_ != nullptr;
}

void HostSession::begin() {
    panel_->supportedPPDOptionKeys();
    view_ = panel_->panelView();
    int32_t ignored = 0;
    panel_->restoreValuesAndReturnError(&ignored);
    panel_->willShow();
}

bool HostSession::end(std::string& error) {
    closePanel(*panel_);
    panel_.reset();
    return !options_.ticket || writeTicketFile(*options_.ticket, settings_, error);
}

JobOptions printJobOptions(HostSession& session) {
    session.panel().shouldPrint();
    return settingsJobOptions(*session.printSettings());
}

}  // namespace t48::host
