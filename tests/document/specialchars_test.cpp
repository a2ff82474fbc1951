// A special character refused because the alphabet is full is explained once: the theme words
// are sent again at every edit of the word list, and the box and the alphabet dialog would
// otherwise come back at every keystroke.
#include "alphabet.h"
#include "cp1252.h"
#include "globals.h"
#include "prompter.h"
#include "testcp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(SpecialCharacters, ARefusalIsExplainedOnceUntilTheAlphabetChanges)
{
    InitGlobals();
    ScriptedPrompter script;
    int dialogs = 0;
    OpenCustomizeAlphabetDialog = [&] { ++dialogs; };
    SetAlphabet(DefaultAlphabet);
    SetAlphabet(DefaultAlphabet + cp({0xC0, 0xC4, 0xC7, 0xD1, 0xD6}));
    const QString e = cp({0xC9}), u = cp({0xDC});

    struct Step {
        QString word;
        int boxes; // boxes shown so far
    } steps[] = {
        {e + "COLE", 1},
        {e + "COLES", 1}, // the next keystroke: the same refusal, silent
        {e + u, 2},       // another character has its own explanation
        {u + e, 2},
    };
    for (const Step &s : steps) {
        AddSpecialCharacters(s.word);
        EXPECT_EQ(script.boxes.size(), s.boxes) << s.word.toStdString();
        EXPECT_EQ(dialogs, s.boxes);
    }
    EXPECT_EQ(CustomAlphabet.size(), 31);

    // The user made room and filled it again: the alphabet changed, the refusal is news.
    SetAlphabet(DefaultAlphabet + cp({0xC0, 0xC4, 0xC7, 0xD1}));
    AddSpecialCharacters(QStringLiteral("*"));
    AddSpecialCharacters(e);
    EXPECT_EQ(script.boxes.size(), 3);
    EXPECT_TRUE(script.boxes.last().text.contains(QStringLiteral("add, ") + e + QStringLiteral(", makes")));

    OpenCustomizeAlphabetDialog = nullptr;
    InitGlobals();
}

} // namespace
