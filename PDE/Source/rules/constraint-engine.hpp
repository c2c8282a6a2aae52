#pragma once
// Runs constraint rules over a control table (records ended by a kKindEndOfTable
// record). Controls are found by `controlName`; a rule whose target is not in the table
// does nothing. The engine keeps no state: each run recomputes every target's enabled
// state from the current values.

#include <cstdint>

#include "constraint-rules.hpp"
#include "pde-control-item.hpp"

namespace t48::pde {

// Runs every rule of cstColorOption in order over `table`: a rule that holds applies its
// value change and disables its target; one that does not hold enables its target.
// Each rule sees the values the rules before it left. A null table does nothing.
void vColorPresetConstraints(const PDEControlItem* table);

// The single steps, for rule `ruleIndex` of cstColorOption (0-based). An index outside
// the rules answers 0 and does nothing.
uint8_t bMatchCondition(int32_t ruleIndex, const PDEControlItem* table);  // 1 when it holds
void vValueChange(int32_t ruleIndex, const PDEControlItem* table);
void vActOption(int32_t ruleIndex, const PDEControlItem* table);         // disable the target
void vActReverseOption(int32_t ruleIndex, const PDEControlItem* table);  // enable the target

// The same over any rule table ended by a kCSTEndOfRules row.
void vRunConstraintRules(const CSTRule* rules, const PDEControlItem* table);
uint8_t bMatchRule(const CSTRule& rule, const PDEControlItem* table);
void vRuleValueChange(const CSTRule& rule, const PDEControlItem* table);
void vRuleActions(const CSTRule& rule, const PDEControlItem* table, bool reverse);

// The first record before the end of `table` whose controlName is `name`, compared
// byte for byte; an empty name names no control. Null when there is none.
const PDEControlItem* cstFindControl(const PDEControlItem* table, const char* name);

}  // namespace t48::pde
