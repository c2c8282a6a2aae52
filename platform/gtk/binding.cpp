#include "binding.hpp"

namespace t48::gtkui::detail {

Binding::Binding(BindingOwner& owner, ui::View& view, GtkWidget* widget)
    : owner_(owner), view_(view), widget_(GTK_WIDGET(g_object_ref_sink(widget))) {}

Binding::~Binding() {
    disconnect();
    g_object_unref(widget_);
}

void Binding::connect(gpointer instance, const char* signal, GCallback handler) {
    connections_.emplace_back(instance, signal, handler, this);
}

void Binding::sync() {
    ++syncing_;
    refresh();
    if (ui::Control* control = view_.asControl()) {
        if (static_cast<bool>(gtk_widget_get_sensitive(widget_)) != control->isEnabled()) {
            gtk_widget_set_sensitive(widget_, control->isEnabled());
        }
    }
    --syncing_;
}

void Binding::userChanged() {
    sync();
    owner_.userDidChange();
}

std::string Binding::mnemonicText(const std::string& text) const {
    std::string marked;
    bool placed = mnemonic_ == 0;
    for (const char* at = text.c_str(); *at != '\0'; at = g_utf8_next_char(at)) {
        const gunichar c = g_utf8_get_char(at);
        if (!placed && g_unichar_tolower(c) == mnemonic_) {
            marked += '_';
            placed = true;
        }
        if (c == '_') {
            marked += '_';
        }
        marked.append(at, static_cast<std::size_t>(g_utf8_next_char(at) - at));
    }
    return marked;
}

std::string accessibleNameFromLabel(const std::string& text) {
    std::string name = text;
    while (!name.empty() && (name.back() == ':' || name.back() == ' ')) {
        name.pop_back();
    }
    return name;
}

void setAccessibleName(GtkWidget* widget, const std::string& name) {
    if (AtkObject* accessible = gtk_widget_get_accessible(widget)) {
        atk_object_set_name(accessible, name.c_str());
    }
}

}  // namespace t48::gtkui::detail
