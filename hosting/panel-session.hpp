#pragma once
// One panel as a print dialog holds it for the printer it shows: the printer (a CUPS
// queue, a PPD file, or both), the print session with that printer current, and the
// plug-in's panel over the host's print settings, driven through the plug-in's contract
// as a dialog drives it: open, restore, show, save and shouldPrint into job options,
// close.

#include <memory>
#include <optional>
#include <string>

#include "job-options.hpp"
#include "pde-protocol.hpp"
#include "plugin-library.hpp"
#include "print-queue.hpp"

namespace t48::hosting {

// Where a panel's printer comes from. With a queue, the printer ID is the queue's name
// and the device URI and the PPD come from the print server; what is given here
// replaces them. Without a queue, the PPD file is the printer's.
struct PanelPrinter {
    std::optional<std::string> queue;
    std::string ppd;
    std::optional<std::string> printerID;
    std::string deviceURI;
};

class PanelSession : public pde::PDEHostCallback {
public:
    // Opens the printer (the queue on the server, the PPD) for a panel over `settings`,
    // which the host keeps beyond the session; null with a one-line reason in `error`.
    static std::unique_ptr<PanelSession> open(const PanelPrinter& printer,
                                              cf::PrintSettings& settings, std::string& error);
    // Closes the panel (close) and the PPD.
    ~PanelSession() override;
    PanelSession(const PanelSession&) = delete;
    PanelSession& operator=(const PanelSession&) = delete;

    // Puts the `options` the PPD takes into the printer's model dictionary, where the
    // panel restores them from as a ticket's values: a queue's saved options, a job's.
    // Nothing without a printer ID: the panel keeps its values per printer.
    void startFromOptions(const JobOptions& options);
    // Tells the panel made next that this host keeps no profiles: one that prints for no
    // user (a CUPS filter).
    void withoutProfileStore() { profileStore_ = false; }
    // Gets the panel of `plugin` over this session (initWithCallback:); false with a
    // reason in `error`. The plug-in stays loaded while the session lasts.
    bool makePanel(PlugInLibrary& plugin, std::string& error);

    // A dialog's opening of its panel: the PPD keywords it takes, its view (whose
    // profile refresh may run the helper), then its values restored from the settings.
    void begin();
    // The same for a host that shows no view: no view is asked for, no profile refresh.
    void beginWithoutView();
    // The same for a dialog that must not wait for the printer: the view's profile
    // refresh is handed to the caller in `refresh`, not run.
    void beginLeavingRefresh(pde::PDEProfileRefresh& refresh);

    // True when the printer's PPD has any of `keys` (the options a panel binds).
    bool ppdHasAnyOption(const std::vector<std::string>& keys) const;

    // The panel's last word before printing (shouldPrint: the Quick Color preset), then
    // every top-level string of the settings.
    JobOptions lastWordOptions();
    // What a dialog's Print gives the queue: the panel saved, its last word, then the
    // job options the PPD takes.
    JobOptions printJobOptions();

    // Closes the panel as a closing dialog does: an open window ends with its Cancel, the
    // panel saves its values, is terminated and released. Nothing once it is closed.
    void close();

    pde::PDEPanelProtocol& panel() { return *panel_; }
    // The view the panel answered when it was opened; null without one.
    ui::View* view() const { return view_; }
    // The printer's queue; null for a PPD file alone.
    PrintQueue* queue() const { return queue_.get(); }

    cf::PrintSettings* printSettings() override { return &settings_; }
    cf::PrintSession* printSession() override { return &session_; }
    ppd_file_s* ppdFile() override { return ppd_; }
    bool hasProfileStore() override { return profileStore_; }

private:
    explicit PanelSession(cf::PrintSettings& settings) : settings_(settings) {}
    bool openPrinter(const PanelPrinter& printer, std::string& error);
    void restore();

    cf::PrintSettings& settings_;
    cf::PrintSession session_;
    std::optional<std::string> printerID_;
    std::unique_ptr<PrintQueue> queue_;
    ppd_file_s* ppd_ = nullptr;
    std::unique_ptr<pde::PDEPanelProtocol> panel_;
    ui::View* view_ = nullptr;
    bool profileStore_ = true;
};

}  // namespace t48::hosting
