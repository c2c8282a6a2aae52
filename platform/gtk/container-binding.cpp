// A plain view (a pane, a group, a window's content) as a GtkGrid of its subviews, and
// a titled box as a GtkFrame around one. A change of the subviews (the panes swapping
// in their container) puts the widgets of the new subviews in place, and the keyboard
// focus, when it was in the widgets that went, into the new ones.

#include <vector>

#include "binding.hpp"
#include "grid-layout.hpp"

namespace t48::gtkui::detail {
namespace {

constexpr int kSpacing = 6;

class ContainerBinding : public Binding {
public:
    ContainerBinding(BindingOwner& owner, ui::View& view, GtkWidget* frame)
        : Binding(owner, view, frame != nullptr ? frame : gtk_grid_new()),
          grid_(frame != nullptr ? gtk_grid_new() : widget()) {
        gtk_grid_set_row_spacing(GTK_GRID(grid_), kSpacing);
        gtk_grid_set_column_spacing(GTK_GRID(grid_), 2 * kSpacing);
        if (frame != nullptr) {
            gtk_container_set_border_width(GTK_CONTAINER(grid_), kSpacing);
            gtk_container_add(GTK_CONTAINER(frame), grid_);
        }
    }

protected:
    void refresh() override {
        if (view().subviews() == attached_) {
            return;
        }
        const bool hadFocus = focusWithinAttached();
        for (ui::View* former : attached_) {
            gtk_container_remove(GTK_CONTAINER(grid_), widgetFor(*former));
        }
        attached_ = view().subviews();
        const std::vector<GridCell> cells = gridCells(attached_);
        const std::vector<int> labels = labelOf(attached_, cells);
        for (std::size_t i = 0; i < attached_.size(); ++i) {
            GtkWidget* child = widgetFor(*attached_[i]);
            gtk_grid_attach(GTK_GRID(grid_), child, cells[i].column, cells[i].row, cells[i].columns,
                            1);
            gtk_widget_show_all(child);
        }
        for (std::size_t i = 0; i < attached_.size(); ++i) {
            if (labels[i] >= 0) {
                ui::View& label = *attached_[static_cast<std::size_t>(labels[i])];
                Binding& labelBinding = owner().bindingFor(label);
                labelBinding.setLabelled(owner().bindingFor(*attached_[i]).labelTarget());
                labelBinding.sync();
            }
        }
        if (hadFocus) {
            gtk_widget_child_focus(grid_, GTK_DIR_TAB_FORWARD);
        }
    }

    std::string mnemonicSource() const override { return ""; }

private:
    bool focusWithinAttached() const {
        GtkWidget* top = gtk_widget_get_toplevel(grid_);
        GtkWidget* focus = GTK_IS_WINDOW(top) ? gtk_window_get_focus(GTK_WINDOW(top)) : nullptr;
        for (ui::View* former : attached_) {
            GtkWidget* child = widgetFor(*former);
            if (focus != nullptr && (focus == child || gtk_widget_is_ancestor(focus, child))) {
                return true;
            }
        }
        return false;
    }

    GtkWidget* grid_;
    std::vector<ui::View*> attached_;
};

class BoxBinding : public ContainerBinding {
public:
    BoxBinding(BindingOwner& owner, ui::Box& box)
        : ContainerBinding(owner, box, gtk_frame_new(nullptr)), box_(box) {}

protected:
    void refresh() override {
        ContainerBinding::refresh();
        gtk_frame_set_label(GTK_FRAME(widget()), box_.title().c_str());
    }

private:
    ui::Box& box_;
};

}  // namespace

std::unique_ptr<Binding> makeContainerBinding(BindingOwner& owner, ui::View& view) {
    return std::make_unique<ContainerBinding>(owner, view, nullptr);
}

std::unique_ptr<Binding> makeBoxBinding(BindingOwner& owner, ui::Box& box) {
    return std::make_unique<BoxBinding>(owner, box);
}

}  // namespace t48::gtkui::detail
