#include "spool-list.hpp"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "profile-table-columns.hpp"
#include "utf8-text.hpp"

namespace t48::discovery {

store::ProfileList PlistForSpool;

namespace {

bool gUnusableRows[store::kProfileSlots];

using detail::SpoolField;

// A printer string's bytes up to the first NUL or the value's end.
std::string_view receivedText(const netsnmp_variable_list& variable) {
    if (variable.val.string == nullptr) {
        return {};
    }
    const auto* text = reinterpret_cast<const char*>(variable.val.string);
    const void* nul = std::memchr(text, '\0', variable.val_len);
    return std::string_view(
        text, nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - text)
                             : variable.val_len);
}

// Copies a printer string into a 32-byte field, each ill-formed UTF-8 sequence replaced by
// U+FFFD so the readable part stays (a Latin-1 "Caf\xE9" keeps its "Caf"), at most 31
// bytes cut at a whole character; the rest of the field is zeroed.
void copyText(char (&field)[store::kProfileTextSize], std::string_view received) {
    std::memset(field, 0, sizeof field);
    const std::string text = text::withIllFormedReplaced(received);
    std::memcpy(field, text.data(), text::wholeCharacterPrefix(text, store::kProfileTextSize - 1));
}

void storeInteger(store::ProfileEntry& entry, SpoolField field, int32_t value) {
    switch (field) {
        case SpoolField::IndexOnDevice:
            entry.iIndexOnDevice = value;
            break;
        case SpoolField::Location:
            entry.iLocation = value;
            break;
        case SpoolField::ProfileClass:
            entry.iProfileClass = value;
            break;
        case SpoolField::DriverAvail:
            entry.iDriver = value;
            break;
        case SpoolField::ProfileName:
        case SpoolField::FileName:
            break;
    }
}

}  // namespace

void vSpoolPlist(const oid* name, std::size_t nameLength, const netsnmp_variable_list* variable,
                 int mode) {
    if (mode == kSpoolClear) {
        std::memset(&PlistForSpool, 0, sizeof PlistForSpool);
        std::memset(gUnusableRows, 0, sizeof gUnusableRows);
        return;
    }
    if ((mode != kSpoolFileVariable && mode != kSpoolUnusableVariable) || variable == nullptr ||
        nameLength != kTableValueNameLength) {
        return;
    }
    const detail::TableColumn* column = detail::findColumn(name, nameLength);
    if (column == nullptr || column->asnType != variable->type) {
        return;
    }
    const oid row = name[kRowSubId];
    if (row < 1 || row > static_cast<oid>(store::kProfileSlots)) {
        return;
    }
    store::ProfileEntry& entry = PlistForSpool.litem[row - 1];
    const bool integer = column->asnType == ASN_INTEGER;
    if (integer && (variable->val.integer == nullptr || variable->val_len < sizeof(long))) {
        return;
    }
    if (mode == kSpoolUnusableVariable ||
        (integer && (*variable->val.integer < INT32_MIN || *variable->val.integer > INT32_MAX))) {
        gUnusableRows[row - 1] = true;
    } else if (integer) {
        storeInteger(entry, column->field, static_cast<int32_t>(*variable->val.integer));
    } else {
        const bool fileName = column->field == SpoolField::FileName;
        char(&field)[store::kProfileTextSize] = fileName ? entry.FileName : entry.ProfileName;
        const std::string_view received = receivedText(*variable);
        copyText(field, received);
        // No file name of 32 bytes or more is 8.3-shaped, but cut to 31 it can become one
        // ("...ICCX" to "...ICC") and name a file the printer does not have.
        if (fileName && received.size() >= store::kProfileTextSize) {
            std::memset(field, 0, sizeof field);
            gUnusableRows[row - 1] = true;
        }
    }
    if (column->field == SpoolField::IndexOnDevice && PlistForSpool.iNum < store::kProfileSlots) {
        ++PlistForSpool.iNum;
    }
}

bool bSpoolRowUsable(int spoolIndex) {
    return spoolIndex >= 0 && spoolIndex < store::kProfileSlots && !gUnusableRows[spoolIndex];
}

}  // namespace t48::discovery
