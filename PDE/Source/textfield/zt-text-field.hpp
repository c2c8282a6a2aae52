#pragma once
// A text field that checks every edit as it happens: a length limit, optionally a base
// name with one "." and a short extension, and a character set chosen by a key filter.
// A rejected edit is undone by restoring the last accepted text; characters outside the
// set are removed. The field can drive a control (the window's local OK button),
// enabling it only while the text is usable as a file name.

#include <cstdint>
#include <string>

#include "key-filters.hpp"
#include "text-field.hpp"

namespace t48::pde {

class ZTTextField : public ui::TextField {
public:
    void setMaxLength(int32_t maxLength, int32_t extension) {
        maxLen = maxLength;
        maxExtension = extension;
    }
    void setInputKey(int32_t key) { inputkey = key; }
    void setOperateControl(ui::Control* control) { operateOutlet = control; }
    // The last accepted text, restored when an edit is rejected.
    void setOldString(const std::u16string& text) { oldValue = text; }

    // True when `text` keeps the field's length and shape limits (not its key filter).
    bool bFitsLimits(const std::u16string& text) const;

    bool textShouldBeginEditing(ui::FieldEditor& editor) override;
    bool textShouldEndEditing(ui::FieldEditor& editor) override;
    // Checks the edit just made; see the class comment.
    void textDidChange(ui::FieldEditor& editor) override;

    ui::Control* operateOutlet = nullptr;
    int16_t index = 0;  // not used by the field itself
    int32_t inputkey = 0;
    int32_t maxLen = 0;        // UTF-16 units
    int32_t maxExtension = 0;  // 0: no base-and-extension rules
    std::u16string oldValue;
    ui::FieldEditor* textObj = nullptr;

private:
    // Whether the text breaks the length or shape limits.
    bool exceedsLength(const std::u16string& text) const;
    bool breaksShape(const std::u16string& text) const;
    void restoreOldValue(int insertionPoint);
    void filterText(int selectionStart);
    void updateOperateControl();
};

}  // namespace t48::pde
