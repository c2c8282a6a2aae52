#pragma once
// One print-dialog session of pdehost: the loaded plug-in, the callback object with
// the print settings, the session and the open PPD, and the one panel.

#include <memory>
#include <optional>
#include <string>

#include "pde-protocol.hpp"
#include "plugin-library.hpp"
#include "print-queue.hpp"

namespace t48::host {

struct HostOptions {
    std::string plugin;
    std::string ppd;
    std::optional<std::string> printerID;
    std::string deviceURI;
    std::optional<std::string> ticket;
    // The CUPS queue of the session's current printer: its name is the printer ID, its
    // device URI and PPD come from the server unless given above.
    std::optional<std::string> queue;
};

class HostSession : public pde::PDEHostCallback {
public:
    HostSession() = default;
    ~HostSession() override;
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Finds the queue, opens the PPD, reads the ticket (or, on a queue without one, the
    // user's saved options for it), loads the plug-in and gets its panel; false with
    // a one-line reason in `error` when one of them fails.
    bool open(const HostOptions& options, std::string& error);
    // initWithCallback: ... willShow, as a print dialog opens its panel.
    void begin();
    // saveValues, terminate and release, then the ticket file is written; false with a
    // reason when the ticket file cannot be written.
    bool end(std::string& error);

    pde::PDEPanelProtocol& panel() { return *panel_; }
    // The view the panel answered when the dialog opened it; a dialog keeps it.
    ui::View* view() const { return view_; }
    cf::PrintSettings* printSettings() override { return &settings_; }
    cf::PrintSession* printSession() override { return &session_; }
    ppd_file_s* ppdFile() override { return ppd_; }
    // The session's queue; null without --queue.
    PrintQueue* queue() { return queue_.get(); }

private:
    bool openPrinter(std::string& error);
    bool readTicket(bool& read, std::string& error);
    void startFromSavedOptions();

    HostOptions options_;
    std::unique_ptr<PrintQueue> queue_;
    cf::PrintSettings settings_;
    cf::PrintSession session_;
    ppd_file_s* ppd_ = nullptr;
    std::unique_ptr<PlugInLibrary> plugin_;
    std::unique_ptr<pde::PDEPanelProtocol> panel_;
    ui::View* view_ = nullptr;
};

// The print's last word to the panel (the Quick Color preset and the advanced pane to
// the ticket), then every top-level string of the print settings.
JobOptions printJobOptions(HostSession& session);

}  // namespace t48::host
