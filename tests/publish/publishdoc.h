// A fresh, empty puzzle document for the publishing tests: the globals and alphabet, the
// document's controls and hooks, new clue grids, and the test's word list.
#pragma once

#include "alphabet.h"
#include "cluespg.h"
#include "fileio.h"
#include "globals.h"

inline void ResetPublishDocument(TWordListAccess *words, bool initGlobals = true)
{
    if (initGlobals)
        InitGlobals();
    SetAlphabet(DefaultAlphabet);
    DocControls = TDocumentControls{};
    DocHooks = TDocumentHooks{};
    FileHooks = TPuzzleFileHooks{};
    FreeClueGrids();
    CreateClueGrids();
    WordList = words;
}
