// The restricted text field as a GtkEntry. GTK never edits the entry's text itself:
// each insertion and deletion the user makes becomes one edit of the field
// (replaceCharacters, which runs the field's textDidChange: and key filter), and the
// entry then shows the field's text, so a refused character never appears. The entry
// changes only where the field's text differs from what it shows, so a screen reader
// hears of the edit the user made, not of the whole text replaced. The entry counts
// characters, the field UTF-16 units.

#include <algorithm>
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
        const std::string former(shown());
        if (text == former) {
            return;
        }
        // The unchanged beginning and end, in whole characters.
        std::size_t head = 0;
        while (head < former.size() && head < text.size() && former[head] == text[head]) {
            ++head;
        }
        while (head > 0 && isContinuation(text, head)) {
            --head;
        }
        std::size_t tail = 0;
        const std::size_t most = std::min(former.size(), text.size()) - head;
        while (tail < most && former[former.size() - 1 - tail] == text[text.size() - 1 - tail]) {
            ++tail;
        }
        while (tail > 0 && isContinuation(text, text.size() - tail)) {
            --tail;
        }
        GtkEditable* editable = GTK_EDITABLE(widget());
        gint at = static_cast<gint>(g_utf8_strlen(former.data(), static_cast<gssize>(head)));
        const gint removed = static_cast<gint>(
            g_utf8_strlen(former.data() + head, static_cast<gssize>(former.size() - head - tail)));
        if (removed > 0) {
            gtk_editable_delete_text(editable, at, at + removed);
        }
        const std::size_t added = text.size() - head - tail;
        if (added > 0) {
            gtk_editable_insert_text(editable, text.data() + head, static_cast<gint>(added), &at);
        }
    }

private:
    std::string_view shown() const { return gtk_entry_get_text(GTK_ENTRY(widget())); }

    static bool isContinuation(const std::string& text, std::size_t at) {
        return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    }

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
