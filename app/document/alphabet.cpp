// The alphabet, the case tables, cell letters through the alphabet and the text scanners.
#include "alphabet.h"

#include "cp1252.h"
#include "docevents.h"
#include "globals.h"
#include "notices.h"
#include "trv600.h"

const QString DefaultAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
QString CustomAlphabet = DefaultAlphabet;
unsigned char LowerCaseTable[256];
unsigned char UpperCaseTable[256];
std::function<void()> OpenCustomizeAlphabetDialog;

namespace {

// Byte of a character that Windows-1252 holds, else -1.
int byteOf(QChar c)
{
    bool ok = false;
    const char b = Cp1252::fromChar(c, &ok);
    return ok ? static_cast<unsigned char>(b) : -1;
}

bool isCellCode(QChar c) { return c.unicode() >= 1 && c.unicode() <= 5; }

struct CaseTablesAtStart {
    CaseTablesAtStart() { BuildCaseTables(); }
} g_caseTablesAtStart;

} // namespace

void BuildCaseTables()
{
    for (int i = 0; i < 256; ++i)
        LowerCaseTable[i] = UpperCaseTable[i] = static_cast<unsigned char>(i);
    auto pair = [](int capital, int small) {
        LowerCaseTable[capital] = static_cast<unsigned char>(small);
        UpperCaseTable[small] = static_cast<unsigned char>(capital);
    };
    for (int i = 0; i < 26; ++i)
        pair('A' + i, 'a' + i);
    for (int i = 0xC0; i <= 0xCF; ++i)
        pair(i, i + 0x20);
    for (int i = 0xD1; i <= 0xD6; ++i)
        pair(i, i + 0x20);
    for (int i = 0xD8; i <= 0xDE; ++i)
        pair(i, i + 0x20);
    pair(0x8A, 0x9A); // Š š
    pair(0x8C, 0x9C); // Œ œ
    pair(0x8E, 0x9E); // Ž ž, a case pair like Š š
    pair(0x9F, 0xFF); // Ÿ ÿ
}

QChar LowerCaseChar(QChar c)
{
    const int b = byteOf(c);
    return b < 0 ? c : Cp1252::toChar(LowerCaseTable[b]);
}

QChar UpperCaseChar(QChar c)
{
    const int b = byteOf(c);
    return b < 0 ? c : Cp1252::toChar(UpperCaseTable[b]);
}

QString LowerCaseText(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        c = LowerCaseChar(c);
    return s;
}

QString UpperCaseText(const QString &text)
{
    QString s = text;
    for (QChar &c : s)
        c = UpperCaseChar(c);
    return s;
}

bool IsAlphabetChar(QChar c)
{
    if (c.unicode() <= ' ')
        return false;
    const QChar upper = UpperCaseChar(c);
    for (QChar a : CustomAlphabet)
        if (UpperCaseChar(a) == upper)
            return true;
    return false;
}

bool IsLetterOrOpen(QChar c) { return c.unicode() == TRV_EMPTY || IsAlphabetChar(c); }
bool IsAsciiLetter(QChar c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigitChar(QChar c) { return c >= '0' && c <= '9'; }

bool CellCharPassesUnchanged(QChar c) { return FreeformMode || isCellCode(c) || IsAlphabetChar(c); }

QChar EngineToDisplayLetter(char b)
{
    const unsigned char u = static_cast<unsigned char>(b);
    const QChar c = Cp1252::toChar(u);
    if (CellCharPassesUnchanged(c))
        return c;
    if (u <= 64)
        return '?';
    const int p = u - 64;
    if (p > CustomAlphabet.size())
        return '?';
    return CustomAlphabet[p - 1];
}

char DisplayToEngineLetter(QChar c)
{
    if (CellCharPassesUnchanged(c))
        return Cp1252::fromChar(c);
    const qsizetype p = CustomAlphabet.indexOf(c);
    if (p >= 0 && p + 65 < 256)
        return static_cast<char>(65 + p);
    return '?';
}

QChar GetCellLetter(int column, int row) { return EngineToDisplayLetter(TRVGetCell(column, row)); }

void SetCellLetter(int column, int row, QChar c) { TRVSetCellOnly(column, row, DisplayToEngineLetter(c)); }

bool GridHasNoOpenCells()
{
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            if (GetCellLetter(c, r).unicode() == TRV_EMPTY)
                return false;
    return true;
}

int CountAlphabetChars(const QString &text)
{
    int n = 0;
    for (QChar c : text) {
        const QChar upper = (c >= 'a' && c <= 'z') ? QChar(c.unicode() - 32) : c;
        if (CustomAlphabet.contains(upper))
            ++n;
    }
    return n;
}

namespace {

template <typename Pred> QString firstRun(const QString &text, Pred inClass)
{
    qsizetype b = 0;
    while (b < text.size() && !inClass(text[b]))
        ++b;
    qsizetype e = b;
    while (e < text.size() && inClass(text[e]))
        ++e;
    return text.mid(b, e - b);
}

} // namespace

QString ExtractLetterRun(const QString &text) { return firstRun(text, IsAlphabetChar); }

QString ExtractLetterRunQuote(const QString &text)
{
    return firstRun(text, [](QChar c) { return c == '\'' || IsAlphabetChar(c); });
}

QString ExtractDigitRun(const QString &text) { return firstRun(text, IsDigitChar); }

QString ExtractEntryWord(const QString &text)
{
    QString t = text;
    for (int i = 0; i < 2; ++i)
        if (t.startsWith(' '))
            t.remove(0, 1);
    const qsizetype k = t.indexOf(' ');
    if (k >= 0) {
        bool digits = true;
        for (qsizetype i = 0; i < k; ++i)
            digits = digits && IsDigitChar(t[i]);
        if (digits)
            t.remove(0, k + 1);
    }
    return ExtractLetterRun(t);
}

namespace {
// Characters refused as a sixth special character since the alphabet last changed: each edit of
// the word list sends the theme words again, and the refusal is explained only once.
QString g_refusedExplained;
} // namespace

void SetAlphabet(const QString &text)
{
    const QString alphabet = UpperCaseText(text);
    if (alphabet != CustomAlphabet)
        g_refusedExplained.clear();
    CustomAlphabet = alphabet;
    emit TDocumentEvents::Instance().AlphabetChanged();
}

void AddSpecialCharacters(const QString &word)
{
    for (QChar c : word) {
        if (c.unicode() < 33 || IsAlphabetChar(c))
            continue;
        if (!FreeformMode && CustomAlphabet.size() > 30) {
            if (g_refusedExplained.contains(c))
                continue;
            g_refusedExplained += c;
            showInformation("You can only have five special characters in the theme word list. "
                            "The character you just tried to add, " +
                            QString(c) + ", makes it one too many. " +
                            "There is no restriction on the number of special characters in "
                            "the clues. " +
                            "Press Ok to see your current alphabet.");
            if (OpenCustomizeAlphabetDialog)
                OpenCustomizeAlphabetDialog();
            continue;
        }
        SetAlphabet(CustomAlphabet + c);
    }
    emit TDocumentEvents::Instance().AlphabetChanged();
}

namespace {
constexpr char16_t kMarks[5] = {'*', '-', '|', '~', '`'};
}

bool EncodeMarkChar(QChar &c)
{
    const bool wasCode = isCellCode(c);
    for (int i = 0; i < 5; ++i)
        if (c.unicode() == kMarks[i]) {
            c = QChar(char16_t(i + 1));
            break;
        }
    return wasCode;
}

bool DecodeMarkChar(QChar &c)
{
    const bool wasMark = IsMarkChar(c);
    if (isCellCode(c))
        c = QChar(kMarks[c.unicode() - 1]);
    return wasMark;
}

bool IsMarkChar(QChar c)
{
    for (char16_t m : kMarks)
        if (c.unicode() == m)
            return true;
    return false;
}

QChar BoolToTF(bool b) { return b ? 'T' : 'F'; }
QString BoolToText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

bool SameTextCI(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QChar x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = QChar(x.unicode() - 32);
        if (y >= 'a' && y <= 'z')
            y = QChar(y.unicode() - 32);
        if (x != y)
            return false;
    }
    return true;
}
