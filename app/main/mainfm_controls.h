// Small helpers shared by the main window's source files (not part of its interface).
#pragma once

#include "mainfm.h"
#include "trv600.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTableView>
#include <QToolButton>

namespace mainfm {

// The symmetry modes by engine value 0..6: speed button, label text, glyph, pattern cursor.
struct SymmetryMode {
    QToolButton *TMainFm::*button;
    const char *label;
    const char *glyph;
    int cursor;
};
inline const SymmetryMode SymmetryModes[7] = {
    {&TMainFm::SymNoneSpBtn, "  No Symmetry", "SP_NOSYM", 4},
    {&TMainFm::SymStandardSpBtn, "  Standard Diagonal", "SP_STD", 5},
    {&TMainFm::SymSpiralSpBtn, "  Spiral (4)", "SP_SPIRL", 6},
    {&TMainFm::SymVerticalSpBtn, "  Vertical", "SP_VERT", 9},
    {&TMainFm::SymHorizontalSpBtn, "  Horizontal", "SP_HORZ", 8},
    {&TMainFm::SymHorzAndVertSpBtn, "Horizontal/Vertical (4)", "SP_HV", 10},
    {&TMainFm::SymKaleidoscopeSpBtn, "  Kaleidoscope (8)", "SP_KALI", 7},
};

/** Sets a control's state without running its user-change handler. */
inline void setCheckedQuietly(QAbstractButton *button, bool on)
{
    const QSignalBlocker block(button);
    button->setChecked(on);
}

inline void setTextQuietly(QLineEdit *edit, const QString &text)
{
    if (edit->text() == text)
        return; // keeps the caret where the user left it
    const QSignalBlocker block(edit);
    edit->setText(text);
}

/** Every cell of the grid is open (nothing drawn or typed yet). */
inline bool gridIsBlank()
{
    const int width = TRVGetWidth();
    const int height = TRVGetHeight();
    for (int r = 1; r <= height; ++r)
        for (int c = 1; c <= width; ++c)
            if (TRVGetCell(c, r) != TRV_EMPTY)
                return false;
    return true;
}

// ---- Building the window's controls in code ----

inline QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// A captioned control (check box, radio button) with its name and place.
template <typename Control>
inline Control *makeControl(QWidget *parent, const QString &name, const QString &caption, const QRect &place)
{
    auto *control = new Control(caption, parent);
    control->setObjectName(name);
    control->setGeometry(place);
    return control;
}

inline QToolButton *makeSpeedButton(QWidget *parent, const QString &name, const QString &glyph)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setIcon(QIcon(QPixmap(QStringLiteral(":/") + glyph)));
    button->setIconSize(QSize(16, 16));
    return button;
}

inline QTableView *makeClueGrid(QWidget *parent, const QString &name)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    return grid;
}

} // namespace mainfm
