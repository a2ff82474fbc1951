// The main window's controls that show document values: the alphabet's label and special
// character buttons, the size spin edits and list, and the window's saved bounds. They follow
// the document's change signals (TDocumentEvents).
#pragma once

#include <QPointer>

class QAbstractButton;
class QComboBox;
class QLabel;
class QSpinBox;
class QWidget;

/** Controls that show the alphabet; the main window sets them, null ones are skipped. */
struct TAlphabetControls {
    QPointer<QLabel> Dict_AlphabetLbl;
    QPointer<QAbstractButton> SpecialCharSB[5]; // SpecialChar1SB .. SpecialChar5SB
};
extern TAlphabetControls AlphabetControls;

/** The main window's controls the puzzle size drives; the main window sets them, null is skipped. */
struct TPatAuxControls {
    QPointer<QWidget> MainForm;
    QPointer<QSpinBox> ColCountSpEd;
    QPointer<QSpinBox> RowCountSpEd;
    QPointer<QComboBox> PuzzleSizeCmBx;
};
extern TPatAuxControls PatAuxControls;

/** Puts the main window (PatAuxControls.MainForm) back at its saved bounds. */
void RestoreMainFormBounds();
