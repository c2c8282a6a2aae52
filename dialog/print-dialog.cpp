#include "print-dialog.hpp"

#include <glib/gstdio.h>

#include <iostream>

#include "gtk-ppd-options.hpp"
#include "test-page.hpp"
#include "ticket-file.hpp"

namespace t48::dialog {
namespace {

constexpr const char* kTicketFile = "print-dialog.plist";
constexpr const char* kDialogSettingsFile = "print-dialog.settings";
// GTK's CUPS backend sends a setting "cups-KEY" as the job option KEY.
constexpr const char* kCupsSettingPrefix = "cups-";

}  // namespace

PrintDialog::PrintDialog(hosting::PlugInLibrary& plugin, std::string file, std::string configFolder)
    : plugin_(plugin),
      panelKeys_(plugin.panelOptionKeys()),
      file_(std::move(file)),
      ticketPath_(configFolder + "/" + kTicketFile),
      dialogSettingsPath_(configFolder + "/" + kDialogSettingsFile),
      refreshes_([this] { profileRefreshEnded(); }) {
    // Before GTK's CUPS backend opens the first PPD.
    keepOptionsFromGtkWidgets(panelKeys_);
    std::string error;
    bool found = false;
    if (!hosting::readTicketFile(ticketPath_, settings_, found, error)) {
        std::cerr << "t48-print-dialog: " << error << " (starting from the defaults)\n";
    }
    dialog_ = gtk_print_unix_dialog_new(nullptr, nullptr);
    GtkPrintUnixDialog* dialog = GTK_PRINT_UNIX_DIALOG(dialog_);
    if (GtkPrintSettings* kept =
            gtk_print_settings_new_from_file(dialogSettingsPath_.c_str(), nullptr)) {
        gtk_print_unix_dialog_set_settings(dialog, kept);
        g_object_unref(kept);
    }
    gtk_print_unix_dialog_set_manual_capabilities(
        dialog, GtkPrintCapabilities(GTK_PRINT_CAPABILITY_COPIES | GTK_PRINT_CAPABILITY_PAGE_SET));
    selectedPrinter_ = gtkui::SignalConnection(
        dialog_, "notify::selected-printer", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer data) {
            static_cast<PrintDialog*>(data)->followSelectedPrinter();
        }),
        this);
    drawn_ = gtkui::SignalConnection(
        dialog_, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t*, gpointer data) -> gboolean {
            static_cast<PrintDialog*>(data)->firstFrameShown();
            return FALSE;
        }),
        this);
}

PrintDialog::~PrintDialog() {
    if (followAfterFrame_ != 0) {
        g_source_remove(followAfterFrame_);
    }
    drawn_.disconnect();
    selectedPrinter_.disconnect();
    tabMapped_.disconnect();
    closePanel();
    gtk_widget_destroy(dialog_);
}

// The panel is made after the frame that shows the dialog: the dialog opens as fast as
// GTK's own.
void PrintDialog::firstFrameShown() {
    if (framed_) {
        return;
    }
    framed_ = true;
    followAfterFrame_ = g_idle_add(
        +[](gpointer data) -> gboolean {
            auto* self = static_cast<PrintDialog*>(data);
            self->followAfterFrame_ = 0;
            self->followSelectedPrinter();
            return G_SOURCE_REMOVE;
        },
        this);
}

void PrintDialog::profileRefreshEnded() {
    if (current_) {
        current_->session().panel().setProfileRefreshRunning(refreshes_.running());
    }
}

void PrintDialog::closePanel() {
    if (current_ && current_->widget() != nullptr) {
        gtk_container_remove(GTK_CONTAINER(tab_), current_->widget());
    }
    current_.reset();
}

void PrintDialog::addTab(const std::string& label) {
    tab_ = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_set_border_width(GTK_CONTAINER(tab_), 12);
    gtk_print_unix_dialog_add_custom_tab(GTK_PRINT_UNIX_DIALOG(dialog_), tab_,
                                         gtk_label_new(label.c_str()));
    // The tab is mapped each time the dialog shows it.
    tabMapped_ = gtkui::SignalConnection(tab_, "map", G_CALLBACK(+[](GtkWidget*, gpointer data) {
                                             static_cast<PrintDialog*>(data)->tabShown();
                                         }),
                                         this);
}

void PrintDialog::tabShown() {
    if (current_) {
        current_->session().panel().willShow();
    }
}

void PrintDialog::followSelectedPrinter() {
    if (!framed_) {
        return;
    }
    GtkPrinter* printer =
        gtk_print_unix_dialog_get_selected_printer(GTK_PRINT_UNIX_DIALOG(dialog_));
    const std::string queue = printer != nullptr ? gtk_printer_get_name(printer) : "";
    if (current_ && current_->queueName() == queue) {
        return;
    }
    closePanel();
    std::string error;
    pde::PDEProfileRefresh refresh;
    current_ = queue.empty() ? nullptr
                             : QueuePanel::open(plugin_, queue, settings_, GTK_DIALOG(dialog_),
                                                panelKeys_, refresh, error);
    if (!current_ && !error.empty()) {
        std::cerr << "t48-print-dialog: no panel for " << queue << ": " << error << "\n";
    }
    if (current_) {
        refreshes_.start(queue, std::move(refresh));
        current_->session().panel().setProfileRefreshRunning(refreshes_.running());
    }
    if (!current_ || current_->widget() == nullptr) {
        if (tab_ != nullptr) {
            gtk_widget_hide(tab_);
        }
        return;
    }
    if (tab_ == nullptr) {
        addTab(current_->session().panel().panelName());
    }
    const bool showing = gtk_widget_get_mapped(tab_);
    gtk_box_pack_start(GTK_BOX(tab_), current_->widget(), FALSE, FALSE, 0);
    gtk_widget_show_all(tab_);
    // A tab that shows already is not mapped again: the new panel is shown at once.
    if (showing) {
        tabShown();
    }
}

int PrintDialog::run() {
    const int response = gtk_dialog_run(GTK_DIALOG(dialog_));
    gtk_widget_hide(dialog_);
    if (response != GTK_RESPONSE_OK) {
        return kDialogNotPrinted;
    }
    std::string error;
    if (!print(error)) {
        std::cerr << "t48-print-dialog: " << error << "\n";
        return kDialogNotPrinted;
    }
    return kDialogPrinted;
}

bool PrintDialog::print(std::string& error) {
    GtkPrintSettings* settings = gtk_print_unix_dialog_get_settings(GTK_PRINT_UNIX_DIALOG(dialog_));
    if (current_) {
        // Set after GTK's own settings were taken: GTK fills an entry for every PPD
        // option from its Color tab, and the panel's choices must win.
        for (const auto& [key, value] : current_->session().printJobOptions()) {
            gtk_print_settings_set(settings, (kCupsSettingPrefix + key).c_str(), value.c_str());
        }
    }
    const bool sent = submit(settings, error);
    if (sent) {
        keepSettings(settings);
    }
    g_object_unref(settings);
    return sent;
}

bool PrintDialog::submit(GtkPrintSettings* settings, std::string& error) {
    GtkPrintUnixDialog* dialog = GTK_PRINT_UNIX_DIALOG(dialog_);
    GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(dialog);
    if (printer == nullptr) {
        error = "no printer is selected";
        return false;
    }
    std::string file = file_;
    TestPage testPage;
    if (file.empty()) {
        file = testPage.path(error);
        if (file.empty()) {
            return false;
        }
    }
    gchar* title = g_path_get_basename(file_.empty() ? "T48 test page" : file_.c_str());
    GtkPrintJob* job =
        gtk_print_job_new(title, printer, settings, gtk_print_unix_dialog_get_page_setup(dialog));
    g_free(title);
    GError* failure = nullptr;
    if (!gtk_print_job_set_source_file(job, file.c_str(), &failure)) {
        error = "cannot print " + file + ": " + failure->message;
        g_error_free(failure);
        g_object_unref(job);
        return false;
    }
    struct Outcome {
        GMainLoop* loop;
        std::string error;
    } outcome{g_main_loop_new(nullptr, FALSE), ""};
    gtk_print_job_send(
        job,
        +[](GtkPrintJob*, gpointer data, const GError* sendError) {
            auto* result = static_cast<Outcome*>(data);
            if (sendError != nullptr) {
                result->error = sendError->message;
            }
            g_main_loop_quit(result->loop);
        },
        &outcome, nullptr);
    g_main_loop_run(outcome.loop);
    g_main_loop_unref(outcome.loop);
    g_object_unref(job);
    if (!outcome.error.empty()) {
        error = "the job was not sent: " + outcome.error;
        return false;
    }
    return true;
}

// The panel's settings as the ticket, the dialog's own (the printer, copies) beside it.
void PrintDialog::keepSettings(GtkPrintSettings* settings) {
    const std::string folder = ticketPath_.substr(0, ticketPath_.rfind('/'));
    std::string error;
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0 ||
        !hosting::writeTicketFile(ticketPath_, settings_, error)) {
        std::cerr << "t48-print-dialog: "
                  << (error.empty() ? "cannot make the folder " + folder : error) << "\n";
        return;
    }
    gtk_print_settings_to_file(settings, dialogSettingsPath_.c_str(), nullptr);
}

}  // namespace t48::dialog
