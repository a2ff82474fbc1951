// engine_test_util.h - scripted message boxes and counting draw callbacks for engine tests.
#ifndef ENGINE_TEST_UTIL_H
#define ENGINE_TEST_UTIL_H

#include <deque>
#include <string>
#include <vector>

#include "trv600.h"

// Records every message box and answers from a script (Retry, or OK, when it runs out).
struct ScriptedBoxes {
    struct Shown {
        std::string text, caption;
        int buttons;
    };
    static inline std::vector<Shown> shown;
    static inline std::deque<int> answers;

    static int Handler(const char *text, const char *caption, int buttons)
    {
        shown.push_back({text, caption, buttons});
        if (answers.empty())
            return buttons == TRV_MB_OK ? TRV_IDOK : TRV_IDRETRY;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    static void Install()
    {
        shown.clear();
        answers.clear();
        TRVSetMessageBoxHandler(&Handler);
    }
};

// Counts the draw-cell callbacks and remembers their (row, column) arguments.
struct DrawCounter {
    struct Call {
        char kind; // 'V' vicinity, 'C' colour, 'N' number, 'L' letter
        int row, column;
    };
    static inline std::vector<Call> calls;
    static void Vicinity(int r, int c) { calls.push_back({'V', r, c}); }
    static void Color(int r, int c) { calls.push_back({'C', r, c}); }
    static void Number(int r, int c) { calls.push_back({'N', r, c}); }
    static void Letter(int r, int c) { calls.push_back({'L', r, c}); }
    static void Install()
    {
        calls.clear();
        TRVEstablishDrawCellCallBacks(&Vicinity, &Color, &Number, &Letter);
    }
    static int Count(char kind)
    {
        int n = 0;
        for (const Call &c : calls)
            n += c.kind == kind;
        return n;
    }
};

#endif
