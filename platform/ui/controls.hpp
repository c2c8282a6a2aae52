#pragma once
// Headless controls: what the panel, the profile window and the text fields need of
// the platform's views and controls, and no more. Each control has an enabled flag
// and an action that it sends to its target when the user changes it.

#include <functional>
#include <string>
#include <vector>

namespace t48::ui {

struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
};
struct Point {
    double x = 0, y = 0;
};
struct Size {
    double width = 0, height = 0;
};

enum class CompositingOperation { Copy, SourceOver };

// One image drawn into a view, as a headless view keeps it.
struct ImageDrawing {
    std::string imagePath;
    Point point;  // the image's bottom-left corner in the view's coordinates
    Size size;
    CompositingOperation operation = CompositingOperation::SourceOver;
};

class Control;

class View {
public:
    virtual ~View() = default;
    // The control this view is, if it is one (no RTTI across a plug-in's boundary).
    virtual Control* asControl() { return nullptr; }

    // The name under which the interface definition knows this view ("" when none).
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }

    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& bounds) { bounds_ = bounds; }
    const Rect& frame() const { return frame_; }
    void setFrame(const Rect& frame) { frame_ = frame; }

    // The view does not own its subviews; the interface definition owns every view.
    const std::vector<View*>& subviews() const { return subviews_; }
    View* superview() const { return superview_; }
    void addSubview(View* view);
    // Puts `replacement` where `existing` was; `existing` leaves this view.
    void replaceSubview(View* existing, View* replacement);
    void removeFromSuperview();

    // A flipped view's y axis points down.
    bool isFlipped() const { return flipped_; }
    void setFlipped(bool flipped) { flipped_ = flipped; }
    // What has been drawn into the view, oldest first.
    const std::vector<ImageDrawing>& drawings() const { return drawings_; }
    void recordDrawing(ImageDrawing drawing) { drawings_.push_back(std::move(drawing)); }
    void clearDrawings() { drawings_.clear(); }

    // A window-system presentation of the view hears of every change the program makes
    // to what the view shows (value, items, enabled state, title, text, subviews).
    // Headless, nobody listens.
    using ChangeObserver = std::function<void(View& changed)>;
    void setChangeObserver(ChangeObserver observer) { observer_ = std::move(observer); }

protected:
    void didChange() {
        if (observer_) {
            observer_(*this);
        }
    }

private:
    ChangeObserver observer_;
    std::string identifier_;
    bool flipped_ = false;
    std::vector<ImageDrawing> drawings_;
    Rect bounds_;
    Rect frame_;
    std::vector<View*> subviews_;
    View* superview_ = nullptr;
};

// What kind of control an object is, for code that cannot rely on RTTI (a host looking
// at the controls of a plug-in built with hidden visibility).
enum class ControlType {
    Generic,
    PopUpButton,
    CheckBox,
    Label,
    PushButton,
    TabView,
    TextField,
    TableView,
    Box,
};

class Control : public View {
public:
    using Action = std::function<void(Control& sender)>;

    Control* asControl() override { return this; }
    virtual ControlType type() const { return ControlType::Generic; }

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) {
        if (enabled != enabled_) {
            enabled_ = enabled;
            didChange();
        }
    }

    void setAction(Action action) { action_ = std::move(action); }
    bool hasAction() const { return static_cast<bool>(action_); }
    // What a user's change does after the control took its new value.
    void sendAction() {
        if (action_) {
            action_(*this);
        }
    }

private:
    bool enabled_ = true;
    Action action_;
};

class PopUpButton : public Control {
public:
    ControlType type() const override { return ControlType::PopUpButton; }
    struct Item {
        std::string title;
        std::string keyword;  // the represented keyword attached to the item
    };

    bool hasMenu() const { return hasMenu_; }
    void setHasMenu(bool hasMenu) { hasMenu_ = hasMenu; }

    void removeAllItems();
    void addItemWithTitle(const std::string& title);
    void setKeywordAtIndex(int index, const std::string& keyword);
    int numberOfItems() const { return static_cast<int>(items_.size()); }
    const std::string& itemTitleAtIndex(int index) const;
    const std::string& keywordAtIndex(int index) const;
    const std::vector<Item>& items() const { return items_; }

    // -1 when nothing is selected.
    int indexOfSelectedItem() const { return selected_; }
    // -1, or an index outside the items, clears the selection.
    void selectItemAtIndex(int index);

private:
    bool hasMenu_ = true;
    std::vector<Item> items_;
    int selected_ = -1;
};

class CheckBox : public Control {
public:
    ControlType type() const override { return ControlType::CheckBox; }
    int state() const { return state_; }
    void setState(int state) {
        state_ = state;
        didChange();
    }
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) {
        title_ = title;
        didChange();
    }

private:
    int state_ = 0;
    std::string title_;
};

class Label : public Control {
public:
    ControlType type() const override { return ControlType::Label; }
    const std::string& stringValue() const { return text_; }
    void setStringValue(const std::string& text) {
        text_ = text;
        didChange();
    }

private:
    std::string text_;
};

class PushButton : public Control {
public:
    ControlType type() const override { return ControlType::PushButton; }
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) {
        title_ = title;
        didChange();
    }
    // A user's press: sends the action when the button is enabled.
    void performClick();

    // The key that presses the button in its window: kKeyReturn for the window's default
    // button, kKeyEscape for its cancel button, "" for none.
    static constexpr const char* kKeyReturn = "\r";
    static constexpr const char* kKeyEscape = "\x1b";
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }

private:
    std::string title_;
    std::string keyEquivalent_;
};

// Its subviews, when it has any, are the content views of its tabs, in tab order.
class TabView : public Control {
public:
    explicit TabView(int tabCount = 0) : labels_(static_cast<size_t>(tabCount)) {}
    ControlType type() const override { return ControlType::TabView; }
    int numberOfTabs() const { return static_cast<int>(labels_.size()); }
    const std::string& labelAtIndex(int index) const {
        return labels_.at(static_cast<size_t>(index));
    }
    void setLabelAtIndex(int index, const std::string& label) {
        labels_.at(static_cast<size_t>(index)) = label;
        didChange();
    }
    int indexOfSelectedTab() const { return selected_; }
    void selectTabAtIndex(int index);

private:
    std::vector<std::string> labels_;
    int selected_ = 0;
};

// A titled frame around a group of controls.
class Box : public Control {
public:
    ControlType type() const override { return ControlType::Box; }
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) {
        title_ = title;
        didChange();
    }

private:
    std::string title_;
};

}  // namespace t48::ui
