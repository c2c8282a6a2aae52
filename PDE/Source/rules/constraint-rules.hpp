#pragma once
// The constraint rule table: fixed-size records that say which control values disable
// (and may reset) which other controls. The engine (constraint-engine.hpp) walks them.

#include <cstdint>

namespace t48::pde {

// One numbering for operators, actions and rule kinds, shared with the control kinds.
enum CSTCode : int32_t {
    kCSTGroupOpen = 1001,  // accepted in a program and ignored
    kCSTGroupClose = 1002,
    kCSTAnd = 1003,
    kCSTOr = 1004,
    kCSTEqual = 1005,
    kCSTNotEqual = 1006,
    kCSTAssign = 1007,
    kCSTLess = 1009,
    kCSTGreater = 1010,
    kCSTLessEqual = 1011,
    kCSTLessEqualToo = 1012,
    kCSTGreaterEqual = 1013,
    kCSTGreaterEqualToo = 1014,
    kCSTEnd = 1017,  // ends a condition list or program; in a change: nothing to set
    kCSTEndOfRules = 1019,
    kCSTAbstractionCondition = 1020,
    kCSTAbstractionTarget = 1021,
    kCSTValueChange = 1022,  // the kind of every shipped rule
    kCSTDpico = 1023,
    kCSTHint = 1024,
    kCSTGreyOut = 1027,  // the only action with an effect: disable the target
    kCSTChangeMessage = 1028,
    kCSTErrorMessage = 1029,
    kCSTToolChange = 1030,
    kCSTHintMessage = 1031,
};

// Limits of the records: names fill at most 31 bytes plus the terminating zero.
inline constexpr int kCSTNameSize = 32;
inline constexpr int kCSTMaxConditions = 20;     // outcome flags, program operands 0-19
inline constexpr int kCSTMaxProgramTokens = 40;  // tokens read before giving up on 1017
inline constexpr int32_t kCSTMaxOperand = 999;   // program tokens 0-999 load an outcome

// A control reference with a rule value and an operator (a comparison in a condition;
// kCSTAssign or kCSTEnd in a target or change).
struct CSTItem {
    char controlName[kCSTNameSize];
    char valueName[kCSTNameSize];  // readable name of `value`; the engine never reads it
    int32_t value;                 // rule value: popup index + 1, check box state
    int32_t op;
};

struct CSTAction {
    int32_t code;      // kCSTGreyOut, or a code without effect
    int32_t argument;  // not read
};

struct CSTRule {
    int32_t ruleKind;           // kCSTEndOfRules ends the table; any other kind is a rule
    int8_t conditionCount;      // at most kCSTMaxConditions are read
    const CSTItem* conditions;  // followed by an end item ("", "", -1, kCSTEnd)
    int32_t programLength;      // tokens before kCSTEnd; informative only
    const int32_t* program;     // postfix over the outcomes, ended by kCSTEnd
    CSTItem target;
    CSTItem change;  // op kCSTAssign sets the target to `value`
    int8_t actionCount;
    const CSTAction* actions;
};

// The Color Options rules: kCSTColorOptionRuleCount rules, then the kCSTEndOfRules row.
inline constexpr int kCSTColorOptionRuleCount = 21;
extern const CSTRule cstColorOption[kCSTColorOptionRuleCount + 1];

// Written forms of the codes, each table ended by {nullptr, kCSTEnd}.
struct CSTKeyword {
    const char* keyword;
    int32_t code;
};
extern const CSTKeyword strOpe2enum_sample[];      // operators and grouping
extern const CSTKeyword strOption2enum_Mod[];      // actions
extern const CSTKeyword strMainOpe2enum_sample[];  // rule kinds

// The code written as `keyword` in `table`, or kCSTEnd when the table has no such word.
int32_t cstCodeForKeyword(const CSTKeyword* table, const char* keyword);
// The written form of `code` in `table`, or null when the table has none.
const char* cstKeywordForCode(const CSTKeyword* table, int32_t code);

}  // namespace t48::pde
