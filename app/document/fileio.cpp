// The puzzle file: the writer and the parser of the puzzle text and the file save and read.
// Every key of the header and the sections is one row of a table that drives both directions.
#include "fileio.h"

#include "alphabet.h"
#include "cluespg.h"
#include "cp1252.h"
#include "globals.h"
#include "layoutsettings.h"
#include "notices.h"
#include "pataux.h"
#include "trv600.h"

#include <QHash>

#include <algorithm>
#include <functional>

TPuzzleFileHooks FileHooks;

const char *const SymmetryModeNames[7] = {"No Symmetry",
                                          "Standard Diagonal",
                                          "Spiral (Four-way)",
                                          "Vertical",
                                          "Horizontal",
                                          "Horizontal/Vertical (Four-way)",
                                          "Kaleidoscope (Eight-way)"};

namespace {

const QString kTab = QStringLiteral("\t");
const QString kThreeBlanks = QStringLiteral("   ");
// The removed-cell colour of a new document.
constexpr TColor kDefaultRemovedCellColor = 0xFFFFFF;

// ---- Key table ------------------------------------------------------------------------------

// The first value of each key name (compared without regard to case) in a puzzle text.
class KeyValues
{
public:
    explicit KeyValues(const QStringList &list)
    {
        for (const QString &line : list) {
            int eq = line.indexOf(QLatin1Char('='));
            if (eq < 0)
                continue;
            QString name = line.left(eq).toLower();
            if (!m_values.contains(name))
                m_values.insert(name, line.mid(eq + 1));
        }
    }
    bool has(const char *key) const { return m_values.contains(QString::fromLatin1(key).toLower()); }
    QString text(const char *key) const { return m_values.value(QString::fromLatin1(key).toLower()); }
    bool isT(const char *key) const { return text(key) == QLatin1String("T"); }
    bool notF(const char *key) const { return text(key) != QLatin1String("F"); }
    int integer(const char *key, int def, bool *ok = nullptr) const
    {
        bool good = false;
        int v = text(key).trimmed().toInt(&good);
        if (ok)
            *ok = good;
        return good ? v : def;
    }
    double real(const char *key, double def) const { return StrToFloatDefault(text(key), def); }

private:
    QHash<QString, QString> m_values;
};

enum class KeyType {
    String,
    Integer,
    Byte,
    Real,
    BoolIsT,
    BoolNotF,
    ByHand
};

// One key: the setting behind it and how its value is read when present, missing or
// unreadable, and written. A key made by hand has its own writer, and its reader when it is
// read with the others; the rest of those (the printer, the word bank and the page choice) are
// read at their own step of the parse.
struct KeyDef {
    const char *section; // null for the header keys
    const char *key;
    KeyType type;
    std::function<void *(TLayoutSettings &)> target; // the QString, int, byte, double or bool
    double defaultValue = 0;                         // integer and real default
    const char *defaultText = "";
    // Special reading rules.
    int minValue = 0, maxValue = -1; // integers outside [min, max] take the default (max < min: no range)
    bool keepCurrent = false;        // a missing or unreadable key keeps the current value
    QString (*write)() = nullptr;
    void (*read)(const KeyValues &kv) = nullptr;
};

// The setting of that name in a settings value (a member, or a member's member).
#define SETTING(name)                                                                                        \
    [](TLayoutSettings & s) -> auto & { return s.name; }

template <typename T> std::function<void *(TLayoutSettings &)> targetOf(T &(*get)(TLayoutSettings &))
{
    return [get](TLayoutSettings &s) -> void * { return &get(s); };
}

KeyDef str(const char *s, const char *k, QString &(*t)(TLayoutSettings &), const char *def = "",
           bool keep = false)
{
    KeyDef d{s, k, KeyType::String, targetOf(t), 0, def};
    d.keepCurrent = keep;
    return d;
}
KeyDef integer(const char *s, const char *k, int &(*t)(TLayoutSettings &), int def, int lo = 0, int hi = -1,
               bool keep = false)
{
    KeyDef d{s, k, KeyType::Integer, targetOf(t), double(def)};
    d.minValue = lo;
    d.maxValue = hi;
    d.keepCurrent = keep;
    return d;
}
KeyDef byte(const char *s, const char *k, std::uint8_t &(*t)(TLayoutSettings &), int def, int lo, int hi)
{
    KeyDef d{s, k, KeyType::Byte, targetOf(t), double(def)};
    d.minValue = lo;
    d.maxValue = hi;
    return d;
}
KeyDef real(const char *s, const char *k, double &(*t)(TLayoutSettings &), double def)
{
    return KeyDef{s, k, KeyType::Real, targetOf(t), def};
}
KeyDef isT(const char *s, const char *k, bool &(*t)(TLayoutSettings &))
{
    return KeyDef{s, k, KeyType::BoolIsT, targetOf(t)};
}
KeyDef notF(const char *s, const char *k, bool &(*t)(TLayoutSettings &))
{
    return KeyDef{s, k, KeyType::BoolNotF, targetOf(t)};
}
KeyDef byHand(const char *s, const char *k, QString (*write)(), void (*read)(const KeyValues &) = nullptr)
{
    KeyDef d{s, k, KeyType::ByHand, {}};
    d.write = write;
    d.read = read;
    return d;
}

const char *const kPaper = "Paper Size and Margins";
const char *const kUnsolved = "Unsolved Puzzle";
const char *const kSolution = "Solution";
const char *const kClues = "Clues and Columns";
const char *const kTitle = "Title and Credits Details";
const char *const kAuto = "Auto-Layout";

QString tf(bool b) { return b ? QStringLiteral("T") : QStringLiteral("F"); }

// Reals always with "." so that files read the same whatever the locale.
QString realText(double x) { return FloatToShortStr(x); }

std::vector<KeyDef> headerKeysBefore()
{
    return {str(nullptr, "CreatedBy", [](TLayoutSettings &) -> QString & { return CreatedBy; }),
            str(nullptr, "CreditsLine", SETTING(CreditsLine))};
}

// Section keys in their written order.
std::vector<KeyDef> sectionKeys()
{
    return {
        byHand(kPaper, "Printer",
               [] { return HasPrinter() && FileHooks.PrinterName ? FileHooks.PrinterName() : QString(); }),
        byHand(kPaper, "Orientation",
               [] {
                   return QString::number(
                       HasPrinter() && FileHooks.PrinterOrientation ? FileHooks.PrinterOrientation() : 0);
               }),
        real(kPaper, "PaperWidth", SETTING(PaperWidth), 8.5),
        real(kPaper, "PaperHeight", SETTING(PaperHeight), 11),
        real(kPaper, "MarginTop", SETTING(MarginTop), 1),
        real(kPaper, "MarginLeft", SETTING(MarginLeft), 1),
        real(kPaper, "MarginRight", SETTING(MarginRight), 1),
        real(kPaper, "MarginBottom", SETTING(MarginBottom), 1),
        byte(kPaper, "PutFrameOnCode", SETTING(PutFrameOnCode), 7, 0, 8),
        str(kPaper, "FrameStyle", SETTING(FrameStyle), "None = None 0, None 12632256, None 0"),
        real(kPaper, "FrameInsideTop", SETTING(FrameInside.Top), DefaultFrameInside.Top),
        real(kPaper, "FrameInsideLeft", SETTING(FrameInside.Left), DefaultFrameInside.Left),
        real(kPaper, "FrameInsideRight", SETTING(FrameInside.Right), DefaultFrameInside.Right),
        real(kPaper, "FrameInsideBottom", SETTING(FrameInside.Bottom), DefaultFrameInside.Bottom),
        real(kPaper, "FrameOutsideTop", SETTING(FrameOutside.Top), DefaultFrameOutside.Top),
        real(kPaper, "FrameOutsideLeft", SETTING(FrameOutside.Left), DefaultFrameOutside.Left),
        real(kPaper, "FrameOutsideRight", SETTING(FrameOutside.Right), DefaultFrameOutside.Right),
        real(kPaper, "FrameOutsideBottom", SETTING(FrameOutside.Bottom), DefaultFrameOutside.Bottom),
        str(kPaper, "WorksheetLine", SETTING(WorksheetLine), "", true),
        integer(kPaper, "WorksheetFontSize", SETTING(WorksheetFontSize), 0, 0, -1, true),
        str(kPaper, "WorksheetFontName", SETTING(WorksheetFontName), "Arial", true),

        real(kUnsolved, "CellWidth", SETTING(CellWidth), 0.25),
        real(kUnsolved, "CellHeight", SETTING(CellHeight), 0.25),
        real(kUnsolved, "GridLineThickness", SETTING(GridLineThickness), 0.005),
        byHand(
            kUnsolved, "BlockedCellColor", [] { return QString::number(BlockedCellColor); },
            [](const KeyValues &kv) {
                BlockedCellColor = std::clamp(kv.integer("BlockedCellColor", 0), 0, 6);
            }),
        integer(kUnsolved, "RemovedCellColor", SETTING(RemovedCellColor), kDefaultRemovedCellColor),
        integer(kUnsolved, "CellNumberPercent", SETTING(CellNumberPercent), 36),
        integer(kUnsolved, "PuzzlePage", SETTING(PuzzlePage), 1),
        real(kUnsolved, "PuzzleLeft", SETTING(PuzzleLeft), 0),
        real(kUnsolved, "PuzzleTop", SETTING(PuzzleTop), 0),
        integer(kUnsolved, "clPuzzleGrid", SETTING(clPuzzleGrid), 0),
        integer(kUnsolved, "clPuzzleNumber", SETTING(clPuzzleNumber), 0),

        isT(kSolution, "AlignSolution", SETTING(AlignSolution)),
        isT(kSolution, "NumberedSolution", SETTING(NumberedSolution)),
        real(kSolution, "CellWidthSol", SETTING(CellWidthSol), 0.15),
        real(kSolution, "CellHeightSol", SETTING(CellHeightSol), 0.15),
        real(kSolution, "GridLineThicknessSol", SETTING(GridLineThicknessSol), 0.005),
        integer(kSolution, "CellLetterPercent", SETTING(CellLetterPercent), 90),
        str(kSolution, "SolutionFont", SETTING(SolutionFont)),
        isT(kSolution, "SolutionThemeBold", SETTING(SolutionThemeBold)),
        isT(kSolution, "SolutionThemeColor", SETTING(SolutionThemeColor)),
        integer(kSolution, "clSolutionNumber", SETTING(clSolutionNumber), 0),
        integer(kSolution, "clSolutionGrid", SETTING(clSolutionGrid), 0),
        integer(kSolution, "clSolutionLetter", SETTING(clSolutionLetter), 0),
        integer(kSolution, "clClues", SETTING(clClues), 0),
        integer(kSolution, "clWordBank", SETTING(clWordBank), 0),

        integer(kClues, "ClueColumns", SETTING(ClueColumns), 5),
        isT(kClues, "SeparateClues", SETTING(SeparateClues)),
        str(kClues, "AcrossText", SETTING(AcrossText), "Across"),
        str(kClues, "DownText", SETTING(DownText), "Down"),
        integer(kClues, "LeadingPercentage", SETTING(LeadingPercentage), 125),
        str(kClues, "ClueNumberFont", SETTING(ClueNumberFont)),
        integer(kClues, "ClueNumberFontSize", SETTING(ClueNumberFontSize), 10),
        byHand(
            kClues, "ClueNumberBold", [] { return tf(ClueNumberStyle == 1); },
            [](const KeyValues &kv) { ClueNumberStyle = kv.isT("ClueNumberBold") ? 1 : 0; }),
        str(kClues, "ClueTextFont", SETTING(ClueTextFont)),
        integer(kClues, "ClueTextFontSize", SETTING(ClueTextFontSize), 10),
        byHand(
            kClues, "ClueThemeBold", [] { return tf(ClueThemeStyle & 1); },
            [](const KeyValues &kv) {
                ClueThemeStyle = (kv.isT("ClueThemeBold") ? 1 : 0) | (kv.isT("ClueThemeItalic") ? 2 : 0);
            }),
        byHand(kClues, "ClueThemeItalic", [] { return tf(ClueThemeStyle & 2); }),
        isT(kClues, "ClueThemeInColor", SETTING(ClueThemeInColor)),
        isT(kClues, "ClueThemeAllCaps", SETTING(ClueThemeAllCaps)),
        str(kClues, "AcrDwnFont", SETTING(AcrDwnFont)),
        integer(kClues, "AcrDwnFontSize", SETTING(AcrDwnFontSize), 10),
        isT(kClues, "AcrDwnBold", SETTING(AcrDwnBold)),
        isT(kClues, "AcrDwnCapitals", SETTING(AcrDwnCapitals)),
        isT(kClues, "NewColumnDown", SETTING(NewColumnDown)),
        byHand(kClues, "WordBankCB",
               [] {
                   // While the check box itself takes a checkpoint, it already shows the new state.
                   return tf(WordBankCBCheckpointing ? !DocControls.WordBankCB : DocControls.WordBankCB);
               }),
        byHand(kClues, "WordBankMode", [] { return WordListPlaceNames.value(WordBankMode); }),
        byHand(kClues, "WordBankSort", [] { return WordListOrderNames.value(WordBankSort); }),
        byHand(kClues, "WordBankHeader", [] { return WordBankHeader; }),
        byHand(kClues, "WordBankPager", [] { return QString::number(WordBankPage); }),
        byHand(kClues, "asWordBankHeight", [] { return realText(asWordBankHeight); }),

        byte(kTitle, "PutTitleOnCode", SETTING(PutTitleOnCode), 2, 0, 8),
        str(kTitle, "TitleFont", SETTING(TitleFont)),
        integer(kTitle, "TitleFontSize", SETTING(TitleFontSize), 36, 1, 216),
        integer(kTitle, "TitleColor", SETTING(TitleColor), 0),
        byHand(
            kTitle, "TitleBIUS", [] { return FormatTFFlags(TitleStyle); },
            [](const KeyValues &kv) { TitleStyle = ParseTFFlags(kv.text("TitleBIUS")); }),
        str(kTitle, "SubtitleFont", SETTING(SubtitleFont)),
        integer(kTitle, "SubtitleFontSize", SETTING(SubtitleFontSize), 16, 1, 216),
        integer(kTitle, "SubtitleColor", SETTING(SubtitleColor), 0),
        byHand(
            kTitle, "SubtitleBIUS", [] { return FormatTFFlags(SubtitleStyle); },
            [](const KeyValues &kv) { SubtitleStyle = ParseTFFlags(kv.text("SubtitleBIUS")); }),
        byHand(
            kTitle, "SubtitleExtraSpacing",
            [] { return QStringLiteral("%1").arg(SubtitleExtraSpacing, 5, 'f', 3); },
            [](const KeyValues &kv) { SubtitleExtraSpacing = kv.real("SubtitleExtraSpacing", 0); }),
        str(kTitle, "CreditsFont", SETTING(CreditsFont)),
        integer(kTitle, "CreditsFontSize", SETTING(CreditsFontSize), 7),

        byHand(
            kAuto, "AutoLayout", [] { return tf(DocControls.AutoLayout); },
            [](const KeyValues &kv) { DocControls.AutoLayout = kv.notF("AutoLayout"); }),
        notF(kAuto, "AutoMargins", SETTING(AutoMargins)),
        notF(kAuto, "AutoTitleSize", SETTING(AutoTitleSize)),
        notF(kAuto, "AutoCellSize", SETTING(AutoCellSize)),
        isT(kAuto, "AutoCellShape", SETTING(AutoCellShape)),
        notF(kAuto, "AutoCenter", SETTING(AutoCenter)),
        notF(kAuto, "AutoLayout_OnApply", SETTING(AutoLayout_OnApply)),
        notF(kAuto, "AutoLayout_OnSpill", SETTING(AutoLayout_OnSpill)),
        notF(kAuto, "AutoClueColumns", SETTING(AutoClueColumns)),
        notF(kAuto, "AutoNewColumn", SETTING(AutoNewColumn)),
        notF(kAuto, "AutoClueSize", SETTING(AutoClueSize)),
        notF(kAuto, "AutoClueSpacing", SETTING(AutoClueSpacing)),
        byHand(kAuto, "AutoLayoutPageChoice", [] { return QString::number(AutoLayoutPageChoice); }),
        notF(kAuto, "AskBeforeUsingTwoPages", SETTING(AskBeforeUsingTwoPages)),
    };
}
#undef SETTING

QString keyLine(const char *key, const QString &value)
{
    return QLatin1String(key) + QLatin1Char('=') + value;
}

// The value written for a key.
QString writtenValue(const KeyDef &d)
{
    if (d.type == KeyType::ByHand)
        return d.write();
    void *target = d.target(LayoutSettings);
    switch (d.type) {
    case KeyType::String: return *static_cast<QString *>(target);
    case KeyType::Integer: return QString::number(*static_cast<int *>(target));
    case KeyType::Byte: return QString::number(*static_cast<std::uint8_t *>(target));
    case KeyType::Real: return realText(*static_cast<double *>(target));
    case KeyType::BoolIsT:
    case KeyType::BoolNotF: return tf(*static_cast<bool *>(target));
    case KeyType::ByHand: break;
    }
    return QString();
}

// ---- Reading keys ---------------------------------------------------------------------------

void readTableKey(const KeyDef &d, const KeyValues &kv)
{
    if (d.type == KeyType::ByHand) {
        if (d.read)
            d.read(kv);
        return;
    }
    void *target = d.target(LayoutSettings);
    switch (d.type) {
    case KeyType::String: {
        QString &t = *static_cast<QString *>(target);
        if (d.keepCurrent && !kv.has(d.key))
            break;
        t = kv.text(d.key);
        if (t.isEmpty() && *d.defaultText)
            t = QLatin1String(d.defaultText);
        break;
    }
    case KeyType::Integer: {
        int &v = *static_cast<int *>(target);
        bool ok = false;
        int read = kv.integer(d.key, int(d.defaultValue), &ok);
        if (!ok && d.keepCurrent)
            break;
        if (d.maxValue >= d.minValue && (read < d.minValue || read > d.maxValue))
            read = int(d.defaultValue);
        v = read;
        break;
    }
    case KeyType::Byte: {
        int read = kv.integer(d.key, int(d.defaultValue));
        if (read < d.minValue || read > d.maxValue)
            read = int(d.defaultValue);
        *static_cast<std::uint8_t *>(target) = std::uint8_t(read);
        break;
    }
    case KeyType::Real: *static_cast<double *>(target) = kv.real(d.key, d.defaultValue); break;
    case KeyType::BoolIsT: *static_cast<bool *>(target) = kv.isT(d.key); break;
    case KeyType::BoolNotF: *static_cast<bool *>(target) = kv.notF(d.key); break;
    case KeyType::ByHand: break;
    }
}

int findExact(const QStringList &list, const QString &text) { return int(list.indexOf(text)); }

// The clue of a block line: everything after the first "|" from position from on (the
// field before it may hold a "|" letter), each Tab as three blanks.
QString clueAfterBar(const QString &line, int from)
{
    int bar = line.indexOf(QLatin1Char('|'), std::max(from, 0));
    if (bar < 0)
        return QString();
    QString clue = line.mid(bar + 1);
    clue.replace(kTab, kThreeBlanks);
    return clue;
}

QString gridLine(int row, int width)
{
    QString line = kTab;
    for (int c = 1; c <= width; ++c) {
        QChar ch = GetCellLetter(c, row);
        if (IsAlphabetChar(ch))
            ch = TRVIsCellFixed(c, row) ? UpperCaseChar(ch) : LowerCaseChar(ch);
        bool literalMark = DecodeMarkChar(ch);
        line += ch;
        line += literalMark ? QLatin1Char('*') : QLatin1Char(' ');
    }
    return line;
}

// Reads the GRID rows into the engine; bad or missing cells are listed in one message, returned
// (empty when every cell was read).
QString readGrid(const QStringList &list, int gridAt, int columns, int rows, const QString &fileName)
{
    TRVClearGrid();
    QList<QPair<int, int>> bad;
    // Grid rows begin with a Tab; the first line that does not (such as "END GRID") ends them.
    bool ended = false;
    for (int r = 1; r <= rows; ++r) {
        const int at = gridAt + r;
        ended = ended || at >= list.size() || !list.at(at).startsWith(kTab);
        const QString line = ended ? QString() : list.at(at) + QLatin1Char(' ');
        for (int c = 1; c <= columns; ++c) {
            const int pos = 2 * c - 1; // 0-based place of the cell's character
            if (pos + 1 >= line.size()) {
                bad.append({c, r});
                continue;
            }
            QChar ch = line.at(pos);
            if (line.at(pos + 1) == QLatin1Char(' '))
                EncodeMarkChar(ch);
            const ushort u = ch.unicode();
            if (IsAlphabetChar(ch) || u == TRV_BLOCK || u == TRV_EMPTY || u == TRV_REMOVED)
                SetCellLetter(c, r, ch);
            else
                bad.append({c, r});
        }
    }
    TRVRenumberGrid();
    if (bad.isEmpty())
        return QString();
    QString text =
        QStringLiteral("File %1 contains an error in the GRID section starting at column %2 of row %3. "
                       "The puzzle may be corrupted started at that point.")
            .arg(fileName)
            .arg(bad.first().first)
            .arg(bad.first().second);
    if (bad.size() > 1) {
        QStringList cells;
        for (int i = 0; i < bad.size() && i < 20; ++i)
            cells.append(QStringLiteral("(%1, %2)").arg(bad.at(i).first).arg(bad.at(i).second));
        if (bad.size() > 20)
            cells.append(QStringLiteral("..."));
        text += QStringLiteral("\r\n\r\n%1 cells could not be read (column, row): %2")
                    .arg(bad.size())
                    .arg(cells.join(QStringLiteral(", ")));
    }
    return text;
}

int readThemeWords(const QStringList &list)
{
    const int start = findExact(list, QStringLiteral("THEME WORDS:"));
    const int end = findExact(list, QStringLiteral("END THEME WORDS"));
    if (start < 0 || end < 0 || !WordList)
        return 0;
    int rejected = 0;
    for (int i = start + 1; i < end; ++i) {
        const QString &line = list.at(i);
        if (!line.startsWith(kTab)) {
            ++rejected;
            continue;
        }
        const int t2 = line.indexOf(kTab, 1);
        const int t3 = t2 < 0 ? -1 : line.indexOf(kTab, t2 + 1);
        if (t2 < 0 || t3 < 0) {
            ++rejected;
            continue;
        }
        const int t4 = line.indexOf(kTab, t3 + 1);
        const QString word =
            t4 < 0 ? line.mid(t3 + 1, std::max(0, 99 - (t3 + 1))) : line.mid(t3 + 1, t4 - t3 - 1);
        const QString clue = clueAfterBar(line, t4);
        // The last line is the editor's trailing empty entry, which the editor keeps itself.
        if (i == end - 1 && word.isEmpty() && clue.isEmpty())
            continue;
        WordList->AddEntry(word + kTab + clue);
    }
    WordList->UpdateScrollBar();
    return rejected;
}

// Reads the rows of one CURRENT CLUES block; returns the number of lines lost.
int readClueRows(const QStringList &list, int start, int end, TClueGrid *grid)
{
    int lost = 0;
    for (int i = start + 1; i < end; ++i) {
        const QString &line = list.at(i);
        if (!line.startsWith(kTab))
            continue;
        const int row = i - start;
        int t2 = line.indexOf(kTab, 1);
        const QString first = t2 < 0 ? line.mid(1) : line.mid(1, t2 - 1);
        // Files may hold a special letter of a key in lower case, as its unfixed cell is written.
        if (row < grid->RowCount() && UpperCaseText(first) == grid->Cell(0, row)) {
            // The file's clue as it is, blank or empty included, so that a save writes it back.
            const QString clue = clueAfterBar(line, t2);
            grid->SetCell(1, row, clue);
            StoreClueForAnswer(grid->Cell(0, row), clue);
        } else {
            ++lost;
        }
    }
    return lost;
}

void controlsChanged()
{
    if (FileHooks.ControlsChanged)
        FileHooks.ControlsChanged();
}

// Why a puzzle text cannot be read at all, or empty when it can. Checked before anything is
// changed, so that a broken file leaves the open puzzle as it was.
QString puzzleTextProblem(const QStringList &list, const KeyValues &kv, const QString &fileName)
{
    // A missing size reads as 51; a size that is there must be a number.
    bool columnsRead = false, rowsRead = false;
    const int columns = kv.integer("Columns", 51, &columnsRead);
    const int rows = kv.integer("Rows", 51, &rowsRead);
    const bool readable = (columnsRead || !kv.has("Columns")) && (rowsRead || !kv.has("Rows"));
    if (!readable || columns < 1 || rows < 1 || columns >= 52 || rows >= 52 || !TRVCanDo(columns, rows))
        return QStringLiteral("File %1 contains an invalid puzzle size.").arg(fileName);
    if (findExact(list, QStringLiteral("GRID:")) < 0)
        return QStringLiteral("File %1 contains no GRID section.").arg(fileName);
    return QString();
}

} // namespace

// ---- Writing ---------------------------------------------------------------------------------

void WritePuzzleToStrings(QStringList &list)
{
    list.clear();
    if (CluesNeedRebuild)
        RebuildClueGrids();
    const int width = TRVGetWidth();
    const int height = TRVGetHeight();
    const int mode = TRVGetSymMode();

    list << QStringLiteral("TRVFileFormat=2.0");
    list << keyLine("PuzzleTitle", DocControls.PuzzleTitle);
    list << keyLine("PuzzleSubtitle", DocControls.PuzzleSubtitle);
    for (const KeyDef &d : headerKeysBefore())
        list << keyLine(d.key, writtenValue(d));
    list << keyLine("CustomAlphabet", CustomAlphabet);
    list << keyLine("Columns", QString::number(width));
    list << keyLine("Rows", QString::number(height));
    list << keyLine("TightlyCrossed", tf(!FreeformMode));
    list << keyLine("LooseAutoSize", tf(DocControls.LooseAutoSize));
    list << keyLine("SymmetryMode",
                    mode >= 0 && mode < 7 ? QLatin1String(SymmetryModeNames[mode]) : QString());
    list << keyLine("EveryPuzzleDifferent", tf(DocControls.EveryPuzzleDifferent));
    list << keyLine("FlagOneLetterSlots", tf(DocControls.FlagOneLetterSlots));
    list << keyLine("FlagTwoLetterSlots", tf(DocControls.FlagTwoLetterSlots));
    list << keyLine("ShowHotSpots", tf(DocControls.ShowHotSpots));
    list << keyLine("Exchanged", tf(DocControls.Exchanged));

    const char *section = nullptr;
    for (const KeyDef &d : sectionKeys()) {
        if (section != d.section) {
            list << QString();
            list << QStringLiteral("[%1]").arg(QLatin1String(d.section));
            section = d.section;
        }
        list << keyLine(d.key, writtenValue(d));
    }
    list << QString();

    list << QStringLiteral("GRID:");
    for (int r = 1; r <= height; ++r)
        list << gridLine(r, width);
    list << QStringLiteral("END GRID");

    list << QStringLiteral("THEME WORDS:");
    if (WordList)
        for (int e = 0; e < WordList->EntryCount(); ++e)
            list << QStringLiteral("\t0\t--\t") + WordList->GetWord(e) + QStringLiteral("\t|") +
                        WordList->GetClue(e);
    list << QStringLiteral("END THEME WORDS");

    list << QStringLiteral("CURRENT CLUES ACROSS:");
    if (CluesAcrossSG)
        for (int r = 1; r < CluesAcrossSG->RowCount(); ++r)
            list << kTab + CluesAcrossSG->Cell(0, r) + QStringLiteral("\t|") + CluesAcrossSG->Cell(1, r);
    list << QStringLiteral("CURRENT CLUES DOWN:");
    if (CluesDownSG)
        for (int r = 1; r < CluesDownSG->RowCount(); ++r) {
            const QString key = CluesDownSG->Cell(0, r);
            if (key.isEmpty() || key == QLatin1String("WordBank"))
                continue;
            list << kTab + key + QStringLiteral("\t|") + CluesDownSG->Cell(1, r);
        }
    list << QStringLiteral("END CURRENT CLUES");
    list << QStringLiteral("END.");
}

TFileResult WritePuzzleFile(const QString &fileName)
{
    TFileResult result;
    QStringList lines;
    WritePuzzleToStrings(lines);
    QString error;
    if (!Cp1252::writeTextLines(fileName, lines, &error)) {
        // The document stays modified: nothing was saved.
        result.Add(
            TFileMessage::Warning,
            Cp1252::writeFailureText(
                QStringLiteral(
                    "An error occurred while trying to save your puzzle file. Please try again, perhaps "
                    "saving it to a different drive Letter (e.g., C:) or to a floppy diskette."),
                fileName, error));
        return result;
    }
    if (WordList)
        WordList->MarkSaved();
    PuzzleModified = false;
    result.Ok = true;
    return result;
}

// ---- Reading ---------------------------------------------------------------------------------

TFileResult LoadPuzzleFromStrings(const QStringList &list)
{
    TFileResult result;
    const KeyValues kv(list);
    const QString fileName = kv.text("FileName");
    const QString problem = puzzleTextProblem(list, kv, fileName);
    if (!problem.isEmpty()) {
        result.Add(TFileMessage::Error, problem);
        return result;
    }
    LoadingPuzzle = true;
    CreateClueGrids();

    // 1. Names, title fields, the alphabet.
    DocControls.PuzzleTitle = kv.text("PuzzleTitle");
    DocControls.PuzzleSubtitle = kv.text("PuzzleSubtitle");
    for (const KeyDef &d : headerKeysBefore())
        readTableKey(d, kv);
    const QString alphabet = kv.text("CustomAlphabet");
    SetAlphabet(alphabet.isEmpty() ? QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ") : alphabet);

    // 2. Size, puzzle type and the header flags.
    const int columns = kv.integer("Columns", 51);
    const int rows = kv.integer("Rows", 51);
    if (WordList)
        WordList->Clear();
    FreeformMode = kv.text("TightlyCrossed") == QLatin1String("F");
    if (FileHooks.SwitchPuzzleType)
        FileHooks.SwitchPuzzleType(FreeformMode);
    DocControls.LooseAutoSize = kv.text("LooseAutoSize") != QLatin1String("F");
    const int pageChoice = kv.integer("AutoLayoutPageChoice", 1);
    if (pageChoice >= 1 && pageChoice <= 3)
        AutoLayoutPageChoice = pageChoice;
    const QString modeName = kv.text("SymmetryMode");
    for (int m = 0; m < 7; ++m)
        if (modeName == QLatin1String(SymmetryModeNames[m]))
            TRVSetSymMode(m);
    DocControls.EveryPuzzleDifferent = kv.isT("EveryPuzzleDifferent");
    DocControls.Exchanged = kv.isT("Exchanged");

    // 3. The printer's orientation.
    const bool printer = HasPrinter();
    if (printer && !kv.text("Printer").isEmpty() && FileHooks.SetPrinterOrientation)
        FileHooks.SetPrinterOrientation(kv.integer("Orientation", 0));
    if (printer && FileHooks.WYSIWYGChange)
        FileHooks.WYSIWYGChange();

    // 4. The section keys.
    for (const KeyDef &d : sectionKeys())
        readTableKey(d, kv);

    // 5. The grid (its size and its section were checked above).
    TRVResizeGrid(columns, rows);
    SetPuzzleDimensions(columns, rows, false);
    const QString gridProblem =
        readGrid(list, findExact(list, QStringLiteral("GRID:")), columns, rows, fileName);
    if (!gridProblem.isEmpty())
        result.Add(TFileMessage::Error, gridProblem);

    // 6. Grid display flags; the word list starts empty again.
    DocControls.FlagOneLetterSlots = kv.isT("FlagOneLetterSlots");
    DocControls.FlagTwoLetterSlots = kv.isT("FlagTwoLetterSlots");
    DocControls.ShowHotSpots = kv.isT("ShowHotSpots");
    if (WordList)
        WordList->Clear();

    // 7. Theme words.
    const int rejected = readThemeWords(list);
    if (rejected > 0)
        result.Add(TFileMessage::Error,
                   QStringLiteral("%1 has problems in the THEME WORDS section. %2 line(s) were rejected.")
                       .arg(fileName)
                       .arg(rejected));

    // 8. Current clues over the rebuilt clue grids.
    int lost = 0;
    {
        TClueGridsUpdate update;
        CurrentCluesSL->Clear();
        CluesNeedRebuild = true;
        RebuildClueGrids();
        const int across = findExact(list, QStringLiteral("CURRENT CLUES ACROSS:"));
        const int down = findExact(list, QStringLiteral("CURRENT CLUES DOWN:"));
        const int end = findExact(list, QStringLiteral("END CURRENT CLUES"));
        if (across >= 0 && down > across)
            lost += readClueRows(list, across, down, CluesAcrossSG);
        if (down >= 0 && end > down)
            lost += readClueRows(list, down, end, CluesDownSG);
    }

    // 9. The word bank and the clue flow.
    if (kv.has("WordBankCB")) {
        WordBankMode = WordListPlaceIndex(kv.text("WordBankMode"));
        WordBankSort = WordListOrderIndex(kv.text("WordBankSort"));
        WordBankHeader = kv.text("WordBankHeader");
        WordBankPage = kv.integer("WordBankPager", 1);
        asWordBankHeight = kv.real("asWordBankHeight", 0);
    }
    IgnoreWordBankCBClick = true;
    DocControls.WordBankCB = kv.isT("WordBankCB");
    if (DocControls.WordBankCB && WordBankMode == 1 && FileHooks.WordBankLayout)
        FileHooks.WordBankLayout();
    if (DocHooks.ClueFlowInvalidateAll)
        DocHooks.ClueFlowInvalidateAll();
    if (DocHooks.ClueFlowEstablishAll)
        DocHooks.ClueFlowEstablishAll();

    // 10. Clue lines that did not fit the solution.
    if (lost > 0)
        result.Add(
            TFileMessage::Error,
            QStringLiteral("%1 contains inconsistencies between the solution and the clues. The solution was "
                           "kept, possibly losing up to %2 current clues.")
                .arg(fileName)
                .arg(lost));

    // 11. Last keys and refreshes.
    if (kv.has("SolutionLeft"))
        SolutionLeft = kv.real("SolutionLeft", SolutionLeft);
    if (kv.has("SolutionTop"))
        SolutionTop = kv.real("SolutionTop", SolutionTop);
    TRVSetShowHotSpots(DocControls.ShowHotSpots ? 1 : 0);
    controlsChanged();
    if (FileHooks.AfterPuzzleRead)
        FileHooks.AfterPuzzleRead();
    IgnoreWordBankCBClick = false;
    LoadingPuzzle = false;
    result.Ok = true;
    return result;
}

TFileResult LoadPuzzleFromBytes(const QByteArray &bytes, const QString &name)
{
    const QList<QByteArray> raw = Cp1252::splitLines(bytes);
    QStringList lines;
    lines.reserve(raw.size() + 1);
    for (const QByteArray &line : raw)
        lines << Cp1252::toUnicode(line);
    const QString first = lines.isEmpty() ? QString() : lines.first();
    if (first != QLatin1String("OWTFileFormat=2.0") && !first.startsWith(QLatin1String("TRVFileFormat="))) {
        TFileResult result;
        result.Add(TFileMessage::Error, QStringLiteral("%1 has an unknown file format.").arg(name));
        return result;
    }
    lines << QStringLiteral("FileName=") + name;
    TFileResult result = LoadPuzzleFromStrings(lines);
    if (result)
        PuzzleModified = false;
    return result;
}

TFileResult LoadTextPuzzleFile(const QString &fileName)
{
    QStringList lines;
    if (!Cp1252::readTextLines(fileName, &lines)) {
        TFileResult result;
        result.Add(
            TFileMessage::Error,
            QStringLiteral("Error while reading file %1.  Please check puzzle and clues for completeness and "
                           "consistency.")
                .arg(fileName));
        return result;
    }
    lines << QStringLiteral("FileName=") + fileName;
    TFileResult result = LoadPuzzleFromStrings(lines);
    if (!result)
        return result;
    PuzzleModified = false;
    if (FileHooks.AfterFileRead)
        FileHooks.AfterFileRead();
    return result;
}

void ReportFileMessages(const TFileResult &result)
{
    for (const TFileMessage &m : result.Messages) {
        switch (m.Type) {
        case TFileMessage::Information: showInformation(m.Text); break;
        case TFileMessage::Warning: showWarning(m.Text); break;
        case TFileMessage::Error: showError(m.Text); break;
        }
    }
}
