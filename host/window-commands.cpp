#include "window-commands.hpp"

#include <charconv>

#include "control-json.hpp"
#include "text-field.hpp"
#include "utf16-text.hpp"

namespace t48::host {
namespace {

constexpr const char* kRowColumns[] = {"inmenu", "filename", "profilename", "location"};

pde::PDEWindowProtocol* openWindow(HostSession& session, std::string& error) {
    pde::PDEWindowProtocol* window = session.panel().modalWindow();
    if (window == nullptr) {
        error = "no window is open";
    }
    return window;
}

bool parseRow(const std::string& text, int& row, std::string& error) {
    const auto [end, parsed] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (parsed != std::errc() || end != text.data() + text.size()) {
        error = "not a row number: " + text;
        return false;
    }
    return true;
}

ui::TableView* tableWithRow(HostSession& session, const std::string& text, int& row, int lowest,
                            std::string& error) {
    pde::PDEWindowProtocol* window = openWindow(session, error);
    if (window == nullptr || !parseRow(text, row, error)) {
        return nullptr;
    }
    ui::TableView* table = window->windowTable();
    if (table == nullptr || row < lowest || row >= table->numberOfRows()) {
        error = "no row " + text + " in the table";
        return nullptr;
    }
    return table;
}

// OUTLET=TEXT of an open window's text field.
ui::TextField* textFieldArgument(HostSession& session, const std::string& argument,
                                 std::string& text, std::string& error) {
    const auto equals = argument.find('=');
    const std::string outlet = argument.substr(0, equals);
    text = equals == std::string::npos ? std::string() : argument.substr(equals + 1);
    if (openWindow(session, error) == nullptr) {
        return nullptr;
    }
    ui::Control* control = findWindowOutlet(session, outlet);
    if (control == nullptr || control->type() != ui::ControlType::TextField) {
        error = control == nullptr ? "no control " + outlet : outlet + " is no text field";
        return nullptr;
    }
    return static_cast<ui::TextField*>(control);
}

Json rowJSON(ui::TableView& table, int row) {
    Json json = {{"icon", false}};
    for (const ui::DrawnCell& cell : table.drawRow(row)) {
        if (cell.column == "icon") {
            json["icon"] = cell.drewImage;
            continue;
        }
        for (const char* name : kRowColumns) {
            if (cell.column == name) {
                json[name] = std::holds_alternative<int>(cell.value)
                                 ? Json(std::get<int>(cell.value))
                                 : Json(std::get<std::string>(cell.value));
            }
        }
    }
    return json;
}

}  // namespace

ui::Control* findWindowOutlet(HostSession& session, const std::string& outlet) {
    pde::PDEWindowProtocol* window = session.panel().modalWindow();
    if (window == nullptr) {
        return nullptr;
    }
    for (const pde::PDENamedControl& named : window->windowControls()) {
        if (named.outlet == outlet) {
            return named.control;
        }
    }
    return nullptr;
}

bool runWindow(HostSession& session, const std::string&, std::ostream& out, std::string& error) {
    pde::PDEWindowProtocol* window = openWindow(session, error);
    if (window == nullptr) {
        return false;
    }
    int classIndex = -1;
    Json controls = Json::object();
    for (const pde::PDENamedControl& named : window->windowControls()) {
        if (named.outlet == "_profileMenu") {
            classIndex = static_cast<const ui::PopUpButton*>(named.control)->indexOfSelectedItem();
        }
        controls[named.outlet] = controlJSON(*named.control);
    }
    ui::TableView* table = window->windowTable();
    Json rows = Json::array();
    for (int row = 0; table != nullptr && row < table->numberOfRows(); ++row) {
        rows.push_back(rowJSON(*table, row));
    }
    const Json shown = {{"class", classIndex},
                        {"mode", window->windowMode()},
                        {"selected", table != nullptr ? table->selectedRow() : -1},
                        {"rows", rows},
                        {"controls", controls}};
    out << jsonText(shown) << "\n";
    return true;
}

// A user's click on a row (-1: below the rows); the window may refuse the change.
bool runSelect(HostSession& session, const std::string& text, std::ostream&, std::string& error) {
    int row = 0;
    ui::TableView* table = tableWithRow(session, text, row, -1, error);
    if (table != nullptr) {
        table->userSelectRow(row);
    }
    return table != nullptr;
}

bool runTick(HostSession& session, const std::string& text, std::ostream&, std::string& error) {
    int row = 0;
    ui::TableView* table = tableWithRow(session, text, row, 0, error);
    if (table != nullptr) {
        table->userClickCell(row, "inmenu");
    }
    return table != nullptr;
}

// One edit per character (a character outside the BMP is one edit of two units).
bool runType(HostSession& session, const std::string& argument, std::ostream&, std::string& error) {
    std::string text;
    ui::TextField* field = textFieldArgument(session, argument, text, error);
    if (field == nullptr) {
        return false;
    }
    const std::u16string units = ui::utf16FromUtf8(text);
    for (std::size_t i = 0; i < units.size();) {
        const std::size_t length = ui::utf16CharacterLength(units, i);
        field->replaceCharacters({static_cast<int>(field->text().size()), 0},
                                 std::u16string_view(units).substr(i, length));
        i += length;
    }
    return true;
}

bool runPaste(HostSession& session, const std::string& argument, std::ostream&,
              std::string& error) {
    std::string text;
    ui::TextField* field = textFieldArgument(session, argument, text, error);
    if (field != nullptr) {
        field->replaceCharacters({static_cast<int>(field->text().size()), 0},
                                 ui::utf16FromUtf8(text));
    }
    return field != nullptr;
}

bool runClear(HostSession& session, const std::string& outlet, std::ostream&, std::string& error) {
    std::string ignored;
    ui::TextField* field = textFieldArgument(session, outlet, ignored, error);
    if (field != nullptr) {
        field->replaceCharacters({0, static_cast<int>(field->text().size())}, u"");
    }
    return field != nullptr;
}

// Presses _browse and answers its open panel with `path` ("-" cancels the panel).
bool runBrowse(HostSession& session, const std::string& path, std::ostream&, std::string& error) {
    pde::PDEWindowProtocol* window = openWindow(session, error);
    if (window == nullptr) {
        return false;
    }
    ui::Control* browse = findWindowOutlet(session, "_browse");
    ui::OpenPanel* panel = window->windowOpenPanel();
    if (browse == nullptr || browse->type() != ui::ControlType::PushButton || panel == nullptr) {
        error = "the window has no browse button";
        return false;
    }
    panel->setNextAnswer(path == "-" ? std::nullopt : std::optional<std::string>(path));
    static_cast<ui::PushButton*>(browse)->performClick();
    panel->setNextAnswer(std::nullopt);  // a disabled button opened no panel
    return true;
}

bool runWindowOK(HostSession& session, const std::string&, std::ostream&, std::string& error) {
    pde::PDEWindowProtocol* window = openWindow(session, error);
    if (window != nullptr) {
        window->windowOK();
    }
    return window != nullptr;
}

bool runWindowCancel(HostSession& session, const std::string&, std::ostream&, std::string& error) {
    pde::PDEWindowProtocol* window = openWindow(session, error);
    if (window != nullptr) {
        window->windowCancel();
    }
    return window != nullptr;
}

}  // namespace t48::host
