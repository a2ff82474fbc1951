// Draws a puzzle grid from text rows for the document tests.
#pragma once

#include "alphabet.h"
#include "globals.h"
#include "trv600.h"

#include <QStringList>

/** "*" block, "-" empty, "~" removed, any other character a letter (capitals are fixed); then
 *  numbers the grid and sets Columns and Rows. */
inline void SetTestGrid(const QStringList &rows)
{
    const int width = int(rows.value(0).size());
    TRVCreateRenumGrid(width, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < width; ++c) {
            QChar ch = rows[r][c];
            if (ch == QLatin1Char('*') || ch == QLatin1Char('-') || ch == QLatin1Char('~'))
                EncodeMarkChar(ch);
            SetCellLetter(c + 1, r + 1, ch);
        }
    TRVRenumberGrid();
    Columns = width;
    Rows = int(rows.size());
}
