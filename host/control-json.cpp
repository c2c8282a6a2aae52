#include "control-json.hpp"

#include "text-field.hpp"

namespace t48::host {
namespace {

// The kind each control type shows as.
const char* kindOf(ui::ControlType type) {
    switch (type) {
        case ui::ControlType::PopUpButton:
            return "popup";
        case ui::ControlType::CheckBox:
            return "checkbox";
        case ui::ControlType::Label:
            return "label";
        case ui::ControlType::PushButton:
            return "button";
        case ui::ControlType::TabView:
            return "tabview";
        case ui::ControlType::TextField:
            return "textfield";
        case ui::ControlType::TableView:
        case ui::ControlType::Box:
        case ui::ControlType::Generic:
            break;
    }
    return "control";
}

template <typename Count, typename At>
Json strings(Count count, At at) {
    Json list = Json::array();
    for (int i = 0; i < count; ++i) {
        list.push_back(at(i));
    }
    return list;
}

}  // namespace

Json controlJSON(const ui::Control& control) {
    Json json = {{"kind", kindOf(control.type())}, {"enabled", control.isEnabled()}};
    switch (control.type()) {
        case ui::ControlType::PopUpButton: {
            const auto& popup = static_cast<const ui::PopUpButton&>(control);
            json["selected"] = popup.indexOfSelectedItem();
            json["items"] =
                strings(popup.numberOfItems(), [&](int i) { return popup.itemTitleAtIndex(i); });
            break;
        }
        case ui::ControlType::CheckBox: {
            const auto& box = static_cast<const ui::CheckBox&>(control);
            json["state"] = box.state();
            json["title"] = box.title();
            break;
        }
        case ui::ControlType::Label:
            json["text"] = static_cast<const ui::Label&>(control).stringValue();
            break;
        case ui::ControlType::PushButton:
            json["title"] = static_cast<const ui::PushButton&>(control).title();
            break;
        case ui::ControlType::TabView: {
            const auto& tabs = static_cast<const ui::TabView&>(control);
            json["labels"] =
                strings(tabs.numberOfTabs(), [&](int i) { return tabs.labelAtIndex(i); });
            json["selected"] = tabs.indexOfSelectedTab();
            break;
        }
        case ui::ControlType::TextField:
            json["text"] = static_cast<const ui::TextField&>(control).stringValue();
            break;
        case ui::ControlType::TableView:
        case ui::ControlType::Box:
        case ui::ControlType::Generic:
            break;
    }
    return json;
}

}  // namespace t48::host
