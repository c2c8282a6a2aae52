#include "panel-session.hpp"

#include <algorithm>

#include "ppd-file.hpp"

namespace t48::hosting {
namespace {

// The dictionary under `key` of `parent` (a dictionary), made when missing; null when
// the entry is of another type, which is not ours to replace.
cf::ValueRef dictionaryEntry(const cf::ValueRef& parent, const std::string& key) {
    if (!parent || !parent->is(cf::ValueType::Dictionary)) {
        return nullptr;
    }
    if (!parent->get(key)) {
        parent->set(key, cf::Value::dictionary());
    }
    cf::ValueRef entry = parent->get(key);
    return entry->is(cf::ValueType::Dictionary) ? entry : nullptr;
}

}  // namespace

std::unique_ptr<PanelSession> PanelSession::open(const PanelPrinter& printer,
                                                 cf::PrintSettings& settings, std::string& error) {
    std::unique_ptr<PanelSession> session(new PanelSession(settings));
    if (!session->openPrinter(printer, error)) {
        return nullptr;
    }
    return session;
}

PanelSession::~PanelSession() {
    close();
    ppd::closePPDFile(ppd_);
}

bool PanelSession::openPrinter(const PanelPrinter& printer, std::string& error) {
    printerID_ = printer.printerID;
    std::string deviceURI = printer.deviceURI;
    if (printer.queue) {
        queue_ = PrintQueue::open(*printer.queue, error);
        if (!queue_) {
            return false;
        }
        printerID_ = printerID_.value_or(queue_->name());
        if (deviceURI.empty()) {
            deviceURI = queue_->deviceURI();
        }
    }
    ppd_ = queue_ && printer.ppd.empty() ? queue_->openPPD(error)
                                         : ppd::openPPDFile(printer.ppd, error);
    if (printerID_) {
        session_.setCurrentPrinter(cf::Printer(*printerID_, deviceURI));
    }
    return ppd_ != nullptr;
}

void PanelSession::startFromOptions(const JobOptions& options) {
    if (!printerID_) {
        return;
    }
    if (!settings_.getValue(pde::kPDEProductKey)) {
        settings_.setValue(pde::kPDEProductKey, cf::Value::dictionary());
    }
    const cf::ValueRef model =
        dictionaryEntry(settings_.getValue(pde::kPDEProductKey), *printerID_);
    if (!model) {
        return;
    }
    for (const auto& [key, value] : options) {
        if (isQueueJobOption(ppd_, key)) {
            model->set(key, cf::Value::string(value));
        }
    }
}

bool PanelSession::makePanel(PlugInLibrary& plugin, std::string& error) {
    panel_ = plugin.makePanel(this, error);
    return panel_ != nullptr;
}

void PanelSession::begin() {
    panel_->supportedPPDOptionKeys();
    view_ = panel_->panelView();
    restore();
}

void PanelSession::beginWithoutView() {
    panel_->supportedPPDOptionKeys();
    restore();
}

void PanelSession::beginLeavingRefresh(pde::PDEProfileRefresh& refresh) {
    panel_->supportedPPDOptionKeys();
    view_ = panel_->panelViewLeavingRefresh(refresh);
    restore();
}

void PanelSession::restore() {
    int32_t ignored = 0;
    panel_->restoreValuesAndReturnError(&ignored);
}

bool PanelSession::ppdHasAnyOption(const std::vector<std::string>& keys) const {
    return std::any_of(keys.begin(), keys.end(),
                       [this](const std::string& key) { return ppd::ppdHasOption(ppd_, key); });
}

JobOptions PanelSession::lastWordOptions() {
    panel_->shouldPrint();
    return settingsJobOptions(settings_);
}

JobOptions PanelSession::printJobOptions() {
    int32_t ignored = 0;
    panel_->saveValuesAndReturnError(&ignored);
    return withColorModelAlike(ppd_, queueJobOptions(ppd_, lastWordOptions()));
}

void PanelSession::close() {
    if (!panel_) {
        return;
    }
    if (pde::PDEWindowProtocol* window = panel_->modalWindow()) {
        window->windowCancel();
    }
    int32_t ignored = 0;
    panel_->saveValuesAndReturnError(&ignored);
    panel_->terminate();
    panel_.reset();
    view_ = nullptr;
}

}  // namespace t48::hosting
