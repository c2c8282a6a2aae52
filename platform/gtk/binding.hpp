#pragma once
// One view and the widget that shows it. A binding makes its widget show the view
// whenever the view changes (refresh), and marks the time it does so, so that the
// widget's own signals of that time are not taken for a user's change. It owns its
// widget and the signal handlers it connects: both go with it.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "controls.hpp"
#include "signal-connection.hpp"

namespace t48::gtkui::detail {

class Binding;

// What a binding needs of the presentation that owns it.
class BindingOwner {
public:
    // The binding of `view` (a subview), made on the first ask.
    virtual Binding& bindingFor(ui::View& view) = 0;
    // A user's change went through its control, and its binding shows the result.
    virtual void userDidChange() = 0;

protected:
    ~BindingOwner() = default;
};

class Binding {
public:
    // Takes `widget` (sinking a floating reference) for the life of the binding.
    Binding(BindingOwner& owner, ui::View& view, GtkWidget* widget);
    // Disconnects its signals, then lets go of the widget.
    virtual ~Binding();
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    GtkWidget* widget() const { return widget_; }
    ui::View& view() const { return view_; }
    // The widget a label that names this view points at (its mnemonic's target, and the
    // one its accessible name goes to): the widget, or the part of it that takes focus.
    virtual GtkWidget* labelTarget() const { return widget_; }

    // Shows the view as it is now: its own content, then the enabled state.
    void sync();
    // Disconnects every signal handler the binding connected.
    void disconnect() { connections_.clear(); }

    // The text a mnemonic is chosen from ("" for a widget that takes none).
    virtual std::string mnemonicSource() const { return ""; }
    void setMnemonic(gunichar mnemonic) { mnemonic_ = mnemonic; }

    // The widget this view is the label of (null for none); its accessible name
    // follows the label's text.
    void setLabelled(GtkWidget* target) { labelled_ = target; }

protected:
    virtual void refresh() = 0;

    // `handler` on `signal` of `instance` (the widget or a part of it), with the binding
    // as its data, for the life of the binding.
    void connect(gpointer instance, const char* signal, GCallback handler);
    // A user's change through `signal` of `instance`: `change` gets the signal's
    // arguments after the instance, and runs only for a signal that does not come from
    // the binding showing its view; then the binding shows the result (userChanged).
    template <typename... Args>
    void onUserChange(gpointer instance, const char* signal,
                      std::type_identity_t<std::function<void(Args...)>> change);
    // After a user's change went through the control: show its result, tell the owner.
    void userChanged();

    // `text` with the binding's mnemonic marked ("_" escaped); with none, escaped only.
    std::string mnemonicText(const std::string& text) const;
    GtkWidget* labelled() const { return labelled_; }
    BindingOwner& owner() const { return owner_; }
    GtkWidget* widgetFor(ui::View& subview) const { return owner_.bindingFor(subview).widget(); }

private:
    template <typename... Args>
    struct UserChange {
        Binding* binding;
        std::function<void(Args...)> change;
    };
    template <typename... Args>
    static void relayUserChange(gpointer, Args... args, gpointer data);

    BindingOwner& owner_;
    ui::View& view_;
    GtkWidget* widget_;
    GtkWidget* labelled_ = nullptr;
    gunichar mnemonic_ = 0;
    int syncing_ = 0;
    std::vector<SignalConnection> connections_;
};

template <typename... Args>
void Binding::onUserChange(gpointer instance, const char* signal,
                           std::type_identity_t<std::function<void(Args...)>> change) {
    connections_.emplace_back(
        instance, signal, G_CALLBACK(&Binding::relayUserChange<Args...>),
        new UserChange<Args...>{this, std::move(change)},
        +[](gpointer data, GClosure*) { delete static_cast<UserChange<Args...>*>(data); });
}

template <typename... Args>
void Binding::relayUserChange(gpointer, Args... args, gpointer data) {
    auto* handler = static_cast<UserChange<Args...>*>(data);
    if (handler->binding->syncing_ > 0) {
        return;
    }
    handler->change(args...);
    handler->binding->userChanged();
}

// The accessible name for the text of a label: its words without the closing colon.
std::string accessibleNameFromLabel(const std::string& text);
void setAccessibleName(GtkWidget* widget, const std::string& name);

std::unique_ptr<Binding> makeContainerBinding(BindingOwner& owner, ui::View& view);
std::unique_ptr<Binding> makeBoxBinding(BindingOwner& owner, ui::Box& box);
std::unique_ptr<Binding> makePopUpBinding(BindingOwner& owner, ui::PopUpButton& popup);
std::unique_ptr<Binding> makeCheckBoxBinding(BindingOwner& owner, ui::CheckBox& box);
std::unique_ptr<Binding> makePushButtonBinding(BindingOwner& owner, ui::PushButton& button);
std::unique_ptr<Binding> makeLabelBinding(BindingOwner& owner, ui::Label& label);
std::unique_ptr<Binding> makeTabViewBinding(BindingOwner& owner, ui::TabView& tabs);
std::unique_ptr<Binding> makeTextFieldBinding(BindingOwner& owner, ui::Control& field);
std::unique_ptr<Binding> makeTableBinding(BindingOwner& owner, ui::Control& table);

}  // namespace t48::gtkui::detail
