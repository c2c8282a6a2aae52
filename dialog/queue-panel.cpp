#include "queue-panel.hpp"

#include <set>

namespace t48::dialog {
namespace {

// The mnemonic letters of the dialog's own buttons that show (Print, Cancel), as GTK
// labels them in the user's language: "_Drucken" under German takes the D.
std::string dialogButtonMnemonics(GtkDialog* dialog) {
    std::string letters;
    for (int response : {GTK_RESPONSE_OK, GTK_RESPONSE_CANCEL, GTK_RESPONSE_APPLY}) {
        GtkWidget* button = gtk_dialog_get_widget_for_response(dialog, response);
        if (button == nullptr || !GTK_IS_BUTTON(button) || !gtk_widget_get_visible(button) ||
            !gtk_button_get_use_underline(GTK_BUTTON(button))) {
            continue;
        }
        const char* label = gtk_button_get_label(GTK_BUTTON(button));
        for (const char* at = label != nullptr ? label : ""; *at != '\0';
             at = g_utf8_next_char(at)) {
            if (*at == '_' && at[1] != '\0') {
                ++at;  // "__" is an underscore of the text, "_x" marks x
                if (*at != '_') {
                    letters.append(at, static_cast<std::size_t>(g_utf8_next_char(at) - at));
                    break;
                }
            }
        }
    }
    return letters;
}

}  // namespace

std::unique_ptr<QueuePanel> QueuePanel::open(hosting::PlugInLibrary& plugin,
                                             const std::string& queue, cf::PrintSettings& settings,
                                             GtkDialog* dialog,
                                             const std::vector<std::string>& panelKeys,
                                             pde::PDEProfileRefresh& refresh, std::string& error) {
    std::unique_ptr<QueuePanel> opened(new QueuePanel(queue, dialog));
    hosting::PanelPrinter printer;
    printer.queue = queue;
    opened->session_ = hosting::PanelSession::open(printer, settings, error);
    if (!opened->session_) {
        return nullptr;
    }
    if (!opened->session_->ppdHasAnyOption(panelKeys)) {
        error.clear();
        return nullptr;
    }
    if (!opened->session_->makePanel(plugin, error)) {
        return nullptr;
    }
    opened->session_->beginLeavingRefresh(refresh);
    if (opened->session_->view() != nullptr) {
        opened->present();
    }
    return opened;
}

QueuePanel::~QueuePanel() {
    presentation_.reset();
    session_.reset();
}

void QueuePanel::present() {
    presentation_ = std::make_unique<gtkui::Presentation>(dialogButtonMnemonics(dialog_));
    pde::PDEPanelProtocol& panel = session_->panel();
    widget_ = presentation_->present(*session_->view());
    // Each pane, shown alone in its container, has mnemonics of its own.
    std::set<ui::View*> panes;
    for (const pde::PDENamedControl& named : panel.interfaceControls()) {
        for (ui::View* up = named.control; up != nullptr; up = up->superview()) {
            if (up->identifier() == pde::kPDEColorPaneID ||
                up->identifier() == pde::kPDEAdvancedPaneID) {
                panes.insert(up);
                break;
            }
        }
    }
    for (ui::View* pane : panes) {
        presentation_->present(*pane);
    }
    presentation_->setAfterUserAction([this] { presentModalWindow(); });
}

void QueuePanel::presentModalWindow() {
    pde::PDEWindowProtocol* window = session_->panel().modalWindow();
    if (window == nullptr || window->window() == nullptr) {
        return;
    }
    presentation_->presentWindow(*window->window(), GTK_WINDOW(dialog_),
                                 [window] { window->windowCancel(); });
    if (ui::OpenPanel* openPanel = window->windowOpenPanel()) {
        presentation_->presentOpenPanel(*openPanel, *window->window());
    }
}

}  // namespace t48::dialog
