// The controls that show the alphabet and the puzzle size, following the document's signals.
#include "documentcontrols.h"

#include "alphabet.h"
#include "docevents.h"
#include "globals.h"
#include "pataux.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QWidget>

TAlphabetControls AlphabetControls;
TPatAuxControls PatAuxControls;

namespace {

void showAlphabet()
{
    if (AlphabetControls.Dict_AlphabetLbl)
        AlphabetControls.Dict_AlphabetLbl->setText(CustomAlphabet);
    for (int n = 27; n <= 31; ++n) {
        QAbstractButton *button = AlphabetControls.SpecialCharSB[n - 27];
        if (!button)
            continue;
        QString caption;
        if (CustomAlphabet.size() >= n) {
            caption = CustomAlphabet[n - 1];
            if (caption == "&")
                caption = "&&";
        }
        button->setText(caption);
    }
}

void showPuzzleDimensions(int columns, int rows, bool custom)
{
    if (PatAuxControls.ColCountSpEd)
        PatAuxControls.ColCountSpEd->setValue(columns);
    if (PatAuxControls.RowCountSpEd)
        PatAuxControls.RowCountSpEd->setValue(rows);
    QComboBox *list = PatAuxControls.PuzzleSizeCmBx;
    if (!list || list->count() == 0)
        return;
    const int last = list->count() - 1;
    if (custom)
        list->setItemText(last, CustomSizeText(columns, rows));
    for (int i = 0; i < list->count(); ++i) {
        int c = 0, r = 0;
        ParseSizeSpec(list->itemText(i), &c, &r);
        if (c == columns && r == rows) {
            list->setCurrentIndex(i);
            return;
        }
    }
    list->setItemText(last, CustomSizeText(columns, rows));
    list->setCurrentIndex(last);
}

// The controls follow the document from the start of the run.
[[maybe_unused]] const bool g_connected = [] {
    TDocumentEvents &events = TDocumentEvents::Instance();
    QObject::connect(&events, &TDocumentEvents::AlphabetChanged, &events, &showAlphabet);
    QObject::connect(&events, &TDocumentEvents::PuzzleDimensionsChanged, &events, &showPuzzleDimensions);
    return true;
}();

} // namespace

void RestoreMainFormBounds()
{
    QWidget *form = PatAuxControls.MainForm;
    if (!form)
        return;
    MainFormBoundsRestored = true; // keeps the resize handler from recording these moves
    form->move(form->x(), Top);
    form->move(Left, Top);
    form->resize(Width, form->height());
    form->resize(Width, Height);
    MainFormBoundsRestored = false;
}
