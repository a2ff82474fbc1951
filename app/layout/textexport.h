// Plain-text export of the puzzle: the clues as lines, and the solution in compact one-line forms,
// both built from the across and down clue grids.
#pragma once

#include <QString>
#include <QStringList>

/** Replaces lines with the clue text: the across heading, an empty line, one line per across
 *  clue (number, separator, clue), an empty line, the down heading, an empty line and the down
 *  clues. With alignSmallNumbers a one-digit number is preceded by two blanks. */
void BuildCluesText(bool alignSmallNumbers, const QString &separator, QStringList &lines);

/** "Across:  1 word, 5 word;  Down:  2 word, ..." with the solution header in front when set;
 *  entirely upper case with upperCase. */
QString BuildSolutionTextByDirection(bool upperCase);

/** "1A word, 1D word, 2D word, ..." in ascending order of the clue numbers (across before down
 *  for the same number), "1-A" with hyphenate; the solution header in front when set. */
QString BuildSolutionTextByNumber(bool upperCase, bool hyphenate);
