#include "host-commands.hpp"

#include <charconv>

#include "control-json.hpp"
#include "queue-commands.hpp"
#include "window-commands.hpp"

namespace t48::host {
namespace {

using pde::PDENamedControl;

struct CommandRow {
    const char* name;
    bool takesArgument;
    bool (*run)(HostSession& session, const std::string& argument, std::ostream& out,
                std::string& error);
};

// The pane in the panel's container, by the identifiers of its views.
std::string visiblePane(const ui::View* main) {
    if (main == nullptr) {
        return "";
    }
    for (const ui::View* child : main->subviews()) {
        if (child->identifier() != pde::kPDEContainerViewID || child->subviews().empty()) {
            continue;
        }
        const std::string& shown = child->subviews().front()->identifier();
        return shown == pde::kPDEAdvancedPaneID ? "advanced"
               : shown == pde::kPDEColorPaneID  ? "color"
                                                : "";
    }
    return "";
}

// While a window is open it takes every user action: its controls, not the panel's.
ui::Control* findOutlet(HostSession& session, const std::string& outlet) {
    if (session.panel().modalWindow() != nullptr) {
        return findWindowOutlet(session, outlet);
    }
    for (const PDENamedControl& named : session.panel().interfaceControls()) {
        if (named.outlet == outlet) {
            return named.control;
        }
    }
    return nullptr;
}

bool runShow(HostSession& session, const std::string&, std::ostream& out, std::string&) {
    Json controls = Json::object();
    for (const PDENamedControl& named : session.panel().interfaceControls()) {
        controls[named.outlet] = controlJSON(*named.control);
    }
    const Json shown = {{"pane", visiblePane(session.panelSession().view())},
                        {"controls", controls}};
    out << jsonText(shown) << "\n";
    return true;
}

bool runSet(HostSession& session, const std::string& argument, std::ostream&, std::string& error) {
    const auto equals = argument.find('=');
    const std::string outlet = argument.substr(0, equals);
    const std::string text = argument.substr(equals + 1);
    int value = 0;
    const auto [end, parsed] = std::from_chars(text.data(), text.data() + text.size(), value);
    ui::Control* control = findOutlet(session, outlet);
    if (control == nullptr) {
        error = "no control " + outlet;
        return false;
    }
    if (parsed != std::errc() || end != text.data() + text.size()) {
        error = "set " + argument + ": the value is not a number";
        return false;
    }
    // A user cannot change a disabled control: nothing happens.
    if (!control->isEnabled()) {
        return true;
    }
    switch (control->type()) {
        case ui::ControlType::PopUpButton: {
            auto& popup = static_cast<ui::PopUpButton&>(*control);
            if (value < 0 || value >= popup.numberOfItems()) {
                error = "set " + argument + ": " + outlet + " has " +
                        std::to_string(popup.numberOfItems()) + " items";
                return false;
            }
            popup.selectItemAtIndex(value);
            break;
        }
        case ui::ControlType::CheckBox:
            if (value != 0 && value != 1) {
                error = "set " + argument + ": a check box takes 0 or 1";
                return false;
            }
            static_cast<ui::CheckBox&>(*control).setState(value);
            break;
        case ui::ControlType::TabView: {
            auto& tabs = static_cast<ui::TabView&>(*control);
            if (value < 0 || value >= tabs.numberOfTabs()) {
                error = "set " + argument + ": " + outlet + " has " +
                        std::to_string(tabs.numberOfTabs()) + " tabs";
                return false;
            }
            tabs.selectTabAtIndex(value);
            return true;  // choosing a tab sends no action
        }
        default:
            error = "set " + argument + ": " + outlet + " takes no value";
            return false;
    }
    control->sendAction();
    return true;
}

bool runClick(HostSession& session, const std::string& outlet, std::ostream&, std::string& error) {
    ui::Control* control = findOutlet(session, outlet);
    if (control == nullptr || control->type() != ui::ControlType::PushButton) {
        error = control == nullptr ? "no control " + outlet : outlet + " is no button";
        return false;
    }
    static_cast<ui::PushButton&>(*control).performClick();
    return true;
}

bool runKeys(HostSession& session, const std::string&, std::ostream& out, std::string&) {
    out << jsonText(session.panel().supportedPPDOptionKeys()) << "\n";
    return true;
}

bool runTicket(HostSession& session, const std::string&, std::ostream& out, std::string&) {
    out << jsonText(jsonFromValue(*session.printSettings().dictionary())) << "\n";
    return true;
}

bool runSummary(HostSession& session, const std::string&, std::ostream& out, std::string& error) {
    const cf::ValueRef summary = session.panel().summaryInfo();
    if (!summary) {
        error = "the panel gave no summary";
        return false;
    }
    out << jsonText(jsonFromValue(*summary)) << "\n";
    return true;
}

// The job options a print carries: the print settings' top-level strings, after the
// panel's last word.
bool runPrint(HostSession& session, const std::string&, std::ostream& out, std::string&) {
    out << jsonText(jobOptionsJSON(session.panelSession().lastWordOptions())) << "\n";
    return true;
}

constexpr CommandRow kCommands[] = {
    {"show", false, runShow},
    {"set", true, runSet},
    {"click", true, runClick},
    {"keys", false, runKeys},
    {"ticket", false, runTicket},
    {"summary", false, runSummary},
    {"print", false, runPrint},
    {"submit", true, runSubmit},
    {"save-defaults", false, runSaveDefaults},
    {"window", false, runWindow},
    {"select", true, runSelect},
    {"tick", true, runTick},
    {"type", true, runType},
    {"paste", true, runPaste},
    {"clear", true, runClear},
    {"browse", true, runBrowse},
    {"window-ok", false, runWindowOK},
    {"window-cancel", false, runWindowCancel},
};

const CommandRow* findCommand(const std::string& name) {
    for (const CommandRow& row : kCommands) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

bool parseCommands(const std::vector<std::string>& words, std::vector<HostCommand>& commands,
                   std::string& error) {
    for (size_t i = 0; i < words.size(); ++i) {
        const CommandRow* row = findCommand(words[i]);
        if (row == nullptr) {
            error = "unknown command " + words[i];
            return false;
        }
        HostCommand command{words[i], ""};
        if (row->takesArgument) {
            if (i + 1 >= words.size()) {
                error = words[i] + " needs an argument";
                return false;
            }
            command.argument = words[++i];
            const bool assigns =
                command.name == "set" || command.name == "type" || command.name == "paste";
            if (assigns && command.argument.find('=') == std::string::npos) {
                error = command.name + " takes OUTLET=VALUE, not " + command.argument;
                return false;
            }
        }
        commands.push_back(std::move(command));
    }
    return true;
}

bool commandTakesArgument(const std::string& word) {
    const CommandRow* row = findCommand(word);
    return row != nullptr && row->takesArgument;
}

bool runCommand(HostSession& session, const HostCommand& command, std::ostream& out,
                std::string& error) {
    const CommandRow* row = findCommand(command.name);
    return row != nullptr && row->run(session, command.argument, out, error);
}

}  // namespace t48::host
