// The simple controls: popup (GtkComboBoxText), check box, push button and label. A
// user's change sets the control's value and sends its action, as the headless host
// does; the widget then shows what the action made of it.

#include "binding.hpp"

namespace t48::gtkui::detail {
namespace {

class PopUpBinding : public Binding {
public:
    PopUpBinding(BindingOwner& owner, ui::PopUpButton& popup)
        : Binding(owner, popup, gtk_combo_box_text_new()), popup_(popup) {
        gtk_widget_set_hexpand(widget(), TRUE);
        onUserChange<>(widget(), "changed", [this] {
            popup_.selectItemAtIndex(gtk_combo_box_get_active(GTK_COMBO_BOX(widget())));
            popup_.sendAction();
        });
    }

protected:
    void refresh() override {
        std::vector<std::string> titles;
        for (const ui::PopUpButton::Item& item : popup_.items()) {
            titles.push_back(item.title);
        }
        auto* combo = GTK_COMBO_BOX_TEXT(widget());
        if (titles != shown_) {
            gtk_combo_box_text_remove_all(combo);
            for (const std::string& title : titles) {
                gtk_combo_box_text_append_text(combo, title.c_str());
            }
            shown_ = std::move(titles);
        }
        if (gtk_combo_box_get_active(GTK_COMBO_BOX(combo)) != popup_.indexOfSelectedItem()) {
            gtk_combo_box_set_active(GTK_COMBO_BOX(combo), popup_.indexOfSelectedItem());
        }
    }

private:
    ui::PopUpButton& popup_;
    std::vector<std::string> shown_;
};

class CheckBoxBinding : public Binding {
public:
    CheckBoxBinding(BindingOwner& owner, ui::CheckBox& box)
        : Binding(owner, box, gtk_check_button_new_with_mnemonic("")), box_(box) {
        onUserChange<>(widget(), "toggled", [this] {
            box_.setState(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget())) ? 1 : 0);
            box_.sendAction();
        });
    }
    std::string mnemonicSource() const override { return box_.title(); }

protected:
    void refresh() override {
        gtk_button_set_label(GTK_BUTTON(widget()), mnemonicText(box_.title()).c_str());
        const bool on = box_.state() != 0;
        if (static_cast<bool>(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget()))) != on) {
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget()), on);
        }
    }

private:
    ui::CheckBox& box_;
};

class PushButtonBinding : public Binding {
public:
    PushButtonBinding(BindingOwner& owner, ui::PushButton& button)
        : Binding(owner, button, gtk_button_new_with_mnemonic("")), button_(button) {
        gtk_widget_set_halign(widget(), GTK_ALIGN_START);
        onUserChange<>(widget(), "clicked", [this] { button_.performClick(); });
    }
    std::string mnemonicSource() const override { return button_.title(); }

protected:
    void refresh() override {
        gtk_button_set_label(GTK_BUTTON(widget()), mnemonicText(button_.title()).c_str());
    }

private:
    ui::PushButton& button_;
};

class LabelBinding : public Binding {
public:
    LabelBinding(BindingOwner& owner, ui::Label& label)
        : Binding(owner, label, gtk_label_new(nullptr)), label_(label) {
        gtk_label_set_xalign(GTK_LABEL(widget()), 0);
        // An empty label shows only while it has a text (a screen reader meets no blank).
        gtk_widget_set_no_show_all(widget(), TRUE);
    }
    // Only a label that names a control takes a mnemonic: it moves to that control.
    std::string mnemonicSource() const override {
        return labelled() != nullptr ? label_.stringValue() : "";
    }

protected:
    void refresh() override {
        GtkLabel* label = GTK_LABEL(widget());
        gtk_widget_set_visible(widget(), !label_.stringValue().empty());
        if (labelled() == nullptr) {
            gtk_label_set_text(label, label_.stringValue().c_str());
            return;
        }
        gtk_label_set_text_with_mnemonic(label, mnemonicText(label_.stringValue()).c_str());
        gtk_label_set_mnemonic_widget(label, labelled());
        setAccessibleName(labelled(), accessibleNameFromLabel(label_.stringValue()));
    }

private:
    ui::Label& label_;
};

}  // namespace

std::unique_ptr<Binding> makePopUpBinding(BindingOwner& owner, ui::PopUpButton& popup) {
    return std::make_unique<PopUpBinding>(owner, popup);
}
std::unique_ptr<Binding> makeCheckBoxBinding(BindingOwner& owner, ui::CheckBox& box) {
    return std::make_unique<CheckBoxBinding>(owner, box);
}
std::unique_ptr<Binding> makePushButtonBinding(BindingOwner& owner, ui::PushButton& button) {
    return std::make_unique<PushButtonBinding>(owner, button);
}
std::unique_ptr<Binding> makeLabelBinding(BindingOwner& owner, ui::Label& label) {
    return std::make_unique<LabelBinding>(owner, label);
}

}  // namespace t48::gtkui::detail
