// Written forms of the rule codes, for reading and writing rules as text.
#include <cstring>

#include "constraint-rules.hpp"

namespace t48::pde {

const CSTKeyword strOpe2enum_sample[] = {
    {"(", kCSTGroupOpen},
    {")", kCSTGroupClose},
    {"&", kCSTAnd},
    {"|", kCSTOr},
    {"=", kCSTEqual},
    {"!=", kCSTNotEqual},
    {"->", kCSTAssign},
    {"<", kCSTLess},
    {">", kCSTGreater},
    {"=<", kCSTLessEqual},
    {"<=", kCSTLessEqualToo},
    {">=", kCSTGreaterEqual},
    {"=>", kCSTGreaterEqualToo},
    {nullptr, kCSTEnd},
};

const CSTKeyword strOption2enum_Mod[] = {
    {"/GROUT", kCSTGreyOut},     {"/CHMSG_", kCSTChangeMessage}, {"/ERMSG_", kCSTErrorMessage},
    {"/TOOLC_", kCSTToolChange}, {"/HINT_", kCSTHintMessage},    {nullptr, kCSTEnd},
};

const CSTKeyword strMainOpe2enum_sample[] = {
    {"ABSTRACTION_CONDITION", kCSTAbstractionCondition},
    {"ABSTRACTION_TARGET", kCSTAbstractionTarget},
    {"VRCHG", kCSTValueChange},
    {"DPICO", kCSTDpico},
    {"HINT", kCSTHint},
    {nullptr, kCSTEnd},
};

int32_t cstCodeForKeyword(const CSTKeyword* table, const char* keyword) {
    if (table == nullptr || keyword == nullptr) {
        return kCSTEnd;
    }
    for (const CSTKeyword* row = table; row->keyword != nullptr; ++row) {
        if (std::strcmp(row->keyword, keyword) == 0) {
            return row->code;
        }
    }
    return kCSTEnd;
}

const char* cstKeywordForCode(const CSTKeyword* table, int32_t code) {
    if (table == nullptr) {
        return nullptr;
    }
    for (const CSTKeyword* row = table; row->keyword != nullptr; ++row) {
        if (row->code == code) {
            return row->keyword;
        }
    }
    return nullptr;
}

}  // namespace t48::pde
