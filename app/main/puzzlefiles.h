// The puzzle-file opener, the checkpoint pool and the clue grids of the document library, reached
// through one header so that the main window builds while that library is still growing.
#pragma once

#if __has_include("fileio.h")
#include "fileio.h"
#define TRV_HAVE_PUZZLE_FILES 1
#else
#define TRV_HAVE_PUZZLE_FILES 0
#endif

#if __has_include("checkpts.h")
#include "checkpts.h"
#define TRV_HAVE_CHECKPOINTS 1
#else
#define TRV_HAVE_CHECKPOINTS 0
#endif

#if __has_include("cluespg.h")
#include "cluespg.h"
#define TRV_HAVE_CLUE_GRIDS 1
#else
#define TRV_HAVE_CLUE_GRIDS 0
#endif
