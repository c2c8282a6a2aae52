#include "queue-panel.hpp"

#include <set>

namespace t48::dialog {
namespace {

// Letters the print dialog's own buttons take ("Print", "Cancel").
constexpr const char* kDialogMnemonics = "pc";

}  // namespace

std::unique_ptr<QueuePanel> QueuePanel::open(hosting::PlugInLibrary& plugin,
                                             const std::string& queue, cf::PrintSettings& settings,
                                             GtkWindow* dialog, std::string& error) {
    std::unique_ptr<QueuePanel> opened(new QueuePanel(queue, dialog));
    hosting::PanelPrinter printer;
    printer.queue = queue;
    opened->session_ = hosting::PanelSession::open(printer, settings, error);
    if (!opened->session_ || !opened->session_->makePanel(plugin, error)) {
        return nullptr;
    }
    opened->session_->begin();
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
    presentation_ = std::make_unique<gtkui::Presentation>(kDialogMnemonics);
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
    presentation_->presentWindow(*window->window(), dialog_, [window] { window->windowCancel(); });
    if (ui::OpenPanel* openPanel = window->windowOpenPanel()) {
        presentation_->presentOpenPanel(*openPanel, *window->window());
    }
}

}  // namespace t48::dialog
