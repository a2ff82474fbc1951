// The customize-alphabet dialog: the language table, the limit of 31 characters with its
// warning, the other-characters edit, OK and Cancel.
#include "alphabetfm.h"

#include "alphabet.h"
#include "cp1252.h"
#include "globals.h"
#include "testcp1252.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The five special characters that fill the alphabet to 31.
const QString kFive = cp({0xC0, 0xC4, 0xC7, 0xD1, 0xD6});

class AlphabetFmTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals();
        SetAlphabet(DefaultAlphabet);
    }
    void TearDown() override { SetAlphabet(DefaultAlphabet); }

    static QToolButton *button(TAlphabetFm &form, QChar c)
    {
        for (QToolButton *b : form.AccentSB)
            if (b->text() == QString(c))
                return b;
        return nullptr;
    }
};

TEST_F(AlphabetFmTest, LanguagesGiveTheirAlphabets)
{
    struct Case {
        const char *language;
        QString extra;
    } cases[] = {
        {"English", ""},
        {"French", cp({0xC7})},
        {"Italian", cp({0xC0, 0xC8, 0xCC, 0xD2, 0xD9})},
        {"German", cp({0xC4, 0xD6, 0xDC, 0xDF})},
        {"Portuguese", cp({0xC7, 0xC3, 0xD5})},
        {"Spanish", cp({0xD1})},
        {"Other - Not Listed", ""},
    };
    SetAlphabet(DefaultAlphabet + kFive);
    TAlphabetFm form;
    form.show();
    EXPECT_EQ(form.LanguageCmBx->currentText(), "English") << "nothing was selected";
    EXPECT_EQ(form.Editor().Alphabet, DefaultAlphabet + kFive) << "showing keeps the current alphabet";
    EXPECT_EQ(form.LanguageCmBx->count(), int(std::size(cases)));
    for (const Case &c : cases) {
        form.LanguageCmBx->setCurrentText(QLatin1String(c.language));
        form.LanguageCmBxChange();
        EXPECT_EQ(form.Editor().Alphabet, DefaultAlphabet + c.extra) << c.language;
        for (QChar x : c.extra)
            EXPECT_TRUE(button(form, x)->isChecked()) << c.language;
    }
    EXPECT_EQ(TAlphabetEditor::AccentedLetters().size(), 32);
}

TEST_F(AlphabetFmTest, TheThirtySecondCharacterIsRefusedWithTheWarning)
{
    SetAlphabet(DefaultAlphabet + kFive);
    TAlphabetFm form;
    form.show();
    EXPECT_TRUE(form.MaxCharsLbl->isVisible());
    EXPECT_FALSE(form.RemoveCharLbl->isVisible());
    EXPECT_EQ(form.AlphabetLbl->text().size(), 1 + 2 * 31);

    QToolButton *e = button(form, cp({0xC9}).at(0));
    e->click();
    EXPECT_FALSE(e->isChecked()) << "the button pops back up";
    EXPECT_EQ(form.Editor().Alphabet, DefaultAlphabet + kFive);
    EXPECT_TRUE(form.RemoveCharLbl->isVisible());
    EXPECT_TRUE(form.MaxCharsLbl->font().bold());
    EXPECT_TRUE(form.MaxCharsLbl->styleSheet().contains("FF0000"));

    // A removal is allowed and clears the warning; then there is room again.
    button(form, kFive.at(0))->click();
    EXPECT_FALSE(form.RemoveCharLbl->isVisible());
    EXPECT_FALSE(form.MaxCharsLbl->font().bold());
    e->click();
    EXPECT_TRUE(e->isChecked());
    EXPECT_EQ(form.Editor().Alphabet, DefaultAlphabet + kFive.mid(1) + cp({0xC9}));
}

TEST_F(AlphabetFmTest, OtherCharactersAreUpperCasedWithoutBlanksOrRepeats)
{
    TAlphabetEditor editor;
    editor.Alphabet = DefaultAlphabet;
    const QString thorn = cp({0xDE}), eth = cp({0xD0});
    struct Step {
        const char *name;
        QString previous;
        QString typed;
        QString shown;
        QString alphabet;
        bool warning;
    } steps[] = {
        {"lower case and blanks", "", cp({0xFE}) + " " + cp({0xFE}), thorn, DefaultAlphabet + thorn, false},
        {"a second character", thorn, thorn + eth, thorn + eth, DefaultAlphabet + thorn + eth, false},
        {"a removed character leaves", thorn + eth, eth, eth, DefaultAlphabet + eth, false},
        {"a letter already there", eth, eth + "a", eth + "A", DefaultAlphabet + eth, false},
        {"removing it keeps the letter", eth + "A", eth, eth, DefaultAlphabet + eth, false},
    };
    for (const Step &s : steps) {
        EXPECT_EQ(editor.OtherEdited(s.previous, s.typed), s.shown) << s.name;
        EXPECT_EQ(editor.Alphabet, s.alphabet) << s.name;
        EXPECT_EQ(editor.Warning, s.warning) << s.name;
    }

    // Buttons' characters do not show in the edit. Full: the edit goes back and warns.
    editor.Alphabet = DefaultAlphabet + kFive.left(3) + eth;
    EXPECT_EQ(editor.OtherText(), eth);
    editor.Alphabet = DefaultAlphabet + kFive.left(4) + eth;
    EXPECT_EQ(editor.OtherEdited(eth, eth + thorn), eth);
    EXPECT_TRUE(editor.Warning);
    EXPECT_EQ(editor.Alphabet, DefaultAlphabet + kFive.left(4) + eth);
}

TEST_F(AlphabetFmTest, TheEditRewritesItselfKeepingTheCaret)
{
    TAlphabetFm form;
    form.show();
    form.OtherEd->setText(cp({0xFE}) + "x");
    form.OtherEd->setCursorPosition(1);
    form.OtherEdChange(form.OtherEd->text());
    EXPECT_EQ(form.OtherEd->text(), cp({0xDE}) + "X");
    EXPECT_EQ(form.OtherEd->cursorPosition(), 1);
    EXPECT_EQ(form.Editor().Alphabet, DefaultAlphabet + cp({0xDE})) << "X is a letter already";

    form.OtherSBClick();
    EXPECT_TRUE(form.OtherInfo1Lbl->isVisible());
    EXPECT_TRUE(form.OtherInfo2Lbl->isVisible());

    form.CancelBtn->click();
    EXPECT_EQ(CustomAlphabet, DefaultAlphabet);
    form.show();
    form.OtherEd->setText(cp({0xFE}));
    form.OtherEdChange(form.OtherEd->text());
    form.OkBtn->click();
    EXPECT_EQ(CustomAlphabet, DefaultAlphabet + cp({0xDE}));
}

} // namespace
