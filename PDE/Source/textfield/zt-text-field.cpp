#include "zt-text-field.hpp"

#include <algorithm>

namespace t48::pde {
namespace {

constexpr char16_t kDot = u'.';
constexpr auto kNoDot = std::u16string::npos;

}  // namespace

bool ZTTextField::textShouldBeginEditing(ui::FieldEditor& editor) {
    oldValue = text();
    textObj = &editor;
    return ui::TextField::textShouldBeginEditing(editor);
}

bool ZTTextField::textShouldEndEditing(ui::FieldEditor& editor) {
    return ui::TextField::textShouldEndEditing(editor);
}

bool ZTTextField::bFitsLimits(const std::u16string& text) const {
    return !exceedsLength(text) && !breaksShape(text);
}

bool ZTTextField::exceedsLength(const std::u16string& text) const {
    int64_t limit = maxLen;
    if (maxExtension > 0 && text.find(kDot) == kNoDot) {
        limit = int64_t{maxLen} - 1 - maxExtension;  // room the "." and extension would take
    }
    return static_cast<int64_t>(text.size()) > limit;
}

bool ZTTextField::breaksShape(const std::u16string& text) const {
    const std::size_t dot = text.find(kDot);
    if (maxExtension <= 0 || dot == kNoDot) {
        return false;
    }
    const auto n = static_cast<int64_t>(text.size());
    const auto d = static_cast<int64_t>(dot);
    const bool baseTooLong = d > int64_t{maxLen} - maxExtension - 1;
    const bool extensionTooLong = n - d > int64_t{maxExtension} + 1;
    const bool secondDot = n >= 2 && text.find(kDot, dot + 1) != kNoDot;
    return baseTooLong || extensionTooLong || secondDot;
}

void ZTTextField::restoreOldValue(int insertionPoint) {
    setEditedText(oldValue);
    if (isEditing()) {
        currentEditor().setSelectedRange({insertionPoint, 0});
    }
}

// Removes the units the key filter rejects; the insertion point keeps its place among
// the units that stay.
void ZTTextField::filterText(int selectionStart) {
    const std::u16string edited = text();
    const auto count = static_cast<int32_t>(edited.size());
    std::u16string filtered = edited;
    CheckUniCharString(edited.data(), count, inputkey, &filtered);
    if (filtered == edited) {
        return;
    }
    int removedBefore = 0;
    for (int32_t p = 0; p < std::min(selectionStart, count); ++p) {
        if (!FilterEditTextInputKey(inputkey,
                                    UCFindComposedCharAtIndex(edited.data(), count, p, nullptr))) {
            ++removedBefore;
        }
    }
    setEditedText(std::move(filtered));
    if (isEditing()) {
        currentEditor().setSelectedRange({std::max(selectionStart - removedBefore, 0), 0});
    }
}

void ZTTextField::updateOperateControl() {
    if (operateOutlet == nullptr) {
        return;
    }
    const bool usable = !text().empty() && text().front() != kDot;
    if (operateOutlet->isEnabled() != usable) {
        operateOutlet->setEnabled(usable);
    }
}

void ZTTextField::textDidChange(ui::FieldEditor& editor) {
    ui::FieldEditor& used = textObj != nullptr ? *textObj : editor;
    const int selectionStart = used.selectedRange().location;
    const std::u16string& edited = text();
    bool accepted = true;
    if (exceedsLength(edited)) {
        // Back to where the edit began; never before the start of the text, which a
        // text replaced by a program (with the insertion point at 0) would otherwise give.
        const int64_t back = int64_t{selectionStart} - static_cast<int64_t>(edited.size()) +
                             static_cast<int64_t>(oldValue.size());
        restoreOldValue(static_cast<int>(std::max<int64_t>(back, 0)));
        accepted = false;
    } else if (breaksShape(edited)) {
        restoreOldValue(static_cast<int>(oldValue.size()));
        accepted = false;
    } else if (!edited.empty()) {
        filterText(selectionStart);
    }
    updateOperateControl();
    if (accepted) {
        oldValue = text();
    }
}

}  // namespace t48::pde
