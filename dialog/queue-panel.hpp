#pragma once
// The panel of one CUPS queue in the print dialog: the panel session over the queue and
// the dialog's print settings, and the widgets that present the panel. A queue selected
// in the dialog gets a panel of its own, so each keeps its own model dictionary in the
// shared settings.

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <vector>

#include "panel-session.hpp"
#include "presentation.hpp"

namespace t48::dialog {

class QueuePanel {
public:
    // Opens `queue` and its PPD. For a printer whose PPD has any of `panelKeys` (a T48),
    // drives a new panel as a dialog opens it (initWithCallback:, supportedPPDOptionKeys,
    // the view with its profile refresh handed to `refresh`, restore) and presents its
    // view; its mnemonics leave alone those of the dialog's own buttons. Null with a
    // one-line reason in `error`, or null with `error` empty for a printer whose PPD has
    // none of them: nothing of the panel runs for it.
    static std::unique_ptr<QueuePanel> open(hosting::PlugInLibrary& plugin,
                                            const std::string& queue, cf::PrintSettings& settings,
                                            GtkDialog* dialog,
                                            const std::vector<std::string>& panelKeys,
                                            pde::PDEProfileRefresh& refresh, std::string& error);
    // The widgets go (widget() must have left the dialog), then the panel is closed as a
    // closing dialog closes it: its values saved to the settings.
    ~QueuePanel();
    QueuePanel(const QueuePanel&) = delete;
    QueuePanel& operator=(const QueuePanel&) = delete;

    const std::string& queueName() const { return queueName_; }
    hosting::PanelSession& session() { return *session_; }
    // The panel's view as GTK widgets; null when the panel has no view.
    GtkWidget* widget() const { return widget_; }

private:
    QueuePanel(std::string queueName, GtkDialog* dialog)
        : queueName_(std::move(queueName)), dialog_(dialog) {}
    void present();
    // After each user's change: a window the panel now runs modally gets presented.
    void presentModalWindow();

    std::string queueName_;
    GtkDialog* dialog_;
    std::unique_ptr<hosting::PanelSession> session_;
    std::unique_ptr<gtkui::Presentation> presentation_;
    GtkWidget* widget_ = nullptr;
};

}  // namespace t48::dialog
