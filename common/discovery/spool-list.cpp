#include "spool-list.hpp"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "profile-table-columns.hpp"
#include "utf8-text.hpp"

namespace t48::discovery {

store::ProfileList PlistForSpool;

namespace {

bool gUnusableRows[store::kProfileSlots];

using detail::SpoolField;

// Copies a printer string into a 32-byte field: up to the first NUL or the value's end,
// at most 31 bytes, never splitting a UTF-8 character; the rest of the field is zeroed.
void copyText(char (&field)[store::kProfileTextSize], const u_char* text, std::size_t length) {
    std::memset(field, 0, sizeof field);
    if (text == nullptr) {
        return;
    }
    const void* nul = std::memchr(text, '\0', length);
    if (nul != nullptr) {
        length = static_cast<std::size_t>(static_cast<const u_char*>(nul) - text);
    }
    const std::string_view received(reinterpret_cast<const char*>(text), length);
    std::memcpy(field, text, text::wholeCharacterPrefix(received, store::kProfileTextSize - 1));
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
        char(&field)[store::kProfileTextSize] =
            column->field == SpoolField::FileName ? entry.FileName : entry.ProfileName;
        copyText(field, variable->val.string, variable->val_len);
    }
    if (column->field == SpoolField::IndexOnDevice && PlistForSpool.iNum < store::kProfileSlots) {
        ++PlistForSpool.iNum;
    }
}

bool bSpoolRowUsable(int spoolIndex) {
    return spoolIndex >= 0 && spoolIndex < store::kProfileSlots && !gUnusableRows[spoolIndex];
}

}  // namespace t48::discovery
