#pragma once
// One view and the widget that shows it. A binding makes its widget show the view
// whenever the view changes (refresh), and marks the time it does so, so that the
// widget's own signals of that time are not taken for a user's change.

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "controls.hpp"

namespace t48::gtkui {
class Presentation;
}

namespace t48::gtkui::detail {

class Binding {
public:
    // Takes a reference to `widget` for the life of the binding.
    Binding(Presentation& owner, ui::View& view, GtkWidget* widget);
    virtual ~Binding();
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    GtkWidget* widget() const { return widget_; }
    ui::View& view() const { return view_; }

    // Shows the view as it is now: its own content, then the enabled state.
    void sync();
    bool isSyncing() const { return syncing_ > 0; }
    // After a user's change went through the control: show its result, tell the owner.
    void userChanged();

    // The text a mnemonic is chosen from ("" for a widget that takes none).
    virtual std::string mnemonicSource() const { return ""; }
    void setMnemonic(gunichar mnemonic) { mnemonic_ = mnemonic; }

    // The widget this view is the label of (null for none); its accessible name
    // follows the label's text.
    void setLabelled(GtkWidget* target) { labelled_ = target; }

protected:
    virtual void refresh() = 0;
    // `text` with the binding's mnemonic marked ("_" escaped); with none, escaped only.
    std::string mnemonicText(const std::string& text) const;
    GtkWidget* labelled() const { return labelled_; }
    Presentation& owner() const { return owner_; }

private:
    Presentation& owner_;
    ui::View& view_;
    GtkWidget* widget_;
    GtkWidget* labelled_ = nullptr;
    gunichar mnemonic_ = 0;
    int syncing_ = 0;
};

// The accessible name for the text of a label: its words without the closing colon.
std::string accessibleNameFromLabel(const std::string& text);
void setAccessibleName(GtkWidget* widget, const std::string& name);

std::unique_ptr<Binding> makeContainerBinding(Presentation& owner, ui::View& view);
std::unique_ptr<Binding> makeBoxBinding(Presentation& owner, ui::Box& box);
std::unique_ptr<Binding> makePopUpBinding(Presentation& owner, ui::PopUpButton& popup);
std::unique_ptr<Binding> makeCheckBoxBinding(Presentation& owner, ui::CheckBox& box);
std::unique_ptr<Binding> makePushButtonBinding(Presentation& owner, ui::PushButton& button);
std::unique_ptr<Binding> makeLabelBinding(Presentation& owner, ui::Label& label);
std::unique_ptr<Binding> makeTabViewBinding(Presentation& owner, ui::TabView& tabs);
std::unique_ptr<Binding> makeTextFieldBinding(Presentation& owner, ui::Control& field);
std::unique_ptr<Binding> makeTableBinding(Presentation& owner, ui::Control& table);

}  // namespace t48::gtkui::detail
