#include "control-json.hpp"

#include "json-text.hpp"
#include "text-field.hpp"

namespace t48::host {

std::string controlJSON(const ui::Control& control) {
    std::string out = "{";
    auto field = [&out](const char* name, const std::string& json) {
        out += (out.size() > 1 ? ", " : "") + jsonString(name) + ": " + json;
    };
    auto strings = [](auto count, auto at) {
        std::string list = "[";
        for (int i = 0; i < count; ++i) {
            list += (i > 0 ? ", " : "") + jsonString(at(i));
        }
        return list + "]";
    };
    switch (control.type()) {
        case ui::ControlType::PopUpButton: {
            const auto& popup = static_cast<const ui::PopUpButton&>(control);
            field("kind", jsonString("popup"));
            field("enabled", control.isEnabled() ? "true" : "false");
            field("selected", std::to_string(popup.indexOfSelectedItem()));
            field("items",
                  strings(popup.numberOfItems(), [&](int i) { return popup.itemTitleAtIndex(i); }));
            break;
        }
        case ui::ControlType::CheckBox: {
            const auto& box = static_cast<const ui::CheckBox&>(control);
            field("kind", jsonString("checkbox"));
            field("enabled", control.isEnabled() ? "true" : "false");
            field("state", std::to_string(box.state()));
            field("title", jsonString(box.title()));
            break;
        }
        case ui::ControlType::Label:
            field("kind", jsonString("label"));
            field("enabled", control.isEnabled() ? "true" : "false");
            field("text", jsonString(static_cast<const ui::Label&>(control).stringValue()));
            break;
        case ui::ControlType::PushButton:
            field("kind", jsonString("button"));
            field("enabled", control.isEnabled() ? "true" : "false");
            field("title", jsonString(static_cast<const ui::PushButton&>(control).title()));
            break;
        case ui::ControlType::TabView: {
            const auto& tabs = static_cast<const ui::TabView&>(control);
            field("kind", jsonString("tabview"));
            field("enabled", control.isEnabled() ? "true" : "false");
            field("labels",
                  strings(tabs.numberOfTabs(), [&](int i) { return tabs.labelAtIndex(i); }));
            field("selected", std::to_string(tabs.indexOfSelectedTab()));
            break;
        }
        case ui::ControlType::TextField:
            field("kind", jsonString("textfield"));
            field("enabled", control.isEnabled() ? "true" : "false");
            field("text", jsonString(static_cast<const ui::TextField&>(control).stringValue()));
            break;
        case ui::ControlType::TableView:
        case ui::ControlType::Box:
        case ui::ControlType::Generic:
            field("kind", jsonString("control"));
            field("enabled", control.isEnabled() ? "true" : "false");
            break;
    }
    return out + "}";
}

}  // namespace t48::host
