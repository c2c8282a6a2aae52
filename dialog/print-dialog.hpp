#pragma once
// GTK's print dialog on the CUPS queues of the server, with the panel as its custom tab.
// The tab follows the printer selected in the dialog, from the dialog's first frame on;
// a printer that is no T48 gets none. Each T48 queue's profile refresh runs beside the
// dialog, which never waits for a printer. Print submits the file with the dialog's
// settings and the panel's job options and keeps the print settings for the user's next
// dialog.

#include <gtk/gtkunixprint.h>

#include <memory>
#include <string>
#include <vector>

#include "plugin-library.hpp"
#include "print-settings.hpp"
#include "profile-refreshes.hpp"
#include "queue-panel.hpp"
#include "signal-connection.hpp"

namespace t48::dialog {

// Exit statuses of t48-print-dialog.
inline constexpr int kDialogPrinted = 0;
inline constexpr int kDialogNotPrinted = 1;
inline constexpr int kDialogUsage = 2;

class PrintDialog {
public:
    // `file`: what Print submits ("" for a test page of ours). `configFolder`: where
    // the print settings are kept between dialogs.
    PrintDialog(hosting::PlugInLibrary& plugin, std::string file, std::string configFolder);
    // Ends in one order: the dialog stops reaching this object, the panel's widgets
    // leave the tab, the panel is closed, the dialog is destroyed, then the profile
    // refreshes still running are waited for.
    ~PrintDialog();
    PrintDialog(const PrintDialog&) = delete;
    PrintDialog& operator=(const PrintDialog&) = delete;

    // Shows the dialog until the user prints or cancels; kDialogPrinted or
    // kDialogNotPrinted (with a line on standard error when the job failed).
    int run();

private:
    void firstFrameShown();
    void followSelectedPrinter();
    void profileRefreshEnded();
    // The current panel's widgets leave the tab, then the panel is closed: its values
    // are in the settings before another panel restores from them.
    void closePanel();
    void addTab(const std::string& label);
    void tabShown();
    bool print(std::string& error);
    bool submit(GtkPrintSettings* settings, std::string& error);
    void keepSettings(GtkPrintSettings* settings);

    hosting::PlugInLibrary& plugin_;
    // The options the panel binds: a printer whose PPD has none gets no panel.
    std::vector<std::string> panelKeys_;
    std::string file_;
    std::string ticketPath_;
    std::string dialogSettingsPath_;
    cf::PrintSettings settings_;
    GtkWidget* dialog_ = nullptr;
    GtkWidget* tab_ = nullptr;  // the dialog's; holds the current queue's panel
    std::unique_ptr<QueuePanel> current_;
    ProfileRefreshes refreshes_;
    // Panels are made once the dialog has shown its first frame.
    bool framed_ = false;
    guint followAfterFrame_ = 0;
    gtkui::SignalConnection drawn_;
    gtkui::SignalConnection selectedPrinter_;
    gtkui::SignalConnection tabMapped_;
};

}  // namespace t48::dialog
