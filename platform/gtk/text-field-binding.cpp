// The restricted text field as a GtkEntry. GTK never edits the entry's text itself:
// each insertion and deletion the user makes becomes one edit of the field
// (replaceCharacters, which runs the field's textDidChange: and key filter), and the
// entry then shows the field's text, so a refused character never appears. The entry
// counts characters, the field UTF-16 units.

#include <limits>

#include "binding.hpp"
#include "text-field.hpp"
#include "utf16-text.hpp"

namespace t48::gtkui::detail {
namespace {

class TextFieldBinding : public Binding {
public:
    TextFieldBinding(BindingOwner& owner, ui::TextField& field)
        : Binding(owner, field, gtk_entry_new()), field_(field) {
        gtk_widget_set_hexpand(widget(), TRUE);
        onUserChange<gchar*, gint, gint*>(
            widget(), "insert-text", [this](gchar* text, gint bytes, gint* position) {
                g_signal_stop_emission_by_name(widget(), "insert-text");
                const std::string_view inserted =
                    bytes < 0 ? std::string_view(text) : std::string_view(text, bytes);
                const std::size_t at = ui::utf16UnitCount(shown(), *position);
                edit({static_cast<int>(at), 0}, ui::utf16FromUtf8(inserted));
                *position = gtk_editable_get_position(GTK_EDITABLE(widget()));
            });
        onUserChange<gint, gint>(widget(), "delete-text", [this](gint start, gint end) {
            g_signal_stop_emission_by_name(widget(), "delete-text");
            const std::size_t from = ui::utf16UnitCount(shown(), start);
            const std::size_t to = ui::utf16UnitCount(
                shown(), end < 0 ? std::numeric_limits<std::size_t>::max() : end);
            edit({static_cast<int>(from), static_cast<int>(to - from)}, u"");
        });
        connect(widget(), "focus-out-event",
                G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) -> gboolean {
                    static_cast<TextFieldBinding*>(data)->field_.endEditing();
                    return FALSE;
                }));
    }

protected:
    void refresh() override {
        const std::string text = field_.stringValue();
        if (text != shown()) {
            gtk_entry_set_text(GTK_ENTRY(widget()), text.c_str());
        }
    }

private:
    std::string_view shown() const { return gtk_entry_get_text(GTK_ENTRY(widget())); }

    // One edit of the field, shown with the cursor where the field's editor has it.
    void edit(ui::TextRange range, std::u16string_view replacement) {
        field_.replaceCharacters(range, replacement);
        sync();
        const std::size_t cursor =
            field_.isEditing()
                ? static_cast<std::size_t>(field_.currentEditor().selectedRange().location)
                : field_.text().size();
        gtk_editable_set_position(GTK_EDITABLE(widget()), static_cast<gint>(ui::utf16CharacterCount(
                                                              field_.text(), cursor)));
    }

    ui::TextField& field_;
};

}  // namespace

std::unique_ptr<Binding> makeTextFieldBinding(BindingOwner& owner, ui::Control& field) {
    return std::make_unique<TextFieldBinding>(owner, static_cast<ui::TextField&>(field));
}

}  // namespace t48::gtkui::detail
