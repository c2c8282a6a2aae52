// The window shows while the program runs it modally, as a modal GTK window over its
// parent, and hides when the run ends. Its content is the window view's subviews on a
// grid. Closing it through the window system is the window's own close action. Its
// button whose key equivalent is Return is GTK's default widget; Escape presses the one
// whose key equivalent is Escape. The binding is the window's one owner: the window goes
// with it, not with its parent.

#include "window-binding.hpp"

#include <gdk/gdkkeysyms.h>

namespace t48::gtkui::detail {
namespace {

constexpr int kBorder = 12;

// The push button under `view` whose key equivalent is `key`; null when none.
ui::PushButton* buttonForKey(ui::View& view, const std::string& key) {
    for (ui::View* child : view.subviews()) {
        ui::Control* control = child->asControl();
        if (control != nullptr && control->type() == ui::ControlType::PushButton &&
            static_cast<ui::PushButton*>(control)->keyEquivalent() == key) {
            return static_cast<ui::PushButton*>(control);
        }
        if (ui::PushButton* found = buttonForKey(*child, key)) {
            return found;
        }
    }
    return nullptr;
}

class WindowBinding : public Binding {
public:
    WindowBinding(BindingOwner& owner, ui::Window& window, GtkWindow* parent,
                  std::function<void()> close)
        : Binding(owner, window, gtk_window_new(GTK_WINDOW_TOPLEVEL)),
          window_(window),
          close_(std::move(close)) {
        GtkWindow* shown = GTK_WINDOW(widget());
        gtk_window_set_transient_for(shown, parent);
        gtk_window_set_modal(shown, TRUE);
        gtk_window_set_position(shown, GTK_WIN_POS_CENTER_ON_PARENT);
        gtk_window_set_type_hint(shown, GDK_WINDOW_TYPE_HINT_DIALOG);
        gtk_container_set_border_width(GTK_CONTAINER(shown), kBorder);
        content_ = makeContainerBinding(owner, window);
        gtk_container_add(GTK_CONTAINER(shown), content_->widget());
        connect(shown, "delete-event",
                G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) -> gboolean {
                    auto* self = static_cast<WindowBinding*>(data);
                    if (self->close_) {
                        self->close_();
                    }
                    self->userChanged();
                    return TRUE;  // the window is hidden, never destroyed, here
                }));
        connect(shown, "key-press-event",
                G_CALLBACK(+[](GtkWidget*, GdkEventKey* event, gpointer data) -> gboolean {
                    return event->keyval == GDK_KEY_Escape &&
                           static_cast<WindowBinding*>(data)->press(ui::PushButton::kKeyEscape);
                }));
    }
    ~WindowBinding() override { gtk_widget_destroy(widget()); }

protected:
    void refresh() override {
        content_->sync();
        GtkWindow* shown = GTK_WINDOW(widget());
        gtk_window_set_title(shown, window_.title().c_str());
        const bool running = window_.isModal() && window_.isVisible();
        if (running && !gtk_widget_get_visible(widget())) {
            if (ui::PushButton* button = buttonForKey(window_, ui::PushButton::kKeyReturn)) {
                GtkWidget* ok = widgetFor(*button);
                gtk_widget_set_can_default(ok, TRUE);
                gtk_window_set_default(shown, ok);
            }
            gtk_widget_show_all(widget());
            gtk_window_present(shown);
        } else if (!running && gtk_widget_get_visible(widget())) {
            gtk_widget_hide(widget());
        }
    }

private:
    // Presses the button of `key` as a click would; false when there is none to press.
    bool press(const char* key) {
        ui::PushButton* button = buttonForKey(window_, key);
        GtkWidget* widget = button != nullptr ? widgetFor(*button) : nullptr;
        if (widget == nullptr || !gtk_widget_is_sensitive(widget)) {
            return false;
        }
        gtk_button_clicked(GTK_BUTTON(widget));
        return true;
    }

    ui::Window& window_;
    std::function<void()> close_;
    std::unique_ptr<Binding> content_;
};

}  // namespace

std::unique_ptr<Binding> makeWindowBinding(BindingOwner& owner, ui::Window& window,
                                           GtkWindow* parent, std::function<void()> close) {
    return std::make_unique<WindowBinding>(owner, window, parent, std::move(close));
}

}  // namespace t48::gtkui::detail
