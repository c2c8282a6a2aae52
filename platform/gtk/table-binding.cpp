// The table view as a GtkTreeView over a list store. Each row is drawn through the
// table (the data source's values, the cells' images): a check box cell becomes a
// toggle, a cell that drew an image shows it at 16 x 16, every other cell its text. A
// click on a row asks the table's delegate; a click on a toggle is the table's cell click.

#include <map>
#include <variant>

#include "binding.hpp"
#include "cell.hpp"
#include "table-view.hpp"

namespace t48::gtkui::detail {
namespace {

constexpr int kIconSize = 16;
// Store columns per table column: image, tick, whether the tick shows, text.
constexpr int kStorePerColumn = 4;

class TableBinding : public Binding {
public:
    TableBinding(BindingOwner& owner, ui::TableView& table)
        : Binding(owner, table, gtk_scrolled_window_new(nullptr, nullptr)), table_(table) {
        const int columns = static_cast<int>(table.tableColumns().size());
        std::vector<GType> types;
        for (int i = 0; i < columns; ++i) {
            types.insert(types.end(),
                         {GDK_TYPE_PIXBUF, G_TYPE_BOOLEAN, G_TYPE_BOOLEAN, G_TYPE_STRING});
        }
        store_ = gtk_list_store_newv(static_cast<gint>(types.size()), types.data());
        tree_ = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store_));
        g_object_unref(store_);  // the tree view's
        gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(widget()), GTK_POLICY_AUTOMATIC,
                                       GTK_POLICY_AUTOMATIC);
        gtk_scrolled_window_set_min_content_height(GTK_SCROLLED_WINDOW(widget()), 160);
        gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(widget()), GTK_SHADOW_IN);
        gtk_widget_set_hexpand(widget(), TRUE);
        gtk_widget_set_vexpand(widget(), TRUE);
        gtk_container_add(GTK_CONTAINER(widget()), tree_);
        for (int i = 0; i < columns; ++i) {
            addColumn(i);
        }
        onUserChange<>(gtk_tree_view_get_selection(GTK_TREE_VIEW(tree_)), "changed",
                       [this] { table_.userSelectRow(widgetSelection()); });
    }
    ~TableBinding() override {
        for (const auto& [path, icon] : icons_) {
            if (icon != nullptr) {
                g_object_unref(icon);
            }
        }
    }

    GtkWidget* labelTarget() const override { return tree_; }

protected:
    void refresh() override {
        GtkTreeModel* model = GTK_TREE_MODEL(store_);
        const int rows = table_.numberOfRows();
        while (gtk_tree_model_iter_n_children(model, nullptr) > rows) {
            GtkTreeIter last;
            gtk_tree_model_iter_nth_child(model, &last, nullptr,
                                          gtk_tree_model_iter_n_children(model, nullptr) - 1);
            gtk_list_store_remove(store_, &last);
        }
        for (int row = 0; row < rows; ++row) {
            GtkTreeIter iter;
            if (!gtk_tree_model_iter_nth_child(model, &iter, nullptr, row)) {
                gtk_list_store_append(store_, &iter);
            }
            fillRow(iter, row);
        }
        table_.clearDrawings();
        GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(tree_));
        if (widgetSelection() != table_.selectedRow()) {
            gtk_tree_selection_unselect_all(selection);
            if (table_.selectedRow() >= 0) {
                GtkTreePath* path = gtk_tree_path_new_from_indices(table_.selectedRow(), -1);
                gtk_tree_selection_select_path(selection, path);
                gtk_tree_path_free(path);
            }
        }
        gtk_widget_set_sensitive(tree_, table_.isEnabled());
    }

private:
    // Every column can show an image, a tick and a text: the data source may install a
    // check box cell in a column only when it is drawn.
    void addColumn(int index) {
        ui::TableColumn& model = *table_.tableColumns()[static_cast<std::size_t>(index)];
        GtkTreeViewColumn* column = gtk_tree_view_column_new();
        gtk_tree_view_column_set_title(column, model.title().c_str());
        const int base = index * kStorePerColumn;
        GtkCellRenderer* image = gtk_cell_renderer_pixbuf_new();
        GtkCellRenderer* toggle = gtk_cell_renderer_toggle_new();
        GtkCellRenderer* text = gtk_cell_renderer_text_new();
        onUserChange<gchar*>(toggle, "toggled", [this, column = model.identifier()](gchar* path) {
            table_.userClickCell(static_cast<int>(g_ascii_strtoll(path, nullptr, 10)), column);
        });
        gtk_tree_view_column_pack_start(column, image, FALSE);
        gtk_tree_view_column_add_attribute(column, image, "pixbuf", base);
        gtk_tree_view_column_pack_start(column, toggle, FALSE);
        gtk_tree_view_column_add_attribute(column, toggle, "active", base + 1);
        gtk_tree_view_column_add_attribute(column, toggle, "visible", base + 2);
        gtk_tree_view_column_pack_start(column, text, TRUE);
        gtk_tree_view_column_add_attribute(column, text, "text", base + 3);
        gtk_tree_view_column_set_resizable(column, TRUE);
        gtk_tree_view_append_column(GTK_TREE_VIEW(tree_), column);
    }

    void fillRow(GtkTreeIter& iter, int row) {
        const std::vector<ui::DrawnCell> drawn = table_.drawRow(row);
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            const int base = static_cast<int>(i) * kStorePerColumn;
            const ui::ObjectValue& value = drawn[i].value;
            ui::Cell* cell = table_.tableColumns()[i]->dataCell();
            GdkPixbuf* pixbuf = nullptr;
            if (drawn[i].drewImage) {
                pixbuf = iconFor(cell != nullptr && cell->image() ? cell->image()->path() : "");
            }
            const bool isBox = cell != nullptr && cell->asButtonCell() != nullptr &&
                               std::holds_alternative<int>(value);
            const bool ticked = isBox && std::get<int>(value) != 0;
            const std::string text =
                std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "";
            gtk_list_store_set(store_, &iter, base, pixbuf, base + 1, ticked, base + 2, isBox,
                               base + 3, text.c_str(), -1);
        }
    }

    // The image file at 16 x 16, read once; the theme's printer icon where GDK cannot
    // read it.
    GdkPixbuf* iconFor(const std::string& path) {
        auto [entry, added] = icons_.try_emplace(path, nullptr);
        if (added) {
            entry->second =
                gdk_pixbuf_new_from_file_at_size(path.c_str(), kIconSize, kIconSize, nullptr);
            if (entry->second == nullptr) {
                entry->second =
                    gtk_icon_theme_load_icon(gtk_icon_theme_get_default(), "printer", kIconSize,
                                             GTK_ICON_LOOKUP_FORCE_SIZE, nullptr);
            }
        }
        return entry->second;
    }

    int widgetSelection() const {
        GtkTreeIter iter;
        GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(tree_));
        if (!gtk_tree_selection_get_selected(selection, nullptr, &iter)) {
            return -1;
        }
        GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(store_), &iter);
        const int row = gtk_tree_path_get_indices(path)[0];
        gtk_tree_path_free(path);
        return row;
    }

    ui::TableView& table_;
    GtkListStore* store_ = nullptr;  // the tree view's
    GtkWidget* tree_ = nullptr;
    std::map<std::string, GdkPixbuf*> icons_;  // by path
};

}  // namespace

std::unique_ptr<Binding> makeTableBinding(BindingOwner& owner, ui::Control& table) {
    return std::make_unique<TableBinding>(owner, static_cast<ui::TableView&>(table));
}

}  // namespace t48::gtkui::detail
