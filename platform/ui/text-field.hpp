#pragma once
// Headless text field with the platform's editing model: the text is UTF-16, a user's
// edit replaces a range of it through the field editor, and the field hears of it
// before editing begins, after each change and before editing ends.

#include <string>
#include <string_view>

#include "controls.hpp"

namespace t48::ui {

// A range of UTF-16 units; length 0 is an insertion point.
struct TextRange {
    int location = 0;
    int length = 0;
};

// The editor a field uses while it is being edited: the selection within its text.
class FieldEditor {
public:
    const TextRange& selectedRange() const { return selected_; }
    void setSelectedRange(TextRange range) { selected_ = range; }

private:
    TextRange selected_;
};

class TextField : public Control {
public:
    ControlType type() const override { return ControlType::TextField; }

    const std::u16string& text() const { return text_; }
    // UTF-8 of the text (unpaired surrogates as U+FFFD).
    std::string stringValue() const;
    // Replaces the text as a program does, not as an edit: editing in progress is
    // abandoned, so the next edit begins editing again.
    void setText(std::u16string text);
    void setStringValue(const std::string& text);

    bool isEditing() const { return editing_; }
    FieldEditor& currentEditor() { return editor_; }
    const FieldEditor& currentEditor() const { return editor_; }

    // A user's edit: replaces `range` (clipped to the text) with `replacement` as one
    // change, beginning editing first when needed. False when the field is disabled or
    // refused to begin editing.
    bool replaceCharacters(TextRange range, std::u16string_view replacement);
    // Ends editing when the field agrees; true when it is no longer editing.
    bool endEditing();

protected:
    // Replaces the text from within the field's own hooks: editing goes on, with the
    // insertion point at the end of the new text.
    void setEditedText(std::u16string text);

    // The field's hooks, as the platform's text field delegate calls them.
    virtual bool textShouldBeginEditing(FieldEditor& editor);
    virtual bool textShouldEndEditing(FieldEditor& editor);
    virtual void textDidChange(FieldEditor& editor);

private:
    std::u16string text_;
    FieldEditor editor_;
    bool editing_ = false;
};

}  // namespace t48::ui
