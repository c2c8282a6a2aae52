// The shipped rule data, the keyword tables, and the engine at the limits of its records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "combined-panel.hpp"
#include "constraint-engine.hpp"
#include "constraint-rules.hpp"

namespace t48::pde {
namespace {

using testing::CombinedPanel;

std::string nameOf(const CSTItem& item) {
    return std::string(item.controlName, strnlen(item.controlName, kCSTNameSize));
}

TEST(ColorOptionRuleTable, EveryRuleGreysOutOneDistinctNamedControl) {
    CombinedPanel panel;
    std::set<std::string> targets;
    for (int r = 0; r < kCSTColorOptionRuleCount; ++r) {
        const CSTRule& rule = cstColorOption[r];
        SCOPED_TRACE("rule " + std::to_string(r + 1));
        EXPECT_EQ(rule.ruleKind, kCSTValueChange);
        ASSERT_EQ(rule.actionCount, 1);
        EXPECT_EQ(rule.actions[0].code, kCSTGreyOut);
        EXPECT_EQ(std::memcmp(&rule.target, &rule.change, sizeof(CSTItem)), 0);
        EXPECT_NE(cstFindControl(panel.combinedTable(), rule.target.controlName), nullptr)
            << nameOf(rule.target) << " names no control of the panel";
        EXPECT_TRUE(targets.insert(nameOf(rule.target)).second) << nameOf(rule.target);

        ASSERT_GE(rule.conditionCount, 1);
        ASSERT_LE(rule.conditionCount, 2);
        for (int k = 0; k < rule.conditionCount; ++k) {
            const CSTItem& condition = rule.conditions[k];
            EXPECT_NE(cstFindControl(panel.combinedTable(), condition.controlName), nullptr)
                << nameOf(condition);
            EXPECT_TRUE(condition.op == kCSTEqual || condition.op == kCSTNotEqual);
        }
        const CSTItem& end = rule.conditions[rule.conditionCount];
        EXPECT_EQ(nameOf(end), "");
        EXPECT_EQ(end.value, -1);
        EXPECT_EQ(end.op, kCSTEnd);
    }
    EXPECT_EQ(cstColorOption[kCSTColorOptionRuleCount].ruleKind, kCSTEndOfRules);
}

TEST(ColorOptionRuleTable, OnlyTheCheckBoxRulesChangeAValue) {
    for (int r = 0; r < kCSTColorOptionRuleCount; ++r) {
        const CSTRule& rule = cstColorOption[r];
        const bool checkBoxRule = r == 1 || r == 2;
        EXPECT_EQ(rule.change.op == kCSTAssign, checkBoxRule) << "rule " << r + 1;
        if (checkBoxRule) {
            EXPECT_EQ(rule.change.value, 0) << "rule " << r + 1;
        }
    }
}

struct KeywordCase {
    const CSTKeyword* table;
    const char* keyword;
    int32_t code;
};

class KeywordTest : public ::testing::TestWithParam<KeywordCase> {};

TEST_P(KeywordTest, KeywordAndCodeFindEachOther) {
    const KeywordCase& c = GetParam();
    EXPECT_EQ(cstCodeForKeyword(c.table, c.keyword), c.code);
    ASSERT_NE(cstKeywordForCode(c.table, c.code), nullptr);
    EXPECT_STREQ(cstKeywordForCode(c.table, c.code), c.keyword);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, KeywordTest,
    ::testing::Values(KeywordCase{strOpe2enum_sample, "(", kCSTGroupOpen},
                      KeywordCase{strOpe2enum_sample, "|", kCSTOr},
                      KeywordCase{strOpe2enum_sample, "!=", kCSTNotEqual},
                      KeywordCase{strOpe2enum_sample, "->", kCSTAssign},
                      KeywordCase{strOpe2enum_sample, "=<", kCSTLessEqual},
                      KeywordCase{strOpe2enum_sample, "<=", kCSTLessEqualToo},
                      KeywordCase{strOpe2enum_sample, "=>", kCSTGreaterEqualToo},
                      KeywordCase{strOption2enum_Mod, "/GROUT", kCSTGreyOut},
                      KeywordCase{strOption2enum_Mod, "/HINT_", kCSTHintMessage},
                      KeywordCase{strMainOpe2enum_sample, "VRCHG", kCSTValueChange},
                      KeywordCase{strMainOpe2enum_sample, "ABSTRACTION_TARGET",
                                  kCSTAbstractionTarget}));

TEST(Keywords, UnknownWordsAndCodesFindNothing) {
    EXPECT_EQ(cstCodeForKeyword(strOpe2enum_sample, "=="), kCSTEnd);
    EXPECT_EQ(cstCodeForKeyword(strOption2enum_Mod, "/grout"), kCSTEnd);
    EXPECT_EQ(cstCodeForKeyword(strMainOpe2enum_sample, nullptr), kCSTEnd);
    EXPECT_EQ(cstKeywordForCode(strOpe2enum_sample, kCSTGreyOut), nullptr);
    EXPECT_EQ(cstKeywordForCode(strOption2enum_Mod, kCSTEnd), nullptr);
    EXPECT_EQ(cstKeywordForCode(nullptr, kCSTOr), nullptr);
}

TEST(Keywords, EveryOperatorOfTheShippedRulesHasAWrittenForm) {
    for (int r = 0; r < kCSTColorOptionRuleCount; ++r) {
        const CSTRule& rule = cstColorOption[r];
        for (int k = 0; k < rule.conditionCount; ++k) {
            EXPECT_NE(cstKeywordForCode(strOpe2enum_sample, rule.conditions[k].op), nullptr);
        }
        EXPECT_NE(cstKeywordForCode(strMainOpe2enum_sample, rule.ruleKind), nullptr);
        EXPECT_NE(cstKeywordForCode(strOption2enum_Mod, rule.actions[0].code), nullptr);
    }
}

CSTItem item(const char* name, int32_t value, int32_t op) {
    CSTItem result = {};
    std::memcpy(result.controlName, name, std::min(std::strlen(name), sizeof result.controlName));
    result.value = value;
    result.op = op;
    return result;
}

const CSTAction kGreyOut[] = {{kCSTGreyOut, 0}};

// Hand-made rules over the panel, for what the shipped table never exercises.
class RuleLimitsTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel.popup("EdgeTypePopup").selectItemAtIndex(2);  // rule value 3
        panel.checkBox("EconoModeCheckBox").setState(1);
    }

    CSTRule rule(const std::vector<CSTItem>& conditions, const std::vector<int32_t>& program,
                 const char* target = "TextEdgeEnhancePopup") {
        conditions_ = conditions;
        conditions_.push_back(item("", -1, kCSTEnd));
        program_ = program;
        CSTItem targetItem = item(target, -1, kCSTEnd);
        return {kCSTValueChange,
                static_cast<int8_t>(conditions.size()),
                conditions_.data(),
                0,
                program_.data(),
                targetItem,
                targetItem,
                1,
                kGreyOut};
    }
    bool holds(const CSTRule& r) { return bMatchRule(r, panel.combinedTable()) == 1; }

    CombinedPanel panel;
    std::vector<CSTItem> conditions_;
    std::vector<int32_t> program_;
};

struct ComparisonCase {
    int32_t op;
    int32_t value;
    bool holds;
};

class ComparisonTest : public RuleLimitsTest,
                       public ::testing::WithParamInterface<ComparisonCase> {};

TEST_P(ComparisonTest, OperatorComparesControlRuleValueWithTheRules) {
    const ComparisonCase& c = GetParam();
    EXPECT_EQ(holds(rule({item("EdgeTypePopup", c.value, c.op)}, {kCSTEnd})), c.holds)
        << "op " << c.op << " against " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Operators, ComparisonTest,
    ::testing::Values(ComparisonCase{kCSTEqual, 3, true}, ComparisonCase{kCSTEqual, 2, false},
                      ComparisonCase{kCSTNotEqual, 3, false}, ComparisonCase{kCSTLess, 4, true},
                      ComparisonCase{kCSTLess, 3, false}, ComparisonCase{kCSTGreater, 2, true},
                      ComparisonCase{kCSTGreater, 3, false}, ComparisonCase{kCSTLessEqual, 3, true},
                      ComparisonCase{kCSTLessEqualToo, 2, false},
                      ComparisonCase{kCSTGreaterEqual, 3, true},
                      ComparisonCase{kCSTGreaterEqualToo, 4, false},
                      // Codes that are no comparison never hold.
                      ComparisonCase{kCSTAssign, 3, false}, ComparisonCase{kCSTAnd, 3, false},
                      ComparisonCase{kCSTEnd, 3, false}));

TEST_F(RuleLimitsTest, ProgramsCombineOutcomes) {
    const std::vector<CSTItem> trueFalse = {item("EconoModeCheckBox", 1, kCSTEqual),
                                            item("EdgeTypePopup", 1, kCSTEqual)};
    EXPECT_TRUE(holds(rule(trueFalse, {0, 1, kCSTOr, kCSTEnd})));
    EXPECT_FALSE(holds(rule(trueFalse, {0, 1, kCSTAnd, kCSTEnd})));
    EXPECT_TRUE(holds(rule(trueFalse, {1, kCSTEnd})))
        << "an operand without an operator leaves the first outcome deciding";
}

TEST_F(RuleLimitsTest, GroupingAndUnknownTokensAreSkipped) {
    const std::vector<CSTItem> falseTrue = {item("EdgeTypePopup", 1, kCSTEqual),
                                            item("EconoModeCheckBox", 1, kCSTEqual)};
    EXPECT_TRUE(holds(rule(falseTrue, {kCSTGroupOpen, 1, kCSTOr, kCSTGroupClose, kCSTEnd})));
    EXPECT_FALSE(holds(rule(falseTrue, {1, kCSTAssign, -5, 5000, kCSTEnd})));
}

TEST_F(RuleLimitsTest, OperandsPastTheOutcomeFlagsLoadFalse) {
    const std::vector<CSTItem> one = {item("EconoModeCheckBox", 1, kCSTEqual)};
    EXPECT_FALSE(holds(rule(one, {25, kCSTAnd, kCSTEnd})));
    EXPECT_FALSE(holds(rule(one, {999, kCSTAnd, kCSTEnd})));
    EXPECT_TRUE(holds(rule(one, {999, kCSTOr, kCSTEnd})));
}

TEST_F(RuleLimitsTest, OnlyTwentyConditionsAreRead) {
    std::vector<CSTItem> many(20, item("EdgeTypePopup", 1, kCSTEqual));  // all false
    many.push_back(item("EconoModeCheckBox", 1, kCSTEqual));             // 21st: true
    EXPECT_FALSE(holds(rule(many, {20, kCSTOr, kCSTEnd})));
    CSTRule negative = rule({item("EconoModeCheckBox", 1, kCSTEqual)}, {kCSTEnd});
    negative.conditionCount = -1;
    EXPECT_FALSE(holds(negative));
}

TEST_F(RuleLimitsTest, ProgramWithoutEndStopsAfterFortyTokens) {
    const std::vector<CSTItem> falseTrue = {item("EdgeTypePopup", 1, kCSTEqual),
                                            item("EconoModeCheckBox", 1, kCSTEqual)};
    std::vector<int32_t> program(kCSTMaxProgramTokens, kCSTGroupOpen);
    CSTRule r = rule(falseTrue, program);
    EXPECT_FALSE(holds(r));
    program_.back() = kCSTOr;  // the 40th token still counts
    program_[kCSTMaxProgramTokens - 2] = 1;
    EXPECT_TRUE(holds(r));
}

TEST_F(RuleLimitsTest, NamesMatchWholeAndExactly) {
    EXPECT_FALSE(holds(rule({item("EconoModeCheckbox", 1, kCSTEqual)}, {kCSTEnd})));
    EXPECT_FALSE(holds(rule({item("EconoMode", 1, kCSTEqual)}, {kCSTEnd})));
    CSTItem unterminated = item("", 1, kCSTEqual);
    std::memset(unterminated.controlName, 'E', kCSTNameSize);
    EXPECT_FALSE(holds(rule({unterminated}, {kCSTEnd})));
    // An empty name would otherwise find the first label.
    auto& label = *panel.combinedRecords().at(8).control;
    ASSERT_EQ(panel.combinedRecords().at(8).kind, kKindLabel);
    vRuleActions(rule({}, {kCSTEnd}, ""), panel.combinedTable(), false);
    EXPECT_TRUE(label.isEnabled());
}

TEST_F(RuleLimitsTest, AssignmentSetsPopupFromRuleValue) {
    CSTRule r = rule({}, {kCSTEnd}, "TextEdgeEnhancePopup");
    r.change.op = kCSTAssign;
    auto& popup = panel.popup("TextEdgeEnhancePopup");  // items "Off", "On"
    for (auto [value, index] :
         std::initializer_list<std::pair<int, int>>{{2, 1}, {1, 0}, {0, 0}, {-7, 0}}) {
        popup.selectItemAtIndex(1 - index);
        r.change.value = value;
        vRuleValueChange(r, panel.combinedTable());
        EXPECT_EQ(popup.indexOfSelectedItem(), index) << "rule value " << value;
    }
    popup.selectItemAtIndex(1);
    r.change.value = 3;  // past the items: nothing changes
    vRuleValueChange(r, panel.combinedTable());
    EXPECT_EQ(popup.indexOfSelectedItem(), 1);
}

TEST_F(RuleLimitsTest, ActionsOtherThanGreyOutDoNothing) {
    const CSTAction messages[] = {{kCSTChangeMessage, 0},
                                  {kCSTErrorMessage, 0},
                                  {kCSTToolChange, 0},
                                  {kCSTHintMessage, 0},
                                  {kCSTGreyOut, 0}};
    CSTRule r = rule({}, {kCSTEnd});
    r.actions = messages;
    r.actionCount = 4;
    vRuleActions(r, panel.combinedTable(), false);
    EXPECT_TRUE(panel.control("TextEdgeEnhancePopup").isEnabled());
    r.actionCount = 5;
    vRuleActions(r, panel.combinedTable(), false);
    EXPECT_FALSE(panel.control("TextEdgeEnhancePopup").isEnabled());
}

TEST_F(RuleLimitsTest, AnyKindButTheEndRunsAsARule) {
    CSTRule rules[] = {rule({item("EconoModeCheckBox", 1, kCSTEqual)}, {kCSTEnd}),
                       {kCSTEndOfRules, 0, nullptr, 0, nullptr, {}, {}, 0, nullptr}};
    rules[0].ruleKind = kCSTHint;
    vRunConstraintRules(rules, panel.combinedTable());
    EXPECT_FALSE(panel.control("TextEdgeEnhancePopup").isEnabled());
    rules[0].ruleKind = kCSTEndOfRules;
    panel.control("TextEdgeEnhancePopup").setEnabled(true);
    vRunConstraintRules(rules, panel.combinedTable());
    EXPECT_TRUE(panel.control("TextEdgeEnhancePopup").isEnabled());
}

}  // namespace
}  // namespace t48::pde
