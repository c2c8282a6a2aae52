#include "presentation.hpp"

#include "window-binding.hpp"

namespace t48::gtkui {
namespace {

using detail::Binding;

std::unique_ptr<Binding> makeBinding(detail::BindingOwner& owner, ui::View& view) {
    ui::Control* control = view.asControl();
    if (control == nullptr) {
        return detail::makeContainerBinding(owner, view);
    }
    // The control's type says which class it is (no RTTI across the plug-in's boundary).
    switch (control->type()) {
        case ui::ControlType::PopUpButton:
            return detail::makePopUpBinding(owner, static_cast<ui::PopUpButton&>(*control));
        case ui::ControlType::CheckBox:
            return detail::makeCheckBoxBinding(owner, static_cast<ui::CheckBox&>(*control));
        case ui::ControlType::Label:
            return detail::makeLabelBinding(owner, static_cast<ui::Label&>(*control));
        case ui::ControlType::PushButton:
            return detail::makePushButtonBinding(owner, static_cast<ui::PushButton&>(*control));
        case ui::ControlType::TabView:
            return detail::makeTabViewBinding(owner, static_cast<ui::TabView&>(*control));
        case ui::ControlType::TextField:
            return detail::makeTextFieldBinding(owner, *control);
        case ui::ControlType::TableView:
            return detail::makeTableBinding(owner, *control);
        case ui::ControlType::Box:
            return detail::makeBoxBinding(owner, static_cast<ui::Box&>(*control));
        case ui::ControlType::Generic:
            break;
    }
    return detail::makeContainerBinding(owner, view);
}

// The push buttons under `view` that a key presses in their window (Return, Escape).
void collectKeyButtons(ui::View& view, std::vector<ui::View*>& buttons) {
    for (ui::View* child : view.subviews()) {
        ui::Control* control = child->asControl();
        if (control != nullptr && control->type() == ui::ControlType::PushButton &&
            !static_cast<ui::PushButton*>(control)->keyEquivalent().empty()) {
            buttons.push_back(child);
        }
        collectKeyButtons(*child, buttons);
    }
}

}  // namespace

Presentation::Presentation(std::string reservedMnemonics)
    : reservedMnemonics_(std::move(reservedMnemonics)) {}

Presentation::~Presentation() {
    for (const auto& binding : bindings_) {
        binding->view().setChangeObserver(nullptr);
    }
    for (ui::OpenPanel* panel : openPanels_) {
        panel->setRunner(nullptr);
    }
    for (const auto& binding : bindings_) {
        binding->disconnect();
    }
    byView_.clear();
    while (!bindings_.empty()) {
        bindings_.pop_back();
    }
}

Binding& Presentation::adopt(ui::View& view, std::unique_ptr<Binding> made) {
    Binding& binding = *bindings_.emplace_back(std::move(made));
    byView_.emplace(&view, &binding);
    view.setChangeObserver([&binding](ui::View&) { binding.sync(); });
    return binding;
}

Binding& Presentation::bindingFor(ui::View& view) {
    if (auto found = byView_.find(&view); found != byView_.end()) {
        return *found->second;
    }
    Binding& binding = adopt(view, makeBinding(*this, view));
    binding.sync();
    return binding;
}

GtkWidget* Presentation::present(ui::View& view) {
    GtkWidget* widget = bindingFor(view).widget();
    assignMnemonics(view, reservedMnemonics_);
    return widget;
}

void Presentation::presentWindow(ui::Window& window, GtkWindow* parent,
                                 std::function<void()> close) {
    if (byView_.count(&window) != 0) {
        return;
    }
    Binding& binding =
        adopt(window, detail::makeWindowBinding(*this, window, parent, std::move(close)));
    assignMnemonics(window, "");  // a window of its own: the parent's letters are free
    binding.sync();
}

// Each label that names a control, each check box and button gets the first letter of
// its text that nothing else shown with it (nor `reserved`) uses yet; the pages of a tab
// view, shown one at a time, share only what lies outside them. A window's own buttons
// (those Return and Escape press) choose first, so that they have one in every language.
void Presentation::assignMnemonics(ui::View& root, const std::string& reserved) {
    std::set<gunichar> used;
    for (const char* at = reserved.c_str(); *at != '\0'; at = g_utf8_next_char(at)) {
        used.insert(g_unichar_tolower(g_utf8_get_char(at)));
    }
    bindingFor(root).sync();  // the widgets of everything under it are made
    std::vector<ui::View*> first;
    collectKeyButtons(root, first);
    for (ui::View* button : first) {
        giveMnemonic(*button, used);
    }
    const std::set<ui::View*> given(first.begin(), first.end());
    std::vector<ui::View*> pages;
    assignMnemonics(root, used, given, pages);
    for (ui::View* page : pages) {
        std::set<gunichar> onPage = used;
        std::vector<ui::View*> nested;
        assignMnemonics(*page, onPage, given, nested);
    }
}

void Presentation::assignMnemonics(ui::View& view, std::set<gunichar>& used,
                                   const std::set<ui::View*>& given,
                                   std::vector<ui::View*>& pages) {
    if (given.count(&view) == 0) {
        giveMnemonic(view, used);
    }
    ui::Control* control = view.asControl();
    const bool tabs = control != nullptr && control->type() == ui::ControlType::TabView;
    for (ui::View* child : view.subviews()) {
        if (tabs) {
            pages.push_back(child);
        } else {
            assignMnemonics(*child, used, given, pages);
        }
    }
}

void Presentation::giveMnemonic(ui::View& view, std::set<gunichar>& used) {
    auto found = byView_.find(&view);
    if (found == byView_.end()) {
        return;
    }
    const std::string text = found->second->mnemonicSource();
    for (const char* at = text.c_str(); *at != '\0'; at = g_utf8_next_char(at)) {
        const gunichar c = g_unichar_tolower(g_utf8_get_char(at));
        if (g_unichar_isalnum(c) && used.insert(c).second) {
            found->second->setMnemonic(c);
            break;
        }
    }
    found->second->sync();
}

void Presentation::userDidChange() {
    if (afterUserAction_) {
        afterUserAction_();
    }
}

void Presentation::presentOpenPanel(ui::OpenPanel& panel, ui::Window& window) {
    if (!openPanels_.insert(&panel).second) {
        return;
    }
    panel.setRunner([this, &window,
                     &panel](const std::string& directory) -> std::optional<std::string> {
        auto found = byView_.find(&window);
        GtkWindow* parent = found != byView_.end() ? GTK_WINDOW(found->second->widget()) : nullptr;
        GtkFileChooserNative* chooser = gtk_file_chooser_native_new(
            panel.title().c_str(), parent, GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr);
        gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), directory.c_str());
        std::optional<std::string> chosen;
        if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
            if (gchar* path = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))) {
                chosen = path;
                g_free(path);
            }
        }
        g_object_unref(chooser);
        return chosen;
    });
}

}  // namespace t48::gtkui
