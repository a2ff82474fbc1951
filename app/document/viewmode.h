// The document view's modes; the settings ("View") and the undo snapshots store their numbers.
#pragma once

enum TViewMode : int {
    vmWholePage = 0,
    vmPageWidth = 1,
    vmPenciled = 2, // the grid page, with the letters that do not print
    vmClues = 3,
    vmSolution = 4,
    vmCustom = 5, // the free zoom
};
