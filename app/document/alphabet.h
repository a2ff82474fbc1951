// The program-wide alphabet, the Windows-1252 case tables, the passage of cell letters between
// the program and the engine, the mark characters and the small text scanners.
#pragma once

#include <QChar>
#include <QString>

#include <functional>

/** The 26 letters and at most five special characters (more in freeform mode); upper case. */
extern QString CustomAlphabet;
extern const QString DefaultAlphabet; // "ABCDEFGHIJKLMNOPQRSTUVWXYZ"

/** Case tables indexed by Windows-1252 byte. */
extern unsigned char LowerCaseTable[256];
extern unsigned char UpperCaseTable[256];
void BuildCaseTables();

/** Opens the Customize Alphabet dialog modally (set by the main window). */
extern std::function<void()> OpenCustomizeAlphabetDialog;

// Cells of the engine's grid, through the alphabet (column, row 1-based).
QChar GetCellLetter(int column, int row);
void SetCellLetter(int column, int row, QChar c);
bool GridHasNoOpenCells();

bool CellCharPassesUnchanged(QChar c);
QChar EngineToDisplayLetter(char b);
char DisplayToEngineLetter(QChar c);

bool IsAlphabetChar(QChar c);
bool IsLetterOrOpen(QChar c);
bool IsAsciiLetter(QChar c);
bool IsDigitChar(QChar c);
QChar LowerCaseChar(QChar c);
QChar UpperCaseChar(QChar c);
QString LowerCaseText(const QString &text);
QString UpperCaseText(const QString &text);
int CountAlphabetChars(const QString &text);

QString ExtractLetterRun(const QString &text);
QString ExtractLetterRunQuote(const QString &text);
QString ExtractDigitRun(const QString &text);
/** The answer word of a clue-grid answer key such as " 3 WORD" or "12 WORD". */
QString ExtractEntryWord(const QString &text);

/** Adds the word's characters that are not in the alphabet to it (at most five specials in
 *  symmetrical mode). A refused character is explained to the user once; it is explained again
 *  only after the alphabet changed. */
void AddSpecialCharacters(const QString &word);
/** Stores the upper-cased text as the alphabet and shows it on the alphabet controls. */
void SetAlphabet(const QString &text);

/** "*-|~`" to the codes 1..5 in place; true when c already was one of the codes. */
bool EncodeMarkChar(QChar &c);
/** The codes 1..5 to "*-|~`" in place; true when c already was one of the mark characters. */
bool DecodeMarkChar(QChar &c);
/** True for one of the five mark characters "*", "-", "|", "~", "`". */
bool IsMarkChar(QChar c);

QChar BoolToTF(bool b);
QString BoolToText(bool b);
bool SameTextCI(const QString &a, const QString &b);
