// The tab view as a GtkNotebook: one page per content view, titled by the tab's label.
// The user's choice of tab selects it in the tab view.

#include "binding.hpp"

namespace t48::gtkui::detail {
namespace {

class TabViewBinding : public Binding {
public:
    TabViewBinding(BindingOwner& owner, ui::TabView& tabs)
        : Binding(owner, tabs, gtk_notebook_new()), tabs_(tabs) {
        onUserChange<GtkWidget*, guint>(widget(), "switch-page", [this](GtkWidget*, guint page) {
            tabs_.selectTabAtIndex(static_cast<int>(page));
        });
    }
    // The notebook goes with its parent, after this binding: its pages leave it then.
    ~TabViewBinding() override { hideTabs(); }

protected:
    void refresh() override {
        GtkNotebook* notebook = GTK_NOTEBOOK(widget());
        if (tabs_.subviews() != pages_) {
            removePages();
            pages_ = tabs_.subviews();
            for (ui::View* page : pages_) {
                GtkWidget* child = widgetFor(*page);
                gtk_container_set_border_width(GTK_CONTAINER(child), 6);
                gtk_notebook_append_page(notebook, child, nullptr);
                gtk_widget_show_all(child);
            }
        }
        for (int i = 0; i < static_cast<int>(pages_.size()) && i < tabs_.numberOfTabs(); ++i) {
            GtkWidget* page = gtk_notebook_get_nth_page(notebook, i);
            gtk_notebook_set_tab_label_text(notebook, page, tabs_.labelAtIndex(i).c_str());
        }
        if (gtk_notebook_get_current_page(notebook) != tabs_.indexOfSelectedTab()) {
            gtk_notebook_set_current_page(notebook, tabs_.indexOfSelectedTab());
        }
    }

private:
    // GTK 3's accessible of a notebook page asks for the tab label of a page that has
    // just left the notebook (a Gtk-CRITICAL): with the tabs hidden it asks for none.
    void hideTabs() { gtk_notebook_set_show_tabs(GTK_NOTEBOOK(widget()), FALSE); }

    void removePages() {
        if (pages_.empty()) {
            return;
        }
        hideTabs();
        for (ui::View* former : pages_) {
            gtk_container_remove(GTK_CONTAINER(widget()), widgetFor(*former));
        }
        gtk_notebook_set_show_tabs(GTK_NOTEBOOK(widget()), TRUE);
    }

    ui::TabView& tabs_;
    std::vector<ui::View*> pages_;
};

}  // namespace

std::unique_ptr<Binding> makeTabViewBinding(BindingOwner& owner, ui::TabView& tabs) {
    return std::make_unique<TabViewBinding>(owner, tabs);
}

}  // namespace t48::gtkui::detail
