// The spelling check without windows: it walks the puzzle's texts (title, subtitle, credits line,
// the word-and-clue entries, the across and down clues) word by word and stops at each word that
// neither the dictionary, the user's supplement "SpellSup.txt" nor the run's ignore-all list holds.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TClueGrid;
class TEntries;

/** The word-and-clue list as the check reads and corrects it (the main window's editor). */
class TSpellingEntryList
{
public:
    virtual ~TSpellingEntryList() = default;
    virtual int EntryCount() const = 0;
    virtual QString GetEntryText(int entry) const = 0;
    virtual QString GetSlotLabel(int entry) const = 0;
    virtual TEntries &Entries() = 0;
    /** Replaces the entry's text and shows the change. */
    virtual void ReplaceEntry(int entry, const QString &text) = 0;
};

/** The texts the check walks and where a changed text goes back to. */
class TSpellingTexts
{
public:
    virtual ~TSpellingTexts() = default;
    virtual QString Title() const = 0;
    virtual QString Subtitle() const = 0;
    virtual QString CreditsLine() const = 0;
    /** Entries of the word-and-clue list, the trailing empty one included. */
    virtual int EntryCount() const = 0;
    /** The whole entry: answer, separators and clue. */
    virtual QString EntryText(int entry) const = 0;
    /** "12 D", "3 A", or " -  " for an entry not placed in the grid. */
    virtual QString EntrySlotLabel(int entry) const = 0;
    /** Rows of the across (grid 0) or down (grid 1) clue grid, the header row 0 included. */
    virtual int ClueRowCount(int grid) const = 0;
    virtual QString ClueCell(int grid, int column, int row) const = 0;

    virtual void SetTitle(const QString &text) = 0;
    virtual void SetSubtitle(const QString &text) = 0;
    virtual void SetCreditsLine(const QString &text) = 0;
    virtual void ReplaceEntry(int entry, const QString &text) = 0;
    virtual void SetClue(int grid, int row, const QString &clue) = 0;
};

/** The puzzle document's texts: the titles of DocControls, CreditsLine, the editor's entries and
 *  the clue grids. Every change marks the document modified (DocHooks.SetModified); a clue goes
 *  to the answer=clue memory, its alternate row and the clue flow as well. */
class TPuzzleSpellingTexts : public TSpellingTexts
{
public:
    enum Target {
        TitleText,
        SubtitleText,
        CreditsText,
        EntryTextTarget,
        ClueText
    };

    explicit TPuzzleSpellingTexts(TSpellingEntryList *editor) : m_editor(editor) {}

    /** Called after each change with what changed (the window brings its fields and view up to
     *  date here). */
    std::function<void(Target target)> Changed;

    QString Title() const override;
    QString Subtitle() const override;
    QString CreditsLine() const override;
    int EntryCount() const override;
    QString EntryText(int entry) const override;
    QString EntrySlotLabel(int entry) const override;
    int ClueRowCount(int grid) const override;
    /** The word bank's row at the end of the down grid is made from the answers, not written
     *  by the user: it reads as empty. */
    QString ClueCell(int grid, int column, int row) const override;

    void SetTitle(const QString &text) override;
    void SetSubtitle(const QString &text) override;
    void SetCreditsLine(const QString &text) override;
    void ReplaceEntry(int entry, const QString &text) override;
    void SetClue(int grid, int row, const QString &clue) override;

private:
    static TClueGrid *grid(int grid);
    void changed(Target target);

    TSpellingEntryList *m_editor;
};

/** The dictionary the check asks first. */
class TSpellingDictionary
{
public:
    virtual ~TSpellingDictionary() = default;
    /** Starts the dictionary; false when it cannot be used. */
    virtual bool Create() = 0;
    virtual bool Contains(const QString &word) = 0;
    virtual void Destroy() = 0;
};

/** The engine's dictionary word lists (TRVCreate, TRVIsInSpellingDict, TRVDestroy). Create fails
 *  when the dictionary files are missing from the current folder's "ZEDAVIV"; words with
 *  anything but the letters A to Z are never in the lists and are not asked for. */
class TEngineSpellingDictionary : public TSpellingDictionary
{
public:
    bool Create() override;
    bool Contains(const QString &word) override;
    void Destroy() override;
};

/** A sorted list of words compared without regard to case, without duplicates. */
class TWordSet
{
public:
    /** Adds the word unless it is there in some case; true when added. */
    bool Add(const QString &word);
    bool Contains(const QString &word) const;
    /** Replaces the words by these (sorted, duplicates dropped). */
    void Assign(QStringList words);
    void Clear() { m_words.clear(); }
    const QStringList &Words() const { return m_words; }

private:
    QStringList m_words;
};

class TSpellCheck
{
public:
    enum Stage {
        TitleStage,
        SubtitleStage,
        CreditsStage,
        EntriesStage,
        AcrossStage,
        DownStage,
        EndStage
    };
    enum RunResult {
        Finished,
        Stopped,
        NotFound
    };

    TSpellCheck() = default;
    TSpellCheck(const TSpellCheck &) = delete;
    TSpellCheck &operator=(const TSpellCheck &) = delete;

    void SetTexts(TSpellingTexts *texts) { m_texts = texts; }
    void SetDictionary(TSpellingDictionary *dictionary) { m_dictionary = dictionary; }
    TSpellingDictionary *Dictionary() const { return m_dictionary; }
    /** Where the supplement is read: the user's file when it exists, else the shared one; Add
     *  writes the user's. */
    void SetSupplementPaths(const QString &user, const QString &shared);
    QString UserSupplementPath() const { return m_userPath; }

    /** Starts the dictionary when it is not started and, once, loads the supplement (a missing
     *  or unreadable file gives an empty one). True when the dictionary is started. */
    bool LoadDictionaries();
    bool DictionaryStarted() const { return m_started; }
    /** Stops the dictionary when it was started. */
    void StopDictionary();

    /** Back to the first word of the title. */
    void Restart();
    /** Checks words until one is not known (NotFound), the texts are done (Finished), or a stop
     *  was asked (Stopped). Every pumpMs milliseconds pump runs (it shows progress and lets
     *  events in; a stop asked there ends the run after the current word). */
    RunResult Run(const std::function<void()> &pump = {}, int pumpMs = 25);
    bool Running() const { return m_running; }
    void RequestStop() { m_stop = true; }
    void ClearStop() { m_stop = false; }
    bool StopRequested() const { return m_stop; }
    /** Times pump ran during the last Run. */
    int Pumps() const { return m_pumps; }

    /** False when the word at the offset is not known (it becomes NotFoundWord). */
    bool CheckNextWord();
    void AdvanceLocation();
    void LoadStageText();
    bool IsKnownWord(const QString &word);
    /** The offset (from 1) of the word after the one at offset, or 1 when the text is done. The
     *  word at the offset is its whole run of letters and apostrophes. */
    static int NextWordStart(const QString &text, int offset);

    /** Adds the word not found to the supplement and writes it to the user's file; when that
     *  fails the user is told and the word stays known for the run. Then moves past the word. */
    void AddWord();
    /** Replaces the word not found by the text, stores the changed text where it came from and
     *  rereads it; the next run starts with the replacement. */
    void ChangeWord(const QString &replacement);
    void IgnoreWord() { AdvanceLocation(); }
    void IgnoreAllWord();

    int CurrentStage() const { return m_stage; }
    int Row() const { return m_row; }
    int Column() const { return m_column; }
    int Offset() const { return m_offset; }
    QString Text() const { return m_text; }
    /** The word last looked at. */
    QString CurrentWord() const { return m_currentWord; }
    QString NotFoundWord() const { return m_notFound; }

    /** Where the check is, for the two location lines ("Title", "Whole title", ...). */
    QString LocationText() const;
    QString MemoText() const;
    /** The second line for a word not found: "Used at 12 Down" for a placed entry, the answer
     *  in brackets for a clue; empty otherwise. */
    QString PlacementText() const;

    const TWordSet &Supplement() const { return m_supplement; }
    const TWordSet &IgnoredWords() const { return m_ignoreAll; }

    static constexpr int kMaxWordLength = 99;

private:
    QString clueNumber() const;
    void loadSupplement();

    TSpellingTexts *m_texts = nullptr;
    TSpellingDictionary *m_dictionary = nullptr;
    QString m_userPath;
    QString m_sharedPath;
    TWordSet m_supplement;
    TWordSet m_ignoreAll;
    bool m_started = false;
    bool m_supplementLoaded = false;
    bool m_stop = false;
    bool m_running = false;
    int m_pumps = 0;
    int m_stage = TitleStage;
    int m_row = 0;
    int m_column = 1;
    int m_offset = 1;
    QString m_text;
    QString m_currentWord;
    QString m_notFound;
};
