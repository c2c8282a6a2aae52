#pragma once
// The panel of one CUPS queue in the print dialog: the queue with its PPD, a panel
// object over the dialog's print settings, and the widgets that present it. A queue
// selected in the dialog gets a panel object of its own, so each keeps its own model
// dictionary in the shared settings.

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "pde-protocol.hpp"
#include "plugin-library.hpp"
#include "presentation.hpp"
#include "print-queue.hpp"

namespace t48::dialog {

class QueuePanel : public pde::PDEHostCallback {
public:
    // Opens `queue` and its PPD and drives the new panel as a dialog opens it
    // (initWithCallback:, supportedPPDOptionKeys, panelView, restore); null with a
    // one-line reason in `error`.
    static std::unique_ptr<QueuePanel> open(host::PlugInLibrary& plugin, const std::string& queue,
                                            cf::PrintSettings& settings, GtkWindow* dialog,
                                            std::string& error);
    // Closes an open profile window with its Cancel, saves the panel's values to the
    // settings and terminates the panel.
    ~QueuePanel() override;

    const std::string& queueName() const { return queue_->name(); }
    host::PrintQueue& queue() { return *queue_; }
    pde::PDEPanelProtocol& panel() { return *panel_; }
    // The panel's view as GTK widgets; null when the panel has no view.
    GtkWidget* widget() const { return widget_; }

    cf::PrintSettings* printSettings() override { return &settings_; }
    cf::PrintSession* printSession() override { return &session_; }
    ppd_file_s* ppdFile() override { return ppd_; }

private:
    QueuePanel(cf::PrintSettings& settings, GtkWindow* dialog)
        : settings_(settings), dialog_(dialog) {}
    void present();
    // After each user's change: a window the panel now runs modally gets presented.
    void presentModalWindow();

    cf::PrintSettings& settings_;
    cf::PrintSession session_;
    GtkWindow* dialog_;
    std::unique_ptr<host::PrintQueue> queue_;
    ppd_file_s* ppd_ = nullptr;
    std::unique_ptr<pde::PDEPanelProtocol> panel_;
    std::unique_ptr<gtkui::Presentation> presentation_;
    GtkWidget* widget_ = nullptr;
};

}  // namespace t48::dialog
