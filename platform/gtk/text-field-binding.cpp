// The restricted text field as a GtkEntry. GTK never edits the entry's text itself:
// each insertion and deletion the user makes becomes one edit of the field
// (replaceCharacters, which runs the field's textDidChange: and key filter), and the
// entry then shows the field's text, so a refused character never appears.

#include "binding.hpp"
#include "text-field.hpp"

namespace t48::gtkui::detail {
namespace {

// UTF-16 units before the `chars`-th character of UTF-8 `text`.
int unitsBefore(const char* text, int chars) {
    int units = 0;
    for (int i = 0; i < chars && *text != '\0'; ++i, text = g_utf8_next_char(text)) {
        units += g_utf8_get_char(text) > 0xFFFF ? 2 : 1;
    }
    return units;
}

// Characters in the first `units` UTF-16 units of `text`.
int charsBefore(const std::u16string& text, int units) {
    int chars = 0;
    for (int i = 0; i < units && i < static_cast<int>(text.size()); ++i) {
        const bool leading = text[static_cast<std::size_t>(i)] >= 0xD800 &&
                             text[static_cast<std::size_t>(i)] <= 0xDBFF;
        if (leading) {
            ++i;
        }
        ++chars;
    }
    return chars;
}

std::u16string utf16(const char* text, int bytes) {
    glong written = 0;
    gunichar2* units = g_utf8_to_utf16(text, bytes, nullptr, &written, nullptr);
    std::u16string result;
    if (units != nullptr) {
        result.assign(reinterpret_cast<const char16_t*>(units), static_cast<std::size_t>(written));
        g_free(units);
    }
    return result;
}

class TextFieldBinding : public Binding {
public:
    TextFieldBinding(Presentation& owner, ui::TextField& field)
        : Binding(owner, field, gtk_entry_new()), field_(field) {
        gtk_widget_set_hexpand(widget(), TRUE);
        g_signal_connect(widget(), "insert-text", G_CALLBACK(onInsert), this);
        g_signal_connect(widget(), "delete-text", G_CALLBACK(onDelete), this);
        g_signal_connect(widget(), "focus-out-event",
                         G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer data) -> gboolean {
                             static_cast<TextFieldBinding*>(data)->field_.endEditing();
                             return FALSE;
                         }),
                         this);
    }

protected:
    void refresh() override {
        const std::string text = field_.stringValue();
        if (text != gtk_entry_get_text(GTK_ENTRY(widget()))) {
            gtk_entry_set_text(GTK_ENTRY(widget()), text.c_str());
        }
    }

private:
    static void onInsert(GtkEditable* editable, gchar* text, gint bytes, gint* position,
                         gpointer data) {
        auto* self = static_cast<TextFieldBinding*>(data);
        if (self->isSyncing()) {
            return;
        }
        g_signal_stop_emission_by_name(editable, "insert-text");
        const char* shown = gtk_entry_get_text(GTK_ENTRY(editable));
        const int at = unitsBefore(shown, *position);
        self->edit({at, 0}, utf16(text, bytes));
        *position = gtk_editable_get_position(editable);
    }

    static void onDelete(GtkEditable* editable, gint start, gint end, gpointer data) {
        auto* self = static_cast<TextFieldBinding*>(data);
        if (self->isSyncing()) {
            return;
        }
        g_signal_stop_emission_by_name(editable, "delete-text");
        const char* shown = gtk_entry_get_text(GTK_ENTRY(editable));
        const int from = unitsBefore(shown, start);
        const int to = end < 0 ? unitsBefore(shown, G_MAXINT) : unitsBefore(shown, end);
        self->edit({from, to - from}, u"");
    }

    void edit(ui::TextRange range, std::u16string_view replacement) {
        field_.replaceCharacters(range, replacement);
        sync();
        const int cursor =
            field_.isEditing()
                ? charsBefore(field_.text(), field_.currentEditor().selectedRange().location)
                : static_cast<int>(field_.text().size());
        gtk_editable_set_position(GTK_EDITABLE(widget()), cursor);
        userChanged();
    }

    ui::TextField& field_;
};

}  // namespace

std::unique_ptr<Binding> makeTextFieldBinding(Presentation& owner, ui::Control& field) {
    return std::make_unique<TextFieldBinding>(owner, static_cast<ui::TextField&>(field));
}

}  // namespace t48::gtkui::detail
