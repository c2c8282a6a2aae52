#pragma once
// The GTK 3 presentation of the headless controls. The headless views stay the model:
// each widget shows its view, hears of every change the program makes to it, and sends a
// user's change through the control's own path (set the value, send the action), so the
// panel's rules run as they do without a window system.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls.hpp"
#include "window.hpp"

namespace t48::gtkui {

namespace detail {
class Binding;
}

class Presentation {
public:
    // `reservedMnemonics`: letters the surrounding window uses for mnemonics already.
    explicit Presentation(std::string reservedMnemonics = "");
    // Stops listening to every view and lets go of the widgets.
    ~Presentation();
    Presentation(const Presentation&) = delete;
    Presentation& operator=(const Presentation&) = delete;

    // The widget showing `view` and everything under it (made once per view), with
    // mnemonics given to the labels, check boxes and buttons under it: one set of
    // mnemonics for each view presented (a pane that is shown alone gets its own).
    GtkWidget* present(ui::View& view);
    // Shows `window` as a modal window over `parent` while the program runs it modally;
    // `close` runs when the user closes it through the window system.
    void presentWindow(ui::Window& window, GtkWindow* parent, std::function<void()> close);
    // Lets `panel` ask the user through GTK's file chooser, over `window` once that is
    // presented.
    void presentOpenPanel(ui::OpenPanel& panel, ui::Window& window);

    // Runs after each user's change has gone through its control.
    void setAfterUserAction(std::function<void()> afterUserAction) {
        afterUserAction_ = std::move(afterUserAction);
    }

    // For the bindings.
    GtkWidget* widgetFor(ui::View& view);
    detail::Binding* bindingFor(ui::View& view);
    void userDidChange();

private:
    void assignMnemonics(ui::View& root);
    void assignMnemonics(ui::View& view, std::set<gunichar>& used, std::vector<ui::View*>& pages);

    std::string reservedMnemonics_;
    std::unordered_map<ui::View*, std::unique_ptr<detail::Binding>> bindings_;
    std::function<void()> afterUserAction_;
};

}  // namespace t48::gtkui
