#include "constraint-engine.hpp"

#include <algorithm>
#include <cstring>

#include "pde-common.hpp"

namespace t48::pde {

namespace {

// Whether `op` holds between the control's rule value (left) and the rule's (right).
// Codes that are no comparison never hold.
bool compareRuleValues(int32_t op, int32_t left, int32_t right) {
    switch (op) {
        case kCSTEqual:
            return left == right;
        case kCSTNotEqual:
            return left != right;
        case kCSTLess:
            return left < right;
        case kCSTGreater:
            return left > right;
        case kCSTLessEqual:
        case kCSTLessEqualToo:
            return left <= right;
        case kCSTGreaterEqual:
        case kCSTGreaterEqualToo:
            return left >= right;
        default:
            return false;
    }
}

// Rule record names are fixed 32-byte fields; never read past them.
const PDEControlItem* findNamed(const PDEControlItem* table, const char (&name)[kCSTNameSize]) {
    char bounded[kCSTNameSize + 1] = {};
    std::memcpy(bounded, name, kCSTNameSize);
    return cstFindControl(table, bounded);
}

const CSTRule* shippedRule(int32_t ruleIndex) {
    if (ruleIndex < 0 || ruleIndex >= kCSTColorOptionRuleCount) {
        return nullptr;
    }
    return &cstColorOption[ruleIndex];
}

}  // namespace

const PDEControlItem* cstFindControl(const PDEControlItem* table, const char* name) {
    if (table == nullptr || name == nullptr || name[0] == '\0') {
        return nullptr;
    }
    for (const PDEControlItem* item = table; item->kind != kKindEndOfTable; ++item) {
        if (item->controlName != nullptr && std::strcmp(item->controlName, name) == 0) {
            return item;
        }
    }
    return nullptr;
}

uint8_t bMatchRule(const CSTRule& rule, const PDEControlItem* table) {
    bool outcome[kCSTMaxConditions] = {};
    const int count =
        rule.conditions == nullptr ? 0 : std::min<int>(rule.conditionCount, kCSTMaxConditions);
    for (int k = 0; k < count; ++k) {
        const CSTItem& condition = rule.conditions[k];
        const PDEControlItem* item = findNamed(table, condition.controlName);
        if (item == nullptr) {
            continue;
        }
        const int32_t value = PDECommon::commonConvertToCSTValue(
            item, PDECommon::commonGetControlValueWithSInt32(item));
        outcome[k] = compareRuleValues(condition.op, value, condition.value);
    }

    // Postfix with the first outcome as the implicit left operand: 0, 1, | is "0 or 1".
    bool accumulator = outcome[0];
    bool operand = false;
    for (int at = 0; rule.program != nullptr && at < kCSTMaxProgramTokens; ++at) {
        const int32_t token = rule.program[at];
        if (token == kCSTEnd) {
            break;
        }
        if (token >= 0 && token <= kCSTMaxOperand) {
            // Operands past the outcome flags load false instead of reading past them.
            operand = token < kCSTMaxConditions && outcome[token];
        } else if (token == kCSTAnd) {
            accumulator = accumulator && operand;
        } else if (token == kCSTOr) {
            accumulator = accumulator || operand;
        }
    }
    return accumulator ? 1 : 0;
}

void vRuleValueChange(const CSTRule& rule, const PDEControlItem* table) {
    if (rule.change.op != kCSTAssign) {
        return;
    }
    const PDEControlItem* item = findNamed(table, rule.target.controlName);
    if (item == nullptr) {
        return;
    }
    PDECommon::commonSetControlValueWithSInt32(
        item, PDECommon::commonConvertFromCSTValue(item, rule.change.value));
}

void vRuleActions(const CSTRule& rule, const PDEControlItem* table, bool reverse) {
    if (rule.actions == nullptr || rule.actionCount <= 0) {
        return;
    }
    const PDEControlItem* item = findNamed(table, rule.target.controlName);
    if (item == nullptr || item->control == nullptr) {
        return;
    }
    for (int k = 0; k < rule.actionCount; ++k) {
        if (rule.actions[k].code == kCSTGreyOut) {
            item->control->setEnabled(reverse);
        }
    }
}

void vRunConstraintRules(const CSTRule* rules, const PDEControlItem* table) {
    if (rules == nullptr || table == nullptr) {
        return;
    }
    for (const CSTRule* rule = rules; rule->ruleKind != kCSTEndOfRules; ++rule) {
        if (bMatchRule(*rule, table)) {
            vRuleValueChange(*rule, table);
            vRuleActions(*rule, table, false);
        } else {
            vRuleActions(*rule, table, true);
        }
    }
}

void vColorPresetConstraints(const PDEControlItem* table) {
    vRunConstraintRules(cstColorOption, table);
}

uint8_t bMatchCondition(int32_t ruleIndex, const PDEControlItem* table) {
    const CSTRule* rule = shippedRule(ruleIndex);
    return rule == nullptr ? 0 : bMatchRule(*rule, table);
}

void vValueChange(int32_t ruleIndex, const PDEControlItem* table) {
    if (const CSTRule* rule = shippedRule(ruleIndex)) {
        vRuleValueChange(*rule, table);
    }
}

void vActOption(int32_t ruleIndex, const PDEControlItem* table) {
    if (const CSTRule* rule = shippedRule(ruleIndex)) {
        vRuleActions(*rule, table, false);
    }
}

void vActReverseOption(int32_t ruleIndex, const PDEControlItem* table) {
    if (const CSTRule* rule = shippedRule(ruleIndex)) {
        vRuleActions(*rule, table, true);
    }
}

}  // namespace t48::pde
