#pragma once
// A modal window of the panel as a GTK window over the dialog.

#include <functional>
#include <memory>

#include "binding.hpp"
#include "window.hpp"

namespace t48::gtkui::detail {

std::unique_ptr<Binding> makeWindowBinding(BindingOwner& owner, ui::Window& window,
                                           GtkWindow* parent, std::function<void()> close);

}  // namespace t48::gtkui::detail
