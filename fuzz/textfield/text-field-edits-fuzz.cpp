// Random edits of the profile window's two text fields. After every edit the field
// must hold a text within its limits, made only of units its key filter accepts, equal
// to its last accepted text, with the insertion point inside it; the file name field's
// OK button must be enabled exactly for a usable name.
//
// Input: records of [operation, position, length, count, count x UTF-16 unit (2 bytes)].

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "zt-text-field.hpp"

namespace {

using t48::pde::ZTTextField;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkField(const ZTTextField& field, bool fileName) {
    const std::u16string& text = field.text();
    check(field.oldValue == text);
    const int point = field.currentEditor().selectedRange().location;
    check(point >= 0 && point <= static_cast<int>(text.size()));
    for (char16_t unit : text) {
        check(t48::pde::FilterEditTextInputKey(field.inputkey, unit));
    }
    if (!fileName) {
        check(text.size() <= 30);
        return;
    }
    const std::size_t dot = text.find(u'.');
    if (dot == std::u16string::npos) {
        check(text.size() <= 27);
    } else {
        check(dot <= 27 && text.size() - dot <= 4);
        check(text.find(u'.', dot + 1) == std::u16string::npos);
    }
    const bool usable = !text.empty() && text.front() != u'.';
    check(field.operateOutlet->isEnabled() == usable);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    t48::ui::PushButton ok;
    ok.setEnabled(false);
    ZTTextField fileName;
    fileName.setMaxLength(31, 3);
    fileName.setInputKey(t48::pde::kKeyFilterFileName);
    fileName.setOperateControl(&ok);
    ZTTextField displayName;
    displayName.setMaxLength(30, 0);
    displayName.setInputKey(t48::pde::kKeyFilterAscii);

    size_t at = 0;
    while (at + 4 <= size) {
        const uint8_t operation = data[at];
        const int position = data[at + 1];
        const int length = data[at + 2];
        const size_t count = std::min<size_t>(data[at + 3], (size - at - 4) / 2);
        at += 4;
        std::u16string units;
        for (size_t i = 0; i < count; ++i, at += 2) {
            units += static_cast<char16_t>(data[at] | (data[at + 1] << 8));
        }
        const bool onFileName = (operation & 1) == 0;
        ZTTextField& field = onFileName ? fileName : displayName;
        if (operation & 2) {
            field.setText(u"");  // the window clears the field between entries
        }
        field.replaceCharacters({position % 40, length % 8}, units);
        checkField(fileName, true);
        checkField(displayName, false);
    }
    return 0;
}
