#include "queue-panel.hpp"

#include <set>

#include "ppd-file.hpp"

namespace t48::dialog {
namespace {

// Letters the print dialog's own buttons take ("Print", "Cancel").
constexpr const char* kDialogMnemonics = "pc";

}  // namespace

std::unique_ptr<QueuePanel> QueuePanel::open(host::PlugInLibrary& plugin, const std::string& queue,
                                             cf::PrintSettings& settings, GtkWindow* dialog,
                                             std::string& error) {
    std::unique_ptr<QueuePanel> opened(new QueuePanel(settings, dialog));
    opened->queue_ = host::PrintQueue::open(queue, error);
    if (!opened->queue_) {
        return nullptr;
    }
    opened->ppd_ = opened->queue_->openPPD(error);
    if (opened->ppd_ == nullptr) {
        return nullptr;
    }
    opened->session_.setCurrentPrinter(cf::Printer(queue, opened->queue_->deviceURI()));
    opened->panel_ = plugin.makePanel(opened.get(), error);
    if (!opened->panel_) {
        return nullptr;
    }
    opened->panel_->supportedPPDOptionKeys();
    ui::View* view = opened->panel_->panelView();
    int32_t ignored = 0;
    opened->panel_->restoreValuesAndReturnError(&ignored);
    if (view != nullptr) {
        opened->present();
    }
    return opened;
}

QueuePanel::~QueuePanel() {
    if (panel_) {
        host::closePanel(*panel_);
    }
    // The widgets stop listening before the views go.
    presentation_.reset();
    panel_.reset();
    pde::closePPDFile(ppd_);
}

void QueuePanel::present() {
    presentation_ = std::make_unique<gtkui::Presentation>(kDialogMnemonics);
    widget_ = presentation_->present(*panel_->panelView());
    // Each pane, shown alone in its container, has mnemonics of its own.
    std::set<ui::View*> panes;
    for (const pde::PDENamedControl& named : panel_->interfaceControls()) {
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
    pde::PDEWindowProtocol* window = panel_->modalWindow();
    if (window == nullptr || window->window() == nullptr) {
        return;
    }
    presentation_->presentWindow(*window->window(), dialog_, [window] { window->windowCancel(); });
    if (ui::OpenPanel* openPanel = window->windowOpenPanel()) {
        presentation_->presentOpenPanel(*openPanel, *window->window());
    }
}

}  // namespace t48::dialog
