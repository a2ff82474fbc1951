// The alphabet: case tables, engine bytes and display letters, mark characters, scanners.
#include "alphabet.h"
#include "cp1252.h"
#include "documentcontrols.h"
#include "globals.h"
#include "prompter.h"
#include "testprint.h"
#include "trv600.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QToolButton>

#include <memory>
#include <set>

namespace {

class AlphabetTest : public ::testing::Test
{
protected:
    void SetUp() override { InitGlobals(); }
    void TearDown() override
    {
        AlphabetControls = TAlphabetControls{};
        OpenCustomizeAlphabetDialog = nullptr;
        InitGlobals();
    }
};

QChar ch(unsigned char byte) { return Cp1252::toChar(byte); }

} // namespace

TEST_F(AlphabetTest, CaseTablesHoldExactlyTheWindows1252Pairs)
{
    std::set<std::pair<int, int>> pairs;
    for (int i = 0; i < 26; ++i)
        pairs.insert({'A' + i, 'a' + i});
    for (int i = 0xC0; i <= 0xCF; ++i)
        pairs.insert({i, i + 0x20});
    for (int i = 0xD1; i <= 0xD6; ++i)
        pairs.insert({i, i + 0x20});
    for (int i = 0xD8; i <= 0xDE; ++i)
        pairs.insert({i, i + 0x20});
    pairs.insert({0x8A, 0x9A});
    pairs.insert({0x8C, 0x9C});
    pairs.insert({0x8E, 0x9E});
    pairs.insert({0x9F, 0xFF});

    int expectedLower[256], expectedUpper[256];
    for (int i = 0; i < 256; ++i)
        expectedLower[i] = expectedUpper[i] = i;
    for (auto [capital, small] : pairs) {
        expectedLower[capital] = small;
        expectedUpper[small] = capital;
    }
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(LowerCaseTable[i], expectedLower[i]) << "byte " << i;
        EXPECT_EQ(UpperCaseTable[i], expectedUpper[i]) << "byte " << i;
    }
}

TEST_F(AlphabetTest, CaseOfSingleCharacters)
{
    const struct {
        const char *in;
        const char *lower;
        const char *upper;
    } cases[] = {
        {"Ð", "Ð", "Ð"}, {"ð", "ð", "ð"}, {"ÿ", "ÿ", "Ÿ"}, {"ß", "ß", "ß"},
        {"×", "×", "×"}, {"÷", "÷", "÷"}, {"Ž", "ž", "Ž"}, {"ž", "ž", "Ž"},
        {"Š", "š", "Š"}, {"É", "é", "É"}, {"q", "q", "Q"}, {"Ā", "Ā", "Ā"}, // outside Windows-1252: unchanged
    };
    for (const auto &c : cases) {
        const QChar in = QString::fromUtf8(c.in)[0];
        EXPECT_EQ(LowerCaseChar(in), QString::fromUtf8(c.lower)[0]) << c.in;
        EXPECT_EQ(UpperCaseChar(in), QString::fromUtf8(c.upper)[0]) << c.in;
    }
    EXPECT_EQ(UpperCaseText(QString::fromUtf8("straße œuvre")), QString::fromUtf8("STRAßE ŒUVRE"));
    EXPECT_EQ(LowerCaseText("ABC"), "abc");
}

TEST_F(AlphabetTest, EngineBytesToDisplayLetters)
{
    const QString withEnye = DefaultAlphabet + QString::fromUtf8("Ñ");
    const struct {
        QString alphabet;
        bool freeform;
        unsigned char engine;
        QChar display;
    } cases[] = {
        {DefaultAlphabet, false, TRV_EMPTY, QChar(TRV_EMPTY)},
        {DefaultAlphabet, false, TRV_BLOCK, QChar(TRV_BLOCK)},
        {DefaultAlphabet, false, TRV_INVALID, QChar(TRV_INVALID)},
        {DefaultAlphabet, false, 'A', 'A'},
        {DefaultAlphabet, false, 'z', 'z'},
        {DefaultAlphabet, false, 91, '?'},   // "[" and no 27th letter
        {DefaultAlphabet, false, '(', '?'},  // at most 64
        {DefaultAlphabet, false, 0xD1, '?'}, // "Ñ" is no letter yet
        {withEnye, false, 91, ch(0xD1)},     // position 27
        {withEnye, false, 92, '?'},          // position 28 is beyond the alphabet
        {withEnye, false, 0xD1, ch(0xD1)},
        {withEnye, false, 0xF1, ch(0xF1)}, // the small letter is an alphabet letter too
        {withEnye, false, 0x80, '?'},      // position 64
        {DefaultAlphabet, true, 91, '['},
        {DefaultAlphabet, true, 0xD1, ch(0xD1)},
    };
    for (const auto &c : cases) {
        CustomAlphabet = c.alphabet;
        FreeformMode = c.freeform;
        EXPECT_EQ(EngineToDisplayLetter(char(c.engine)), c.display)
            << "byte " << int(c.engine) << " freeform " << c.freeform;
    }
}

TEST_F(AlphabetTest, DisplayLettersToEngineBytes)
{
    const QString withSpecials = DefaultAlphabet + QString::fromUtf8("ÑÉ");
    const struct {
        QString alphabet;
        bool freeform;
        QChar display;
        unsigned char engine;
    } cases[] = {
        {DefaultAlphabet, false, 'A', 'A'},
        {DefaultAlphabet, false, 'a', 'a'},
        {DefaultAlphabet, false, QChar(TRV_EMPTY), TRV_EMPTY},
        {DefaultAlphabet, false, QChar(TRV_REMOVED), TRV_REMOVED},
        {DefaultAlphabet, false, ch(0xC9), '?'},
        {DefaultAlphabet, false, '3', '?'},
        {DefaultAlphabet, false, ' ', '?'},
        {withSpecials, false, ch(0xC9), 0xC9},
        {withSpecials, false, ch(0xE9), 0xE9},
        {DefaultAlphabet, true, ch(0xC9), 0xC9},
        {DefaultAlphabet, true, '3', '3'},
    };
    for (const auto &c : cases) {
        CustomAlphabet = c.alphabet;
        FreeformMode = c.freeform;
        EXPECT_EQ(static_cast<unsigned char>(DisplayToEngineLetter(c.display)), c.engine)
            << "char " << int(c.display.unicode()) << " freeform " << c.freeform;
    }
}

TEST_F(AlphabetTest, CellLettersGoThroughTheAlphabet)
{
    TRVCreateRenumGrid(5, 5);
    Columns = Rows = 5;
    SetAlphabet(DefaultAlphabet + QString::fromUtf8("Ñ"));
    SetCellLetter(1, 1, ch(0xF1)); // "ñ": an alphabet character, passes as the small letter
    EXPECT_EQ(static_cast<unsigned char>(TRVGetCell(1, 1)), 0xF1);
    SetCellLetter(2, 1, ch(0xC9)); // "É" is not in the alphabet
    EXPECT_EQ(TRVGetCell(2, 1), '?');
    TRVSetCellOnly(3, 1, 91);
    EXPECT_EQ(GetCellLetter(3, 1), ch(0xD1));
    EXPECT_EQ(GetCellLetter(4, 1), QChar(TRV_EMPTY));
    EXPECT_FALSE(GridHasNoOpenCells());
    for (int r = 1; r <= 5; ++r)
        for (int c = 1; c <= 5; ++c)
            TRVSetCellOnly(c, r, TRV_BLOCK);
    EXPECT_TRUE(GridHasNoOpenCells());
}

TEST_F(AlphabetTest, MarkCharacters)
{
    const struct {
        char16_t in;
        char16_t encoded;
        bool encodeResult;
        char16_t decoded;
        bool decodeResult;
    } cases[] = {
        {'*', 1, false, '*', true}, {'-', 2, false, '-', true}, {'|', 3, false, '|', true},
        {'~', 4, false, '~', true}, {'`', 5, false, '`', true}, {1, 1, true, '*', false},
        {2, 2, true, '-', false},   {5, 5, true, '`', false},   {'A', 'A', false, 'A', false},
        {6, 6, false, 6, false},
    };
    for (const auto &c : cases) {
        QChar e(c.in);
        EXPECT_EQ(EncodeMarkChar(e), c.encodeResult) << int(c.in);
        EXPECT_EQ(int(e.unicode()), int(c.encoded)) << int(c.in);
        QChar d(c.in);
        EXPECT_EQ(DecodeMarkChar(d), c.decodeResult) << int(c.in);
        EXPECT_EQ(int(d.unicode()), int(c.decoded)) << int(c.in);
    }
}

TEST_F(AlphabetTest, Scanners)
{
    const struct {
        const char *text;
        const char *letters;
        const char *quoted;
        const char *digits;
        const char *entryWord;
    } cases[] = {
        {" 3 WORD", "WORD", "WORD", "3", "WORD"},
        {"12 WORD", "WORD", "WORD", "12", "WORD"},
        {"3A WORD", "A", "A", "3", "A"},
        {"  7 O'NEIL x", "O", "O'NEIL", "7", "O"},
        {"'tis 42nd", "tis", "'tis", "42", "tis"},
        {"", "", "", "", ""},
        {"123", "", "", "123", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ExtractLetterRun(c.text), c.letters) << c.text;
        EXPECT_EQ(ExtractLetterRunQuote(c.text), c.quoted) << c.text;
        EXPECT_EQ(ExtractDigitRun(c.text), c.digits) << c.text;
        EXPECT_EQ(ExtractEntryWord(c.text), c.entryWord) << c.text;
    }
    CustomAlphabet = DefaultAlphabet + QString::fromUtf8("É");
    EXPECT_EQ(CountAlphabetChars(QString::fromUtf8("abc É é 1")), 4); // ASCII upper-casing only
}

TEST_F(AlphabetTest, SetAlphabetShowsTheSpecialCharacters)
{
    auto label = std::make_unique<QLabel>();
    std::unique_ptr<QToolButton> buttons[5];
    AlphabetControls.Dict_AlphabetLbl = label.get();
    for (int i = 0; i < 5; ++i) {
        buttons[i] = std::make_unique<QToolButton>();
        buttons[i]->setText("x");
        AlphabetControls.SpecialCharSB[i] = buttons[i].get();
    }
    SetAlphabet("abc");
    EXPECT_EQ(CustomAlphabet, "ABC");
    EXPECT_EQ(label->text(), "ABC");
    for (auto &b : buttons)
        EXPECT_EQ(b->text(), "");

    SetAlphabet(DefaultAlphabet + QString::fromUtf8("ñ&"));
    EXPECT_EQ(CustomAlphabet, DefaultAlphabet + QString::fromUtf8("Ñ&"));
    EXPECT_EQ(buttons[0]->text(), QString::fromUtf8("Ñ"));
    EXPECT_EQ(buttons[1]->text(), "&&");
    EXPECT_EQ(buttons[2]->text(), "");
}

TEST_F(AlphabetTest, AddSpecialCharactersKeepsFiveInSymmetricalMode)
{
    ScriptedPrompter script;
    int dialogs = 0;
    OpenCustomizeAlphabetDialog = [&] { ++dialogs; };

    AddSpecialCharacters(QString::fromUtf8("ÑA B-É"));
    EXPECT_EQ(CustomAlphabet, DefaultAlphabet + QString::fromUtf8("Ñ-É"));
    AddSpecialCharacters(QString::fromUtf8("ñé")); // already letters, either case
    EXPECT_EQ(CustomAlphabet.size(), 29);
    EXPECT_TRUE(script.boxes.isEmpty());

    AddSpecialCharacters(QString::fromUtf8("ÜÖÄß"));
    EXPECT_EQ(CustomAlphabet, DefaultAlphabet + QString::fromUtf8("Ñ-ÉÜÖ"));
    ASSERT_EQ(script.boxes.size(), 2); // one message for each refused character
    EXPECT_TRUE(script.boxes[0].text.contains(QString::fromUtf8("add, Ä, makes")));
    EXPECT_TRUE(script.boxes[1].text.contains(QString::fromUtf8("add, ß, makes")));
    EXPECT_EQ(dialogs, 2);

    FreeformMode = true;
    AddSpecialCharacters(QString::fromUtf8("Äß"));
    EXPECT_EQ(CustomAlphabet.size(), 33);
    EXPECT_EQ(script.boxes.size(), 2);
}

TEST_F(AlphabetTest, SmallConversions)
{
    EXPECT_EQ(BoolToTF(true), 'T');
    EXPECT_EQ(BoolToTF(false), 'F');
    EXPECT_EQ(BoolToText(true), "True");
    EXPECT_TRUE(SameTextCI("Hello", "hELLO"));
    EXPECT_FALSE(SameTextCI(QString::fromUtf8("É"), QString::fromUtf8("é")));
    EXPECT_FALSE(SameTextCI("ab", "abc"));
}
