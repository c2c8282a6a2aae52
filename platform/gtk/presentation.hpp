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

#include "binding.hpp"
#include "window.hpp"

namespace t48::gtkui {

class Presentation : private detail::BindingOwner {
public:
    // `reservedMnemonics`: letters the surrounding window uses for mnemonics already
    // (its own windows have theirs).
    explicit Presentation(std::string reservedMnemonics = "");
    // Ends in one order: the views and open panels stop reaching the widgets, every
    // binding disconnects its signals, then the bindings go newest first (each widget
    // before the one that holds it), each with its widget. Widgets of it that another
    // holds (the one returned by present) must have left their holder before.
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
    // Lets `panel` ask the user through the platform's file chooser, titled by the panel's
    // title, over `window` once that is presented.
    void presentOpenPanel(ui::OpenPanel& panel, ui::Window& window);

    // Runs after each user's change has gone through its control.
    void setAfterUserAction(std::function<void()> afterUserAction) {
        afterUserAction_ = std::move(afterUserAction);
    }

private:
    detail::Binding& bindingFor(ui::View& view) override;
    void userDidChange() override;
    // Takes `binding` of `view` and has the view tell it of each change.
    detail::Binding& adopt(ui::View& view, std::unique_ptr<detail::Binding> binding);
    void assignMnemonics(ui::View& root, const std::string& reserved);
    void assignMnemonics(ui::View& view, std::set<gunichar>& used, const std::set<ui::View*>& given,
                         std::vector<ui::View*>& pages);
    // The first letter of the view's text that `used` lacks, if it takes one.
    void giveMnemonic(ui::View& view, std::set<gunichar>& used);

    std::string reservedMnemonics_;
    std::vector<std::unique_ptr<detail::Binding>> bindings_;  // in the order they were made
    std::unordered_map<ui::View*, detail::Binding*> byView_;
    std::set<ui::OpenPanel*> openPanels_;
    std::function<void()> afterUserAction_;
};

}  // namespace t48::gtkui
