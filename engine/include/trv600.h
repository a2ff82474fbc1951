/* trv600.h - the whole public interface of the TRV600 grid and construction engine.
 *
 * Only integers and NUL-terminated 8-bit (Windows-1252) strings cross this boundary.
 * The library copies every string it is given before it returns and hands out no
 * memory that the caller must free. Cell functions take (column, row), 1-based; the
 * draw-cell callbacks are called with (row, column). Everything runs on the caller's
 * thread; callbacks are called synchronously from inside the export that runs.
 *
 * Re-entry: the exports marked "Busy-guarded" below change the grid, the theme words or
 * the engine. Each holds the library busy for its whole run, callbacks and message boxes
 * included (a construction from TRVConstructCmd's start to its end). A busy-guarded export
 * called while the library is busy, that is from inside a callback, refuses: it returns its
 * failure result (as documented with it) or, when it returns nothing, does nothing. Every
 * other export (cell and display reads, the display-memory setters, TRVInvalidateDisplay,
 * TRVUserCancel, TRVRejectedWord, TRVIsInSpellingDict, the callback registrations) keeps
 * working from inside callbacks.
 */
#ifndef TRV600_H
#define TRV600_H

#ifdef __cplusplus
#define TRV_BEGIN_DECL extern "C" {
#define TRV_END_DECL }
#else
#define TRV_BEGIN_DECL
#define TRV_END_DECL
#endif

#if defined(TRV600_BUILDING)
#define TRV_EXTERN(type) __attribute__((visibility("default"))) type
#else
#define TRV_EXTERN(type) type
#endif

TRV_BEGIN_DECL

/* Cell codes. Any other value is a letter, held as the character itself. */
#define TRV_BLOCK 1   /* black square */
#define TRV_EMPTY 2   /* open cell without a letter */
#define TRV_EDGE 3    /* border cell around the grid */
#define TRV_REMOVED 4 /* cell cut out of the grid shape */
#define TRV_INVALID 5 /* display letter only: the cell must be redrawn */

/* Construction options (bit mask) and end states. */
#define TRV_CONSTRUCT_RANDOM 1  /* seed the letter order from the clock (else seed 5) */
#define TRV_RIPUP_ALLOWED 2     /* erase rings of letters after a section runs out */
#define TRV_FORWARD 0           /* no open cell was empty */
#define TRV_TOTALLY_EXHAUSTED 2 /* no completion found, or the engine could not be made */
#define TRV_FINISHED 3          /* every section completed */
#define TRV_USER_CANCELLED 4

/* Traffic light. */
#define TRV_GREEN 1
#define TRV_YELLOW 2
#define TRV_RED 3

/* Shade bits of TRVShadeCell. */
#define TRV_SHADE_STUCK_CELL 8
#define TRV_SHADE_STUCK_AREA 4
#define TRV_SHADE_TWO_LETTER 2
#define TRV_SHADE_UNCROSSED 1

/* Message-box buttons and answers for TRVSetMessageBoxHandler. */
#define TRV_MB_OK 0
#define TRV_MB_ABORTRETRYIGNORE 2
#define TRV_IDOK 1
#define TRV_IDABORT 3
#define TRV_IDRETRY 4
#define TRV_IDIGNORE 5

/** Draw-cell callback: called with (row, column), 1-based. */
typedef void (*TRVDrawCellProc)(int row, int column);
/** Construct-info callback: (step count, percent filled); (0, -4) from TRVInstanceCount. */
typedef void (*TRVConstructInfoProc)(int steps, int percent);
/** Rejected-words callback: the program answers with TRVRejectedWord per word. */
typedef void (*TRVRejectedWordsProc)(void);
/** Trace callback: stored, never called. */
typedef void (*TRVTraceProc)(void);
/** Theme-word callback: code " " opens a report (number 0, word null), "A"/"D" reports one
 *  placed word at clue number boxNumber, "*" closes it. The word is valid during the call. */
typedef void (*TRVThemeWordLocationProc)(char code, int boxNumber, const char *word);
/** Message-box handler: shows text with caption; buttons is TRV_MB_OK or
 *  TRV_MB_ABORTRETRYIGNORE; returns TRV_IDOK, TRV_IDABORT, TRV_IDRETRY or TRV_IDIGNORE. */
typedef int (*TRVMessageBoxProc)(const char *text, const char *caption, int buttons);

/* ---- Message boxes ---------------------------------------------------------------- */
/** Installs the handler for the library's message boxes (null: text goes to stderr and
 *  the answer is Retry or OK). Returns the previous handler. */
TRV_EXTERN(TRVMessageBoxProc) TRVSetMessageBoxHandler(TRVMessageBoxProc handler);

/* ---- Grid ------------------------------------------------------------------------- */
/** Makes a new empty grid of width x height and numbers it. A size that TRVCanDo refuses
 *  is refused with an error box and the old grid stays. Busy-guarded. */
TRV_EXTERN(void) TRVCreateRenumGrid(int width, int height);
/** New size, contents kept and centred. An impossible size is refused with an error box.
 *  Busy-guarded. */
TRV_EXTERN(void) TRVResizeGrid(int width, int height);
/** 1 when columns x rows is an allowed size, else 0. */
TRV_EXTERN(int) TRVCanDo(int columns, int rows);
/** Busy-guarded. */
TRV_EXTERN(void) TRVClearGrid(void);
/** Erases letters; fixedToo 0 keeps the fixed (user-given) letters. Busy-guarded. */
TRV_EXTERN(void) TRVClearGridLetters(int fixedToo);
/** Transposes the grid: cell (x, y) becomes (y, x). When the transposed size is not
 *  allowed it is refused with an error box and the grid stays. Busy-guarded. */
TRV_EXTERN(void) TRVExchangeAcrossDown(void);
/** Busy-guarded. */
TRV_EXTERN(void) TRVRenumberGrid(void);
/** Symmetry mode 0..6; any other mode is ignored and the mode stays. Busy-guarded. */
TRV_EXTERN(void) TRVSetSymMode(int mode);
TRV_EXTERN(int) TRVGetSymMode(void);
TRV_EXTERN(int) TRVGetWidth(void);
TRV_EXTERN(int) TRVGetHeight(void);
/** Number of slots of a length 1..100; 0 counts slots of 101 cells or more; any other
 *  length gives 0. */
TRV_EXTERN(int) TRVGetWLCount(int length);
/** Number of word slots. */
TRV_EXTERN(int) TRVGetWLCountTotal(void);
TRV_EXTERN(int) TRVGetMaxCols(void);
TRV_EXTERN(int) TRVGetMaxRows(void);
TRV_EXTERN(int) TRVGetMaxCells(void);
/** Recomputes and returns the big-pattern flag. */
TRV_EXTERN(int) TRVBigPattern(void);
/** 1 while the grid is a fresh 15 x 15 grid with the standard diagonal symmetry. */
TRV_EXTERN(int) TRVSavedState(void);
TRV_EXTERN(int) TRVTestC(void);

/* ---- Cells (column, row 1-based; outside the grid: Edge or 0, nothing changes) ----- */
TRV_EXTERN(char) TRVGetCell(int column, int row);
/** Sets the cell and its symmetry partners, renumbers and redraws around it. Busy-guarded. */
TRV_EXTERN(void) TRVSetCell(int column, int row, char code);
/** Sets one cell only; an upper-case letter marks it fixed. Busy-guarded. */
TRV_EXTERN(void) TRVSetCellOnly(int column, int row, char code);
TRV_EXTERN(int) TRVIsCellFixed(int column, int row);
TRV_EXTERN(int) TRVGetCellNumber(int column, int row);
/** Shade bits: 8 stuck cell, 4 stuck area, 2 two-letter word, 1 uncrossed. */
TRV_EXTERN(int) TRVShadeCell(int column, int row);
/** Font colour code 0..15. */
TRV_EXTERN(int) TRVGetFontColor(int column, int row);
/** Hot-spot level 0..4. */
TRV_EXTERN(int) TRVGetDifficulty(int column, int row);

/* ---- Cell display memory ---------------------------------------------------------- */
TRV_EXTERN(void) TRVSetCellDisp(int column, int row, int flag);
TRV_EXTERN(void) TRVSetCellDispLetter(int column, int row, char letter);
TRV_EXTERN(void) TRVSetCellDispNumber(int column, int row, int number);
TRV_EXTERN(void) TRVSetCellDispColor(int column, int row, int color);
TRV_EXTERN(void) TRVSetCellDispDiff(int column, int row, int level);
TRV_EXTERN(int) TRVGetCellDisp(int column, int row);
TRV_EXTERN(char) TRVGetCellDispLetter(int column, int row);
TRV_EXTERN(int) TRVGetCellDispNumber(int column, int row);
TRV_EXTERN(int) TRVGetCellDispColor(int column, int row);
/** Forces a redraw of every cell. */
TRV_EXTERN(void) TRVInvalidateDisplay(void);
/** Registers, in this order, the vicinity, colour, number and letter draw callbacks. */
TRV_EXTERN(void)
TRVEstablishDrawCellCallBacks(TRVDrawCellProc vicinity, TRVDrawCellProc color, TRVDrawCellProc number,
                              TRVDrawCellProc letter);

/* ---- Mouse and hot spots ---------------------------------------------------------- */
/** "D" when a button goes down over the grid, "U" when it comes up (runs deferred work).
 *  Busy-guarded: a refused call does not store the state either. */
TRV_EXTERN(void) TRVMouseEvent(char state);
/** Busy-guarded. */
TRV_EXTERN(void) TRVComputeHotSpots(void);
/** Busy-guarded. */
TRV_EXTERN(void) TRVUpdateHotSpots(void);
/** Stores the flag; a flag not 0 recomputes the hot spots. Busy-guarded: a refused call
 *  does not store the flag. */
TRV_EXTERN(void) TRVSetShowHotSpots(int flag);
TRV_EXTERN(int) TRVGetShowHotSpots(void);
/** 1 green, 2 yellow, 3 red. */
TRV_EXTERN(int) TRVTrafficLightColor(void);

/* ---- Construction ----------------------------------------------------------------- */
/** Creates the engine, runs the search with the options, destroys the engine; returns the
 *  end state (0, 2, 3 or 4). Busy-guarded for the whole construction: a nested call returns
 *  TRV_TOTALLY_EXHAUSTED and leaves the running search alone. */
TRV_EXTERN(int) TRVConstructCmd(int options);
/** Make Puzzle's construction: like TRVConstructCmd, but the first fill starts again from the
 *  grid with another seed each time it runs past a step limit that doubles (the sixth start
 *  has none). When the fill leaves out theme words that have a slot of their length, it is
 *  made again from the same grid, up to attempts times in all and within a step budget bounded by the first attempt's. The grid
 *  keeps the attempt with the most theme words (a completed fill before an incomplete one);
 *  its end state is returned. Without TRV_CONSTRUCT_RANDOM attempt k (from 0) is seeded
 *  5 + k, so the same grid and words give the same puzzle. A cancel ends the retries and
 *  keeps the best attempt so far (TRV_USER_CANCELLED when it was the first). Busy-guarded. */
TRV_EXTERN(int) TRVConstructKeepingThemeWords(int options, int attempts);
/** Asks a running construction to stop after its current step; callable from inside the
 *  construction's callbacks. */
TRV_EXTERN(void) TRVUserCancel(void);
/** Hands one rejected word to the live engine: 0 stored, 1 list full (or no engine, or no
 *  word). Meant to be called from the rejected-words callback. */
TRV_EXTERN(int) TRVRejectedWord(const char *word);
TRV_EXTERN(TRVConstructInfoProc) TRVEstablishConstructInfoCB(TRVConstructInfoProc proc);
TRV_EXTERN(TRVRejectedWordsProc) TRVEstablishRejectedWordsCB(TRVRejectedWordsProc proc);
TRV_EXTERN(TRVTraceProc) TRVEstablishTraceCB(TRVTraceProc proc);
/** Adds delta to the instance count and returns it; the count saturates at INT_MAX and
 *  INT_MIN instead of wrapping. */
TRV_EXTERN(int) TRVInstanceCount(int delta);

/* ---- Dictionary look-up ----------------------------------------------------------- */
/** Creates an engine with its word lists: 1, or 0 on failure. Busy-guarded (refused: 0,
 *  and the existing engine stays). */
TRV_EXTERN(int) TRVCreate(void);
/** 1 when the word is in the dictionary (case ignored); needs TRVCreate. */
TRV_EXTERN(int) TRVIsInSpellingDict(const char *word);
/** Busy-guarded: a refused call leaves the engine alive. */
TRV_EXTERN(void) TRVDestroy(void);

/* ---- Theme words ------------------------------------------------------------------ */
/** Busy-guarded. */
TRV_EXTERN(void) TRVNewThemeWord(const char *word, const char *clue, int priority);
/** Busy-guarded. */
TRV_EXTERN(void) TRVThemeDeleteAll(void);
/** Busy-guarded. */
TRV_EXTERN(void) TRVThemeDeleteWord(int wordNumber);
/** Finds every placed theme word and reports it through the theme-word callback, then
 *  redraws the changed cells when draw is not 0. Busy-guarded for the whole report. */
TRV_EXTERN(void) TRVCorrectAllThemeWordLocations(int draw);
TRV_EXTERN(void) TRVEstablishThemeWordCallBacks(TRVThemeWordLocationProc proc);

/* ---- Older text format and undo hooks --------------------------------------------- */
/** Reads a "CROSSWORD" text file: 0 read, 1 bad header, 2 size unreadable, 3 size not
 *  allowed, 98 close failed, 99 cannot open. Busy-guarded: a refused call reads nothing and
 *  returns 99. */
TRV_EXTERN(int) TRVReadPuzzle(const char *fileName);
TRV_EXTERN(void) TRVUndoSpBtnClick(void);
TRV_EXTERN(void) TRVRedoSpBtnClick(void);

TRV_END_DECL

#endif /* TRV600_H */
