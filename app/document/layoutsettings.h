// The layout settings of the printed page in one value, with the values a new puzzle starts
// with, and the program-wide instance the puzzle file, the layout dialog and the page use.
#pragma once

#include "pagetypes.h"

#include <QString>

#include <cstdint>

/** The inner and outer frame insets of a new puzzle (inches). */
constexpr TPageRect DefaultFrameInside{0.25, 0.25, 0.25, 0.25};
constexpr TPageRect DefaultFrameOutside{0.5, 0.5, 0.5, 0.63};

/** Every layout setting of the page, as the puzzle file stores it. A default-made value holds
 *  the factory values (those of a new symmetrical puzzle). */
struct TLayoutSettings {
    // Paper, margins, border, worksheet line.
    double PaperWidth = 8.5, PaperHeight = 11;
    double MarginLeft = 1, MarginRight = 1, MarginTop = 1, MarginBottom = 1;
    std::uint8_t PutFrameOnCode = 7; // page rule code of the border
    std::uint8_t PutTitleOnCode = 2; // page rule code of the title
    QString FrameStyle = QStringLiteral("None = None 0, None 12632256, None 0");
    TPageRect FrameInside = DefaultFrameInside;   // inner frame insets (inches)
    TPageRect FrameOutside = DefaultFrameOutside; // outer frame insets (inches)
    QString WorksheetLine;
    int WorksheetFontSize = 11;
    QString WorksheetFontName = QStringLiteral("Arial");

    // Puzzle grid.
    double CellWidth = 0.25, CellHeight = 0.25;
    double PuzzleLeft = 0, PuzzleTop = 0; // grid place from the margins
    double GridLineThickness = 0.01;
    int CellNumberPercent = 36;
    QString PuzzleNumberFont = QStringLiteral("Arial");
    TColor clPuzzleGrid = 0, clPuzzleNumber = 0;
    TColor RemovedCellColor = 0xFFFFFF;
    int BlockedCellColor = 0; // item of the block-colour list, 0 White .. 6 Custom
    int PuzzlePage = 1;       // the page holding the grid

    // Solution grid.
    bool AlignSolution = false;
    bool NumberedSolution = false;
    double CellWidthSol = 0.15, CellHeightSol = 0.15;
    double SolutionLeft = 0, SolutionTop = 0; // as PuzzleLeft and PuzzleTop
    double GridLineThicknessSol = 0.01;
    int CellLetterPercent = 90;
    QString SolutionFont = QStringLiteral("Arial");
    bool SolutionThemeBold = true, SolutionThemeColor = false;
    TColor clSolutionNumber = 0, clSolutionGrid = 0, clSolutionLetter = 0, clClues = 0, clWordBank = 0;

    // Clues and columns.
    int ClueColumns = 4;
    bool SeparateClues = false;
    QString AcrossText = QStringLiteral("Across"), DownText = QStringLiteral("Down");
    int LeadingPercentage = 115;
    QString ClueNumberFont = QStringLiteral("Arial");
    int ClueNumberFontSize = 12;
    TFontStyles ClueNumberStyle = DefaultClueNumberStyle; // "ClueNumberBold" in the puzzle file
    QString ClueTextFont = QStringLiteral("Arial");
    int ClueTextFontSize = 12;
    TFontStyles ClueThemeStyle = DefaultClueThemeStyle; // "ClueThemeBold", "ClueThemeItalic"
    bool ClueThemeInColor = false, ClueThemeAllCaps = false;
    QString AcrDwnFont = QStringLiteral("Arial");
    int AcrDwnFontSize = 12;
    bool AcrDwnBold = true, AcrDwnCapitals = true, NewColumnDown = false;
    double ClueColumnGap = 0.1;
    double PuzzleClueGap = 0.2;

    // Word bank.
    int WordBankMode = 1; // 0 "InClues", 1 "Bottom"
    int WordBankSort = 0; // 0 "Alpha", 1 "Size", 2 "Given", 3 "GivenComma"
    QString WordBankHeader = QStringLiteral("WORD BANK:");
    int WordBankPage = 1; // "WordBankPager" in the puzzle file
    double asWordBankHeight = 0;

    // Title, credits, solution header.
    QString CreditsLine;
    QString TitleFont = QStringLiteral("Times New Roman");
    int TitleFontSize = 36;
    TColor TitleColor = 0;
    TFontStyles TitleStyle = DefaultTitleStyle; // "TitleBIUS"
    QString SubtitleFont = QStringLiteral("Times New Roman");
    int SubtitleFontSize = 16;
    TColor SubtitleColor = 0;
    TFontStyles SubtitleStyle = DefaultSubtitleStyle; // "SubtitleBIUS"
    double SubtitleExtraSpacing = 0;
    QString CreditsFont = QStringLiteral("Times New Roman");
    int CreditsFontSize = 7;
    QString SolutionHeaderText; // heading over the solution grid; off while empty
    QString SolutionHeaderFont = QStringLiteral("Arial");
    int SolutionHeaderFontSize = 0; // 0: no solution header
    TFontStyles SolutionHeaderStyle = 0;
    TColor SolutionHeaderColor = 0;

    // Auto-layout switches.
    bool AutoCellSize = true, AutoCellShape = true, AutoCenter = true, AutoClueColumns = true,
         AutoClueSize = true, AutoClueSpacing = true, AutoMargins = true, AutoNewColumn = true,
         AutoTitleSize = true, AutoLayout_OnApply = true, AutoLayout_OnSpill = true;
    int AutoLayoutPageChoice = 1; // 1, 2 or 3
    bool AskBeforeUsingTwoPages = true;

    bool operator==(const TLayoutSettings &) const = default;
};

/** The settings of the open puzzle. */
extern TLayoutSettings LayoutSettings;

// Each setting by its own name, for the code that reads or sets one or two of them: every name
// is the member of LayoutSettings.
extern double &PaperWidth, &PaperHeight;
extern double &MarginLeft, &MarginRight, &MarginTop, &MarginBottom;
extern std::uint8_t &PutFrameOnCode, &PutTitleOnCode;
extern QString &FrameStyle;
extern TPageRect &FrameInside, &FrameOutside;
extern QString &WorksheetLine;
extern int &WorksheetFontSize;
extern QString &WorksheetFontName;

extern double &CellWidth, &CellHeight;
extern double &PuzzleLeft, &PuzzleTop;
extern double &GridLineThickness;
extern int &CellNumberPercent;
extern QString &PuzzleNumberFont;
extern TColor &clPuzzleGrid, &clPuzzleNumber;
extern TColor &RemovedCellColor;
extern int &BlockedCellColor;
extern int &PuzzlePage;

extern bool &AlignSolution;
extern bool &NumberedSolution;
extern double &CellWidthSol, &CellHeightSol;
extern double &SolutionLeft, &SolutionTop;
extern double &GridLineThicknessSol;
extern int &CellLetterPercent;
extern QString &SolutionFont;
extern bool &SolutionThemeBold, &SolutionThemeColor;
extern TColor &clSolutionNumber, &clSolutionGrid, &clSolutionLetter, &clClues, &clWordBank;

extern int &ClueColumns;
extern bool &SeparateClues;
extern QString &AcrossText, &DownText;
extern int &LeadingPercentage;
extern QString &ClueNumberFont;
extern int &ClueNumberFontSize;
extern TFontStyles &ClueNumberStyle;
extern QString &ClueTextFont;
extern int &ClueTextFontSize;
extern TFontStyles &ClueThemeStyle;
extern bool &ClueThemeInColor, &ClueThemeAllCaps;
extern QString &AcrDwnFont;
extern int &AcrDwnFontSize;
extern bool &AcrDwnBold, &AcrDwnCapitals, &NewColumnDown;
extern double &ClueColumnGap;
extern double &PuzzleClueGap;

extern int &WordBankMode;
extern int &WordBankSort;
extern QString &WordBankHeader;
extern int &WordBankPage;
extern double &asWordBankHeight;

extern QString &CreditsLine;
extern QString &TitleFont;
extern int &TitleFontSize;
extern TColor &TitleColor;
extern TFontStyles &TitleStyle;
extern QString &SubtitleFont;
extern int &SubtitleFontSize;
extern TColor &SubtitleColor;
extern TFontStyles &SubtitleStyle;
extern double &SubtitleExtraSpacing;
extern QString &CreditsFont;
extern int &CreditsFontSize;
extern QString &SolutionHeaderText;
extern QString &SolutionHeaderFont;
extern int &SolutionHeaderFontSize;
extern TFontStyles &SolutionHeaderStyle;
extern TColor &SolutionHeaderColor;

extern bool &AutoCellSize, &AutoCellShape, &AutoCenter, &AutoClueColumns, &AutoClueSize, &AutoClueSpacing,
    &AutoMargins, &AutoNewColumn, &AutoTitleSize, &AutoLayout_OnApply, &AutoLayout_OnSpill;
extern int &AutoLayoutPageChoice;
extern bool &AskBeforeUsingTwoPages;
