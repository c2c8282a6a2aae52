// The restricted text fields as the profile window sets them up, edited the way a user
// does: typing one character at a time, pasting, clearing.

#include <gtest/gtest.h>

#include <string>

#include "utf16-text.hpp"
#include "zt-text-field.hpp"

namespace t48::pde {
namespace {

// One edit per character (a surrogate pair is one character), at the end of the text.
void typeText(ui::TextField& field, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
        const std::size_t units = pair ? 2 : 1;
        field.replaceCharacters({static_cast<int>(field.text().size()), 0}, text.substr(i, units));
        i += units - 1;
    }
}

void pasteText(ui::TextField& field, std::u16string_view text) {
    field.replaceCharacters({static_cast<int>(field.text().size()), 0}, text);
}

void clearText(ui::TextField& field) {
    field.replaceCharacters({0, static_cast<int>(field.text().size())}, u"");
}

std::string utf8(const std::u16string& text) {
    return ui::utf8FromUtf16(text);
}

class FileNameField : public ::testing::Test {
protected:
    void SetUp() override {
        field_.setMaxLength(31, 3);
        field_.setInputKey(kKeyFilterFileName);
        field_.setOperateControl(&ok_);
        ok_.setEnabled(false);
    }
    int insertionPoint() const { return field_.currentEditor().selectedRange().location; }

    ui::PushButton ok_;
    ZTTextField field_;
};

TEST_F(FileNameField, TwentyEighthCharacterWithoutDotIsUndone) {
    typeText(field_, std::u16string(27, u'A'));
    EXPECT_EQ(field_.text().size(), 27u);
    typeText(field_, u"B");
    EXPECT_EQ(utf8(field_.text()), std::string(27, 'A'));
    EXPECT_EQ(insertionPoint(), 27);
    // With a dot the same base takes an extension.
    typeText(field_, u".IC");
    EXPECT_EQ(utf8(field_.text()), std::string(27, 'A') + ".IC");
}

TEST_F(FileNameField, ExtensionTakesThreeCharactersAndNoMore) {
    typeText(field_, u"ABCDEFGH.IC");
    typeText(field_, u"C");
    EXPECT_EQ(utf8(field_.text()), "ABCDEFGH.ICC");
    typeText(field_, u"X");
    EXPECT_EQ(utf8(field_.text()), "ABCDEFGH.ICC");
    EXPECT_TRUE(field_.oldValue == u"ABCDEFGH.ICC");
}

TEST_F(FileNameField, BaseLongerThanTwentySevenIsRefusedEvenWithDot) {
    pasteText(field_, std::u16string(28, u'A') + u".I");
    EXPECT_TRUE(field_.text().empty());
}

TEST_F(FileNameField, SecondDotIsUndone) {
    typeText(field_, u"A.B");
    typeText(field_, u".");
    EXPECT_EQ(utf8(field_.text()), "A.B");
}

TEST_F(FileNameField, PastedSpaceIsRemoved) {
    pasteText(field_, u"A B.ICC");
    EXPECT_EQ(utf8(field_.text()), "AB.ICC");
    EXPECT_TRUE(field_.oldValue == u"AB.ICC");
    EXPECT_TRUE(ok_.isEnabled());
}

TEST_F(FileNameField, OkFollowsUsableText) {
    typeText(field_, u".");
    EXPECT_FALSE(ok_.isEnabled()) << "a text beginning with '.'";
    clearText(field_);
    typeText(field_, u"A.");
    EXPECT_TRUE(ok_.isEnabled());
    clearText(field_);
    EXPECT_FALSE(ok_.isEnabled()) << "an empty text";
}

TEST_F(FileNameField, RejectedPasteLeavesInsertionPointWhereThePasteWent) {
    typeText(field_, u"ABCDEFGHIJ");
    field_.replaceCharacters({4, 0}, std::u16string(20, u'Z'));
    EXPECT_EQ(utf8(field_.text()), "ABCDEFGHIJ");
    EXPECT_EQ(insertionPoint(), 4);
}

TEST_F(FileNameField, RejectedEditNeverPutsInsertionPointBeforeTheStart) {
    typeText(field_, std::u16string(27, u'C'));
    // The last accepted text set shorter than the text being edited: going back by the
    // edit's length from the insertion point would land before the start.
    field_.setOldString(u"AB");
    field_.replaceCharacters({0, 0}, u"D");
    EXPECT_EQ(utf8(field_.text()), "AB");
    EXPECT_EQ(insertionPoint(), 0);
}

TEST_F(FileNameField, TextSetByAProgramStartsAFreshEdit) {
    typeText(field_, u"ABC");
    field_.setText(u"");  // the window clears the field
    EXPECT_FALSE(field_.isEditing());
    pasteText(field_, std::u16string(40, u'X'));
    EXPECT_EQ(utf8(field_.text()), "") << "a rejected edit restores the text editing began with";
}

TEST_F(FileNameField, FilteringKeepsInsertionPointAmongTheKeptUnits) {
    typeText(field_, u"CD");
    field_.replaceCharacters({0, 0}, u"A B");
    EXPECT_EQ(utf8(field_.text()), "ABCD");
    EXPECT_EQ(insertionPoint(), 2);
}

TEST_F(FileNameField, OldStringSetByTheWindowIsWhatARejectedEditRestores) {
    typeText(field_, u"X");
    // The window puts a chosen file into the field while editing goes on.
    field_.setText(u"NAME.ICC");
    field_.setOldString(u"NAME.ICC");
    ok_.setEnabled(true);
    typeText(field_, u"C");
    EXPECT_EQ(utf8(field_.text()), "NAME.ICC");
    EXPECT_TRUE(ok_.isEnabled());
}

TEST_F(FileNameField, BeginningToEditRemembersTextAndEditor) {
    field_.setText(u"A.ICC");
    typeText(field_, u"X");  // too long an extension: back to the text editing began with
    EXPECT_EQ(utf8(field_.text()), "A.ICC");
    EXPECT_EQ(field_.textObj, &field_.currentEditor());
}

TEST_F(FileNameField, DisabledFieldTakesNoEdit) {
    field_.setEnabled(false);
    EXPECT_FALSE(field_.replaceCharacters({0, 0}, u"A"));
    EXPECT_TRUE(field_.text().empty());
}

class DisplayNameField : public ::testing::Test {
protected:
    void SetUp() override {
        field_.setMaxLength(30, 0);
        field_.setInputKey(kKeyFilterAscii);
    }
    ZTTextField field_;
};

TEST_F(DisplayNameField, ThirtyFirstCharacterIsUndone) {
    typeText(field_, std::u16string(30, u'n'));
    typeText(field_, u"x");
    EXPECT_EQ(utf8(field_.text()), std::string(30, 'n'));
}

TEST_F(DisplayNameField, AccentedLettersAreRemovedFromAPaste) {
    pasteText(field_, u"Caf\u00e9 Cr\u00e8me \U0001F600!");
    EXPECT_EQ(utf8(field_.text()), "Caf Crme !");
}

TEST_F(DisplayNameField, DotsAreOrdinaryCharactersWithoutExtensionRule) {
    typeText(field_, u"a.b.c..");
    EXPECT_EQ(utf8(field_.text()), "a.b.c..");
    EXPECT_EQ(field_.operateOutlet, nullptr);
}

TEST_F(DisplayNameField, LengthCountsUtf16UnitsBeforeFiltering) {
    typeText(field_, std::u16string(29, u'n'));
    typeText(field_, u"\U0001F600");  // two units: 31 > 30, undone rather than filtered
    EXPECT_EQ(field_.text().size(), 29u);
}

}  // namespace
}  // namespace t48::pde
