// Tests of the entry text model: words and clues, wrapping, the undo ring, sorts and word-list files.
#include "lines.h"
#include "prompter.h"

#include <gtest/gtest.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Entries made from lines of text, each given without its LF; the empty entry is kept at the end.
TEntries makeEntries(const QStringList &entries)
{
    TEntries e;
    e.EnsureTrailingEmptyEntry();
    for (const QString &text : entries)
        e.AppendText(text + kLf);
    return e;
}

QStringList entryTexts(const TEntries &e)
{
    QStringList texts;
    for (int i = 0; i < e.EntryCount(); ++i)
        texts << StripLineBreak(e.GetEntryText(i));
    return texts;
}

QByteArray readAll(const QString &name)
{
    QFile f(name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

void writeAll(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(EntryModel, NewModelHoldsOneEmptyLineAndGetsItsTrailingEntry)
{
    TEntries e;
    EXPECT_EQ(e.Lines().LineCount(), 1);
    EXPECT_EQ(e.Lines().GetLine(0), QString());
    e.EnsureTrailingEmptyEntry();
    EXPECT_EQ(e.Lines().GetLine(0), QString(kLf));
    EXPECT_EQ(e.EntryCount(), 1);

    // A last entry that lost its line break still ends up followed by the empty entry.
    TEntries f;
    f.Lines().InsertText(0, 1, QStringLiteral("CAT\tpet"));
    f.EnsureTrailingEmptyEntry();
    EXPECT_EQ(entryTexts(f), (QStringList{QStringLiteral("CAT\tpet"), QString()}));
}

TEST(EntryModel, WordAndClueOfAnEntry)
{
    struct Case {
        const char *text, *word, *clue;
    } cases[] = {
        {"CAT\tA pet\n", "CAT", "A pet"},
        {"  CAT  ,, A pet  \n", "", "CAT  ,, A pet"}, // the first blank is the separator
        {"CAT, A pet\r\n", "CAT", "A pet"},
        {"CAT\n", "CAT", ""},
        {"\tclue only\n", "", "clue only"},
        {"\n", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TEntries::WordOfText(QString::fromLatin1(c.text)), QString::fromLatin1(c.word));
        EXPECT_EQ(TEntries::ClueOfText(QString::fromLatin1(c.text)), QString::fromLatin1(c.clue));
    }
}

TEST(EntryModel, StringHelpers)
{
    EXPECT_EQ(LfToCrLf(QStringLiteral("a\nb\n")), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(RemoveCr(QStringLiteral("a\r\nb\r")), QStringLiteral("a\nb"));
    EXPECT_EQ(ZeroPad6(42), QStringLiteral("000042"));
    EXPECT_EQ(ExpandTabs(QStringLiteral("a\tb"), 3), QStringLiteral("a   b"));
    EXPECT_EQ(FindSeparator(u"CAT \t,pet").Position, 4);
    EXPECT_EQ(FindSeparator(u"CAT \t,pet").Run, 3);
    EXPECT_EQ(FindSeparator(u"CAT").Position, 0);
    // The earliest break wins, so a later CR never pulls two paragraphs into one piece.
    EXPECT_EQ(FindLineBreak(u"ab\ncd\r"), 3);
    EXPECT_EQ(FindLineBreak(u"ab\r\ncd"), 4);
    EXPECT_EQ(FindLineBreak(u"abcd"), 0);
    struct Order {
        QList<int> given, ordered; // line1, column1, line2, column2
    } orders[] = {
        {{3, 1, 2, 9}, {2, 9, 3, 1}},
        {{2, 9, 3, 1}, {2, 9, 3, 1}},
        {{4, 7, 4, 2}, {4, 2, 4, 7}},
        {{0, 20000, 1, 1}, {0, 20000, 1, 1}}, // a line longer than 10000 characters
    };
    for (const Order &o : orders) {
        int l1 = o.given[0], c1 = o.given[1], l2 = o.given[2], c2 = o.given[3];
        OrderPositions(l1, c1, l2, c2);
        EXPECT_EQ((QList<int>{l1, c1, l2, c2}), o.ordered);
    }
}

TEST(EntryModel, LoadedLineNormalisationAndBars)
{
    struct Case {
        const char *line, *word, *clue;
    } cases[] = {
        {"WORD|a clue of several words", "WORD", "a clue of several words"},
        {"WORD|clue", "WORD", "clue"},                  // no separator at all
        {"WORD\t|clue", "WORD", "clue"},                // a bar right after the separator goes
        {"WORD  |a clue", "WORD", "a clue"},            // a bar ending the run joins it
        {"CAT\tpet|feline", "CAT", "pet|feline"},       // a bar inside the clue stays
        {"NEW YORK|Big Apple", "NEWYORK", "Big Apple"}, // an answer of several words
        {"NEW YORK |The Big Apple", "NEWYORK", "The Big Apple"},
        {"WORD\tclue\r", "WORD", "clue"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const QString text = BarToTab(NormalizeEntryLine(QString::fromLatin1(c.line)));
        EXPECT_TRUE(text.endsWith(kLf));
        EXPECT_EQ(TEntries::WordOfText(text), QString::fromLatin1(c.word));
        EXPECT_EQ(TEntries::ClueOfText(text), QString::fromLatin1(c.clue));
    }
}

TEST(EntryModel, WrappingAtTheLastBlankWithContinuationIndent)
{
    // Without a canvas a character is 5 pixels wide: 10 characters fit into 50 pixels.
    TEntries e = makeEntries({});
    e.Lines().SetMeasure(nullptr, 0, 2, 50);
    e.AppendText(QStringLiteral("CAT\ta b cd efgh ij\n"));
    // Tab = 2 blanks wide; continuation lines carry a 2-blank indent (8 characters left).
    EXPECT_EQ(e.Lines().GetLine(0), QStringLiteral("CAT\ta b "));
    EXPECT_EQ(e.Lines().GetLine(1), QStringLiteral("cd efgh "));
    EXPECT_EQ(e.Lines().GetLine(2), QStringLiteral("ij\n"));
    EXPECT_EQ(e.EntryCount(), 2);
    EXPECT_EQ(e.GetClue(0), QStringLiteral("a b cd efgh ij"));
    EXPECT_TRUE(e.Lines().StartsBeforeSeparator(0));
    EXPECT_FALSE(e.Lines().StartsBeforeSeparator(1));
    EXPECT_EQ(e.Lines().MeasureText(e.Lines().GetLine(1), false, 2), 20);

    const TDisplayLineParts first = e.SplitDisplayLine(0);
    EXPECT_EQ(first.Label, kUnsetSlotLabel);
    EXPECT_EQ(first.WordPart, QStringLiteral("CAT"));
    EXPECT_EQ(first.SeparatorRun, QStringLiteral("\t"));
    EXPECT_EQ(first.CluePart, QStringLiteral("a b "));
    const TDisplayLineParts second = e.SplitDisplayLine(1);
    EXPECT_TRUE(second.Label.isEmpty());
    EXPECT_EQ(second.CluePart, QStringLiteral("cd efgh "));

    // A word longer than the width is cut hard.
    TEntries f = makeEntries({});
    f.Lines().SetMeasure(nullptr, 0, 2, 50);
    f.AppendText(QStringLiteral("ABCDEFGHIJKLMNO\tx\n"));
    EXPECT_EQ(f.Lines().GetLine(0), QStringLiteral("ABCDEFGHIJ"));
    EXPECT_EQ(f.Lines().GetLine(1), QStringLiteral("KLMNO\tx\n"));

    // Caret offsets survive a rewrap to another width.
    const int offset = e.Lines().OffsetInParagraph(1, 4); // the "e" of "efgh"
    EXPECT_EQ(e.Lines().CharAt(1, 4), QChar(u'e'));
    e.Lines().SetMeasure(nullptr, 0, 2, 1000);
    e.Lines().RewrapAll();
    int line = 0;
    const int column = e.Lines().PositionFromOffset(offset, line);
    EXPECT_EQ(line, 0);
    EXPECT_EQ(e.Lines().CharAt(line, column), QChar(u'e'));
}

TEST(EntryModel, EntryTextOfAVeryLongEntryIsWhole)
{
    TEntries e = makeEntries({});
    e.Lines().SetMeasure(nullptr, 0, 0, 4); // one character a line
    const QString clue(1500, u'x');
    e.AppendText(QStringLiteral("W\t") + clue + kLf);
    ASSERT_GT(e.Lines().LineCount(), 1001);
    EXPECT_EQ(e.GetEntryText(0), QStringLiteral("W\t") + clue + kLf);
    EXPECT_EQ(e.GetClue(0), clue);
    EXPECT_EQ(e.EntryCount(), 2);
}

TEST(EntryModel, EditingPrimitives)
{
    TEntries e = makeEntries({QStringLiteral("CAT\tpet"), QStringLiteral("DOG\tfriend")});
    TMyLines &l = e.Lines();
    l.InsertText(0, 4, QStringLiteral("S"));
    EXPECT_EQ(l.GetLine(0), QStringLiteral("CATS\tpet\n"));
    EXPECT_EQ(l.GetRangeText(0, 2, 1, 4), QStringLiteral("ATS\tpet\nDOG"));
    l.DeleteRange(1, 4, 0, 5); // reversed ends are ordered first
    EXPECT_EQ(l.GetLine(0), QStringLiteral("CATS\tfriend\n"));
    EXPECT_EQ(e.EntryCount(), 2);
    l.OverwriteCharAt(0, 1, u'B');
    l.OverwriteCharAt(0, 12, u'!'); // past the end it appends before the line break
    EXPECT_EQ(l.GetLine(0), QStringLiteral("BATS\tfriend!\n"));
    l.InsertText(0, 5, QStringLiteral("\nNEW"));
    EXPECT_EQ(entryTexts(e),
              (QStringList{QStringLiteral("BATS"), QStringLiteral("NEW\tfriend!"), QString()}));
    e.DeleteEntry(0);
    EXPECT_EQ(entryTexts(e), (QStringList{QStringLiteral("NEW\tfriend!"), QString()}));
    EXPECT_FALSE(l.IsSaved());
    EXPECT_TRUE(l.ChangedSinceSnapshot());
}

// The entry index is brought up to date from the first changed line; after every kind of edit
// it must agree with a scan of the whole text.
TEST(EntryModel, EntryIndexFollowsEveryEdit)
{
    TEntries e = makeEntries({});
    TMyLines &l = e.Lines();
    l.SetMeasure(nullptr, 0, 2, 60); // twelve characters a line: long entries wrap
    auto check = [&](const char *step) {
        SCOPED_TRACE(step);
        std::vector<int> starts;
        for (int line = 0; line < l.LineCount(); ++line)
            if (l.IsParagraphStart(line))
                starts.push_back(line);
        ASSERT_EQ(e.EntryCount(), int(starts.size()));
        for (int k = 0; k < int(starts.size()); ++k)
            EXPECT_EQ(e.FirstLineOfEntry(k), starts[size_t(k)]) << k;
        EXPECT_EQ(e.FirstLineOfEntry(int(starts.size())), -1);
        EXPECT_EQ(e.FirstLineOfEntry(-1), -1);
        int entry = -1;
        for (int line = 0; line < l.LineCount(); ++line) {
            entry += l.IsParagraphStart(line);
            EXPECT_EQ(e.EntryOfLine(line), entry) << line;
        }
        EXPECT_EQ(e.EntryOfLine(l.LineCount()), -1);
    };
    const std::pair<const char *, std::function<void()>> steps[] = {
        {"append",
         [&] {
             for (int i = 0; i < 6; ++i)
                 e.AppendText(QStringLiteral("WORD%1\tclue that wraps over lines\n").arg(i));
         }},
        {"type in the middle", [&] { l.InsertText(4, 3, QStringLiteral("more words here")); }},
        {"split an entry", [&] { l.InsertText(2, 2, QStringLiteral("\n")); }},
        {"join two entries", [&] { l.DeleteRange(0, l.TextLength(0) + 1, 1, 1); }},
        {"delete across entries", [&] { l.DeleteRange(1, 2, 6, 3); }},
        {"delete the last line", [&] { l.DeleteLine(l.LineCount() - 1); }},
        {"delete the first line", [&] { l.DeleteLine(0); }},
        {"move a line to the end", [&] { l.MoveLineToEnd(1); }},
        {"delete an entry", [&] { e.DeleteEntry(1); }},
        {"sort", [&] { e.SortAlphabetically(); }},
        {"snapshot, edit, undo",
         [&] {
             TUndoPosition p;
             l.SaveUndoState(p);
             e.AppendText(QStringLiteral("EXTRA\tone more entry with a long clue\n"));
             check("before undo");
             l.Undo(p);
         }},
        {"redo",
         [&] {
             TUndoPosition p;
             l.Redo(p);
         }},
        {"load lines",
         [&] {
             e.LoadLines({QStringLiteral("A|one"), QStringLiteral("B|two and a long clue")});
         }},
        {"clear", [&] { l.ClearAll(); }},
        {"append after clearing", [&] { e.AppendText(QStringLiteral("X\tx\nY\ty\n")); }},
    };
    check("new");
    for (const auto &[name, edit] : steps) {
        edit();
        check(name);
    }
}

namespace {
std::vector<std::pair<char, int>> g_calls;
void onWord(int entry, int kind) { g_calls.push_back({'W', entry * 10 + kind}); }
void onClue(int entry, int kind) { g_calls.push_back({'C', entry * 10 + kind}); }
} // namespace

TEST(EntryModel, NotificationsByPosition)
{
    TEntries e = makeEntries({QStringLiteral("CAT,  pet"), QStringLiteral("EMU")});
    e.SetChangeCallbacks(onWord, onClue);
    struct Case {
        int line, column;
        std::vector<std::pair<char, int>> calls;
    } cases[] = {
        {0, 2, {{'W', 2}}},  // in the word
        {0, 5, {}},          // inside the separator run
        {0, 7, {{'C', 2}}},  // in the clue
        {1, 2, {{'W', 12}}}, // no separator: within the text it is the word
        {1, 5, {{'C', 12}}}, // and past its end the clue
    };
    for (const Case &c : cases) {
        g_calls.clear();
        e.NotifyAtPosition(c.line, c.column, kEntryRemoved);
        EXPECT_EQ(g_calls, c.calls) << c.line << "," << c.column;
    }
    g_calls.clear();
    e.NotifyRange(1, 0, kEntryChanged);
    EXPECT_EQ(g_calls, (std::vector<std::pair<char, int>>{{'W', 1}, {'C', 1}, {'W', 11}, {'C', 11}}));
    g_calls.clear();
    e.RememberEntry(0);
    e.Lines().InsertText(0, 8, QStringLiteral("s"));
    e.NotifyIfChanged(0);
    EXPECT_EQ(g_calls, (std::vector<std::pair<char, int>>{{'C', 1}}));
}

TEST(EntryModel, InsertingOutsideTheListWarns)
{
    ScriptedPrompter boxes;
    TMyStringList list;
    list.AddLine(QStringLiteral("a"));
    EXPECT_FALSE(list.InsertLine(5, QStringLiteral("b")));
    EXPECT_EQ(list.Count(), 1);
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.lastText(), QStringLiteral("Inserting 5 into list of count 1"));
    EXPECT_EQ(boxes.boxes[0].kind, Prompter::Warning);
    EXPECT_TRUE(list.InsertLine(1, QStringLiteral("b")));
    EXPECT_EQ(list.Line(1), QStringLiteral("b"));
    EXPECT_EQ(list.Info(1)->SlotLabel, kUnsetSlotLabel);
}

TEST(UndoRing, HundredSnapshotsAfterTheRingWrapped)
{
    TMyLines l;
    for (int i = 1; i <= 101; ++i) {
        TUndoPosition p;
        p.CaretLine = i;
        l.InsertText(0, 1, QString::number(i % 10));
        l.SaveUndoState(p); // snapshot i holds i digits
    }
    EXPECT_EQ(l.SnapshotCount(), 100);
    EXPECT_EQ(l.RingPosition(), 1);
    EXPECT_EQ(l.NewestSnapshotCaretLine(), 101);
    l.InsertText(0, 1, QStringLiteral("P")); // the present: 101 digits and a P
    const QString present = l.GetLine(0);

    TUndoPosition p;
    int steps = 0;
    while (l.Undo(p)) {
        ++steps;
        // The k-th newest snapshot is number 102 - k, with its own caret line and length.
        EXPECT_EQ(p.CaretLine, 102 - steps);
        EXPECT_EQ(l.LineLength(0), 102 - steps);
    }
    EXPECT_EQ(steps, 100); // the first snapshot was overwritten by the 101st
    EXPECT_EQ(l.UndoDepth(), 100);

    int redone = 0;
    while (l.Redo(p))
        ++redone;
    EXPECT_EQ(redone, 100); // the last step brings the present back and says so
    EXPECT_EQ(l.GetLine(0), present);
    EXPECT_EQ(l.UndoDepth(), 0);
}

TEST(UndoRing, UndoTwiceRedoTwiceThenUndoAgain)
{
    TMyLines l;
    TUndoPosition p;
    l.SaveUndoState(p);
    l.InsertText(0, 1, QStringLiteral("one"));
    l.SaveUndoState(p);
    l.InsertText(0, 4, QStringLiteral(" two"));
    EXPECT_TRUE(l.Undo(p));
    EXPECT_EQ(l.GetLine(0), QStringLiteral("one"));
    EXPECT_TRUE(l.Undo(p));
    EXPECT_EQ(l.GetLine(0), QString());
    EXPECT_FALSE(l.Undo(p));
    EXPECT_TRUE(l.Redo(p));
    EXPECT_EQ(l.GetLine(0), QStringLiteral("one"));
    EXPECT_TRUE(l.Redo(p));
    EXPECT_EQ(l.GetLine(0), QStringLiteral("one two"));
    EXPECT_FALSE(l.Redo(p));
    EXPECT_TRUE(l.Undo(p));
    EXPECT_EQ(l.GetLine(0), QStringLiteral("one"));
}

// A text the program puts in (a cleared list, a loaded file) is where undo stops: no step goes
// back to the text it replaced, and the first step after an edit gives it back exactly.
TEST(UndoRing, ProgramReplacedTextStartsTheHistoryAfresh)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("list.thm"));
    writeAll(file, "CAT\tpet\r\nDOG\tfriend\r\n");
    const struct {
        const char *name;
        std::function<void(TEntries &)> replace;
        QStringList after;
    } cases[] = {
        {"clear", [](TEntries &e) { e.Lines().ClearAll(); }, {QString()}},
        {"clear and refill",
         [](TEntries &e) {
             e.Lines().ClearAll();
             e.EnsureTrailingEmptyEntry();
             e.AppendText(QStringLiteral("EMU\tbird\n"));
         },
         {QStringLiteral("EMU\tbird"), QString()}},
        {"load into an empty list",
         [&](TEntries &e) {
             e.Lines().ClearAll();
             e.EnsureTrailingEmptyEntry();
             ASSERT_TRUE(e.LoadFromFile(file));
         },
         {QStringLiteral("CAT\tpet"), QStringLiteral("DOG\tfriend")}},
        {"load added to the list",
         [&](TEntries &e) { ASSERT_TRUE(e.LoadFromFile(file)); },
         {QStringLiteral("OLDTYPED\told"), QStringLiteral("CAT\tpet"), QStringLiteral("DOG\tfriend")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TEntries e = makeEntries({QStringLiteral("OLD\told")});
        TMyLines &l = e.Lines();
        TUndoPosition p;
        l.SaveUndoState(p);
        l.InsertText(0, 4, QStringLiteral("TYPED"));
        l.SaveUndoState(p);
        TUndoPosition q;
        ASSERT_TRUE(l.Undo(q)); // standing behind the present when the text is replaced
        ASSERT_EQ(l.UndoDepth(), 1);

        c.replace(e);
        ASSERT_EQ(entryTexts(e), c.after);
        EXPECT_EQ(l.SnapshotCount(), 0);
        EXPECT_EQ(l.UndoDepth(), 0);
        EXPECT_FALSE(l.Undo(q));
        EXPECT_FALSE(l.Redo(q));
        EXPECT_EQ(entryTexts(e), c.after);

        // The first edit after it snapshots the replaced-in text, whatever the caret line.
        EXPECT_TRUE(l.ChangedSinceSnapshot());
        EXPECT_EQ(l.NewestSnapshotCaretLine(), -1);
        l.SaveUndoState(p);
        l.InsertText(0, 1, QStringLiteral("x"));
        ASSERT_TRUE(l.Undo(q));
        EXPECT_EQ(entryTexts(e), c.after);
        EXPECT_FALSE(l.Undo(q));
        ASSERT_TRUE(l.Redo(q));
        EXPECT_EQ(l.GetLine(0).left(1), QStringLiteral("x"));
    }

    // A file that yields nothing leaves the text, and so its history, alone.
    ScriptedPrompter boxes;
    TEntries e = makeEntries({QStringLiteral("OLD\told")});
    TUndoPosition p;
    e.Lines().SaveUndoState(p);
    e.Lines().InsertText(0, 1, QStringLiteral("x"));
    EXPECT_FALSE(e.LoadFromFile(dir.filePath(QStringLiteral("missing.thm"))));
    EXPECT_EQ(e.Lines().SnapshotCount(), 1);
    EXPECT_TRUE(e.Lines().Undo(p));
    EXPECT_EQ(e.GetWord(0), QStringLiteral("OLD"));
}

TEST(EntrySorts, Alphabetically)
{
    TEntries e = makeEntries({QStringLiteral("pear\tfruit"), QString(), QStringLiteral("Apple\tred"),
                              QStringLiteral("  "), QStringLiteral("banana\tyellow")});
    e.SortAlphabetically();
    EXPECT_EQ(entryTexts(e),
              (QStringList{QStringLiteral("Apple\tred"), QStringLiteral("banana\tyellow"),
                           QStringLiteral("pear\tfruit"), QString(), QString(), QStringLiteral("  ")}));
    EXPECT_EQ(e.BlankRank(3), 80000);
    EXPECT_EQ(e.BlankRank(5), 70000 - 3);
}

TEST(EntrySorts, ByLength)
{
    TEntries e = makeEntries({QStringLiteral("ELEPHANT\tbig"), QStringLiteral("OX\tstrong"),
                              QStringLiteral("\tonly a clue"), QStringLiteral("CAT\tpet"),
                              QStringLiteral("BEE\tbuzz")});
    e.SortByLength();
    EXPECT_EQ(entryTexts(e), (QStringList{QStringLiteral("\tonly a clue"), QStringLiteral("OX\tstrong"),
                                          QStringLiteral("BEE\tbuzz"), QStringLiteral("CAT\tpet"),
                                          QStringLiteral("ELEPHANT\tbig"), QString()}));
}

TEST(EntrySorts, ByLocationAndLabelsTravelWithTheirEntries)
{
    TEntries e = makeEntries({QStringLiteral("TEN\ta long clue that wraps"), QStringLiteral("TWO\tb"),
                              QStringLiteral("THREE\tc"), QStringLiteral("NONE\td")});
    e.Lines().SetMeasure(nullptr, 0, 0, 50); // wrapped entries are sorted whole
    e.Lines().RewrapAll();
    ASSERT_GT(e.Lines().LineCount(), e.EntryCount());
    e.SetEntrySlotLabel(0, QStringLiteral("10 A"));
    e.SetEntrySlotLabel(1, QStringLiteral("2 D"));
    e.SetEntrySlotLabel(2, QStringLiteral("3 A"));
    e.SortByLocation();
    EXPECT_EQ(entryTexts(e),
              (QStringList{QStringLiteral("THREE\tc"), QStringLiteral("TEN\ta long clue that wraps"),
                           QStringLiteral("TWO\tb"), QStringLiteral("NONE\td"), QString()}));
    EXPECT_EQ(e.GetEntrySlotLabel(0), QStringLiteral("3 A"));
    EXPECT_EQ(e.GetEntrySlotLabel(1), QStringLiteral("10 A"));
    EXPECT_EQ(e.GetEntrySlotLabel(2), QStringLiteral("2 D"));
    EXPECT_EQ(e.GetEntrySlotLabel(3), kUnsetSlotLabel);
    EXPECT_GT(e.Lines().LineCount(), e.EntryCount()); // wrapped again
}

TEST(WordListFile, LoadsCrLfBarsAndLongEntriesAndSavesCrLf)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("list.thm"));
    const QByteArray longClue = QByteArray(3000, 'y');
    writeAll(name, "CAT\tA pet\r\nNEW YORK|Big Apple\r\nDOG|a good friend\nCAF\xc9,Coffee place\r\nLONG\t" +
                       longClue + "\r\n\r\n");
    TEntries e = makeEntries({});
    e.Lines().SetMeasure(nullptr, 0, 0, 200);
    ScriptedPrompter boxes;
    ASSERT_TRUE(e.LoadFromFile(name));
    EXPECT_TRUE(boxes.boxes.isEmpty());
    ASSERT_EQ(e.EntryCount(), 6);
    EXPECT_EQ(e.GetWord(1), QStringLiteral("NEWYORK"));
    EXPECT_EQ(e.GetClue(1), QStringLiteral("Big Apple"));
    EXPECT_EQ(e.GetWord(2), QStringLiteral("DOG"));
    EXPECT_EQ(e.GetClue(2), QStringLiteral("a good friend"));
    EXPECT_EQ(e.GetWord(3), QString::fromUtf8("CAF\u00c9"));
    EXPECT_EQ(e.GetClue(4), QString::fromLatin1(longClue));
    EXPECT_EQ(e.GetEntryText(5), QString(kLf)); // the file's empty last line is the empty entry

    const QString saved = dir.filePath(QStringLiteral("saved.thm"));
    ASSERT_TRUE(e.SaveToFile(saved));
    EXPECT_EQ(readAll(saved),
              "CAT\tA pet\r\nNEWYORK\tBig Apple\r\nDOG\ta good friend\r\nCAF\xc9,Coffee place\r\nLONG\t" +
                  longClue + "\r\n\r\n");

    // Loading again adds to the list, before the empty entry at the end.
    ASSERT_TRUE(e.LoadFromFile(saved));
    EXPECT_EQ(e.EntryCount(), 11);
    EXPECT_EQ(e.GetWord(5), QStringLiteral("CAT"));
    EXPECT_EQ(e.GetEntryText(10), QString(kLf));
}

TEST(WordListFile, FailuresAreReportedAndKeepTheOldFile)
{
    QTemporaryDir dir;
    ScriptedPrompter boxes;
    TEntries e = makeEntries({QStringLiteral("CAT\tpet")});
    EXPECT_FALSE(e.LoadFromFile(dir.filePath(QStringLiteral("missing.thm"))));
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.lastText(), QStringLiteral("Invalid file name, file not found or access denied."));
    EXPECT_EQ(e.EntryCount(), 2);

    EXPECT_FALSE(e.SaveToFile(dir.filePath(QStringLiteral("no/such/folder/list.thm"))));
    EXPECT_EQ(boxes.boxes.size(), 2);

    // A file that cannot be replaced stays as it was.
    const QString sub = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(sub));
    const QString name = sub + QStringLiteral("/list.thm");
    writeAll(name, "OLD\tcontent\r\n");
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner);
    const bool saved = e.SaveToFile(name);
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!saved) { // (root may write anywhere)
        EXPECT_EQ(boxes.boxes.size(), 3);
        EXPECT_EQ(readAll(name), "OLD\tcontent\r\n");
    }
}
