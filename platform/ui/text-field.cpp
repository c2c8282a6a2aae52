#include "text-field.hpp"

#include <algorithm>

#include "utf16-text.hpp"

namespace t48::ui {

std::string TextField::stringValue() const {
    return utf8FromUtf16(text_);
}

void TextField::setText(std::u16string text) {
    text_ = std::move(text);
    editing_ = false;
    didChange();
}

void TextField::setEditedText(std::u16string text) {
    text_ = std::move(text);
    if (editing_) {
        editor_.setSelectedRange({static_cast<int>(text_.size()), 0});
    }
    didChange();
}

void TextField::setStringValue(const std::string& text) {
    setText(utf16FromUtf8(text));
}

bool TextField::replaceCharacters(TextRange range, std::u16string_view replacement) {
    if (!isEnabled()) {
        return false;
    }
    if (!editing_) {
        editor_.setSelectedRange({static_cast<int>(text_.size()), 0});
        if (!textShouldBeginEditing(editor_)) {
            return false;
        }
        editing_ = true;
    }
    const int size = static_cast<int>(text_.size());
    const int start = std::clamp(range.location, 0, size);
    const int end = std::clamp(range.location + std::max(range.length, 0), start, size);
    text_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start),
                  replacement);
    editor_.setSelectedRange({start + static_cast<int>(replacement.size()), 0});
    textDidChange(editor_);
    didChange();
    return true;
}

bool TextField::endEditing() {
    if (editing_ && textShouldEndEditing(editor_)) {
        editing_ = false;
    }
    return !editing_;
}

bool TextField::textShouldBeginEditing(FieldEditor&) {
    return isEnabled();
}
bool TextField::textShouldEndEditing(FieldEditor&) {
    return true;
}
void TextField::textDidChange(FieldEditor&) {}

}  // namespace t48::ui
