// The spelling check without windows.
#include "spellcheck.h"

#include "alphabet.h"
#include "cluespg.h"
#include "cp1252.h"
#include "layoutsettings.h"
#include "lines.h"
#include "notices.h"
#include "trv600.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>

// ---- The puzzle's texts -----------------------------------------------------------------------

QString TPuzzleSpellingTexts::Title() const { return DocControls.PuzzleTitle; }
QString TPuzzleSpellingTexts::Subtitle() const { return DocControls.PuzzleSubtitle; }
QString TPuzzleSpellingTexts::CreditsLine() const { return ::CreditsLine; }
int TPuzzleSpellingTexts::EntryCount() const { return m_editor ? m_editor->EntryCount() : 0; }

QString TPuzzleSpellingTexts::EntryText(int entry) const
{
    return m_editor ? m_editor->GetEntryText(entry) : QString();
}

QString TPuzzleSpellingTexts::EntrySlotLabel(int entry) const
{
    return m_editor ? m_editor->GetSlotLabel(entry) : QString();
}

TClueGrid *TPuzzleSpellingTexts::grid(int grid) { return grid == 0 ? ::CluesAcrossSG : ::CluesDownSG; }

int TPuzzleSpellingTexts::ClueRowCount(int g) const
{
    const TClueGrid *clues = grid(g);
    return clues ? clues->RowCount() : 0;
}

QString TPuzzleSpellingTexts::ClueCell(int g, int column, int row) const
{
    const TClueGrid *clues = grid(g);
    if (!clues || clues->Cell(0, row) == QLatin1String("WordBank"))
        return {};
    return clues->Cell(column, row);
}

void TPuzzleSpellingTexts::changed(Target target)
{
    if (DocHooks.SetModified)
        DocHooks.SetModified();
    if (Changed)
        Changed(target);
}

void TPuzzleSpellingTexts::SetTitle(const QString &text)
{
    DocControls.PuzzleTitle = text;
    changed(TitleText);
}

void TPuzzleSpellingTexts::SetSubtitle(const QString &text)
{
    DocControls.PuzzleSubtitle = text;
    changed(SubtitleText);
}

void TPuzzleSpellingTexts::SetCreditsLine(const QString &text)
{
    ::CreditsLine = text;
    changed(CreditsText);
}

void TPuzzleSpellingTexts::ReplaceEntry(int entry, const QString &text)
{
    if (!m_editor || entry < 0 || entry >= m_editor->EntryCount())
        return;
    // Reported to the editor's change callbacks as if typed, so the clue grids follow.
    TEntries &entries = m_editor->Entries();
    entries.RememberEntry(entries.FirstLineOfEntry(entry));
    m_editor->ReplaceEntry(entry, text);
    entries.NotifyIfChanged(entries.FirstLineOfEntry(entry));
    changed(EntryTextTarget);
}

void TPuzzleSpellingTexts::SetClue(int g, int row, const QString &clue)
{
    TClueGrid *clues = grid(g);
    if (!clues || row < 1 || row >= clues->RowCount())
        return;
    clues->SetCell(1, row, clue);
    StoreClueForAnswer(clues->Cell(0, row), clue);
    bool ok = false;
    const int alternate = clues->Cell(2, row).toInt(&ok);
    if (ok && ::CluesAlternateSG && alternate > 0 && alternate < ::CluesAlternateSG->RowCount())
        ::CluesAlternateSG->SetCell(1, alternate, clue);
    if (DocHooks.ClueFlowClueWasChanged)
        DocHooks.ClueFlowClueWasChanged(clues, row);
    changed(ClueText);
}

// ---- The engine's dictionary ------------------------------------------------------------------

bool TEngineSpellingDictionary::Create()
{
    // The engine reads its lists as it first needs each length, and a list it cannot open would
    // give an error box at every look-up of that length: the files must all be there first.
    for (int length = 1; length <= 17; ++length) {
        const QString number = QStringLiteral("%1").arg(length, 2, 10, QLatin1Char('0'));
        if (!QFile::exists(QStringLiteral("ZEDAVIV/E.P") + number) &&
            !QFile::exists(QStringLiteral("ZEDAVIV/D.P") + number))
            return false;
    }
    return TRVCreate() == 1;
}

bool TEngineSpellingDictionary::Contains(const QString &word)
{
    if (word.isEmpty() || word.size() > 17)
        return false;
    for (QChar c : word)
        if (!IsAsciiLetter(c))
            return false;
    return TRVIsInSpellingDict(word.toLatin1().constData()) == 1;
}

void TEngineSpellingDictionary::Destroy() { TRVDestroy(); }

// ---- Word sets --------------------------------------------------------------------------------

namespace {

bool lessNoCase(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

bool TWordSet::Add(const QString &word)
{
    const auto at = std::lower_bound(m_words.begin(), m_words.end(), word, lessNoCase);
    if (at != m_words.end() && QString::compare(*at, word, Qt::CaseInsensitive) == 0)
        return false;
    m_words.insert(at, word);
    return true;
}

bool TWordSet::Contains(const QString &word) const
{
    const auto at = std::lower_bound(m_words.begin(), m_words.end(), word, lessNoCase);
    return at != m_words.end() && QString::compare(*at, word, Qt::CaseInsensitive) == 0;
}

void TWordSet::Assign(QStringList words)
{
    std::stable_sort(words.begin(), words.end(), lessNoCase);
    const auto end = std::unique(words.begin(), words.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) == 0;
    });
    words.erase(end, words.end());
    m_words = std::move(words);
}

// ---- The check --------------------------------------------------------------------------------

void TSpellCheck::SetSupplementPaths(const QString &user, const QString &shared)
{
    m_userPath = user;
    m_sharedPath = shared;
}

bool TSpellCheck::LoadDictionaries()
{
    if (!m_started && m_dictionary)
        m_started = m_dictionary->Create();
    if (!m_supplementLoaded)
        loadSupplement();
    return m_started;
}

void TSpellCheck::loadSupplement()
{
    m_supplementLoaded = true;
    const QString path = QFile::exists(m_userPath) ? m_userPath : m_sharedPath;
    QStringList lines;
    if (path.isEmpty() || !Cp1252::readTextLines(path, &lines))
        return; // no supplement yet: the first Add makes the user's
    QStringList words;
    words.reserve(lines.size());
    for (const QString &line : lines) {
        const QString word = line.trimmed();
        if (!word.isEmpty())
            words << word;
    }
    m_supplement.Assign(std::move(words));
}

void TSpellCheck::StopDictionary()
{
    if (m_started && m_dictionary)
        m_dictionary->Destroy();
    m_started = false;
}

void TSpellCheck::Restart()
{
    m_stage = TitleStage;
    m_column = 1;
    m_row = 0;
    m_offset = 1;
    m_stop = false;
    m_currentWord.clear();
    m_notFound.clear();
    LoadStageText();
}

TSpellCheck::RunResult TSpellCheck::Run(const std::function<void()> &pump, int pumpMs)
{
    m_running = true;
    m_pumps = 0;
    QElapsedTimer clock;
    clock.start();
    RunResult result = Finished;
    while (m_stage != EndStage && !m_stop) {
        if (!CheckNextWord()) {
            result = NotFound;
            break;
        }
        AdvanceLocation();
        if (pump && clock.elapsed() >= pumpMs) {
            ++m_pumps;
            pump();
            clock.restart();
        }
    }
    if (result != NotFound)
        result = m_stage == EndStage ? Finished : Stopped;
    m_running = false;
    return result;
}

bool TSpellCheck::CheckNextWord()
{
    if (m_offset >= m_text.size() || !IsAlphabetChar(m_text.at(m_offset - 1)))
        return true;
    QString word = ExtractLetterRunQuote(m_text.mid(m_offset - 1, kMaxWordLength));
    // Apostrophes after the word close a quotation or a plural possessive: not part of the word.
    while (word.endsWith(QLatin1Char('\'')))
        word.chop(1);
    if (word.size() < 2)
        return true;
    m_currentWord = word;
    if (IsKnownWord(word))
        return true;
    m_notFound = word;
    return false;
}

int TSpellCheck::NextWordStart(const QString &text, int offset)
{
    const int length = int(text.size());
    if (length < 2 || offset < 1 || offset > length)
        return 1;
    int i = offset;
    // The word at the offset is skipped whole, the parts after its apostrophes too.
    if (IsAlphabetChar(text.at(i - 1)))
        while (i < length && (IsAlphabetChar(text.at(i - 1)) || text.at(i - 1) == QLatin1Char('\'')))
            ++i;
    while (i < length && !IsAlphabetChar(text.at(i - 1)))
        ++i;
    return i >= length ? 1 : i;
}

void TSpellCheck::AdvanceLocation()
{
    m_offset = NextWordStart(m_text, m_offset);
    if (m_offset != 1)
        return;
    switch (m_stage) {
    case TitleStage:
    case SubtitleStage:
    case CreditsStage: ++m_stage; break;
    case EntriesStage:
        if (++m_row > (m_texts ? m_texts->EntryCount() : 0) - 1) {
            m_stage = AcrossStage;
            m_column = 1;
            m_row = 1;
        }
        break;
    case AcrossStage:
    case DownStage:
        if (++m_row > (m_texts ? m_texts->ClueRowCount(m_stage - AcrossStage) : 0) - 1) {
            ++m_stage;
            m_row = 1;
        }
        break;
    default: break;
    }
    LoadStageText();
}

void TSpellCheck::LoadStageText()
{
    m_text.clear();
    if (!m_texts)
        return;
    switch (m_stage) {
    case TitleStage: m_text = m_texts->Title(); break;
    case SubtitleStage: m_text = m_texts->Subtitle(); break;
    case CreditsStage: m_text = m_texts->CreditsLine(); break;
    case EntriesStage:
        if (m_row >= 0 && m_row < m_texts->EntryCount())
            m_text = m_texts->EntryText(m_row);
        break;
    case AcrossStage:
    case DownStage:
        if (m_row >= 0 && m_row < m_texts->ClueRowCount(m_stage - AcrossStage))
            m_text = m_texts->ClueCell(m_stage - AcrossStage, m_column, m_row);
        break;
    default: break;
    }
}

bool TSpellCheck::IsKnownWord(const QString &word)
{
    const QString w = word.left(kMaxWordLength);
    // The program's own name stands in the default credits line; no dictionary holds it.
    if (w.compare(QLatin1String("Tarvel"), Qt::CaseInsensitive) == 0)
        return true;
    if (m_started && m_dictionary && m_dictionary->Contains(w))
        return true;
    return m_supplement.Contains(w) || m_ignoreAll.Contains(w);
}

void TSpellCheck::AddWord()
{
    m_supplement.Add(m_notFound);
    QString error;
    if (!Cp1252::writeTextLines(m_userPath, m_supplement.Words(), &error))
        showInformation(Cp1252::writeFailureText(
            QStringLiteral("Unable to update user spelling dictionary; can't write to file ") + m_userPath +
                QStringLiteral("."),
            m_userPath, error));
    AdvanceLocation();
}

void TSpellCheck::ChangeWord(const QString &replacement)
{
    if (!m_texts)
        return;
    QString text = m_text;
    text.replace(m_offset - 1, m_notFound.size(), replacement);
    switch (m_stage) {
    case TitleStage: m_texts->SetTitle(text); break;
    case SubtitleStage: m_texts->SetSubtitle(text); break;
    case CreditsStage: m_texts->SetCreditsLine(text); break;
    case EntriesStage: m_texts->ReplaceEntry(m_row, text); break;
    case AcrossStage:
    case DownStage: m_texts->SetClue(m_stage - AcrossStage, m_row, text); break;
    default: return;
    }
    LoadStageText();
}

void TSpellCheck::IgnoreAllWord()
{
    m_ignoreAll.Add(m_notFound);
    AdvanceLocation();
}

QString TSpellCheck::clueNumber() const
{
    return m_texts ? ExtractDigitRun(m_texts->ClueCell(m_stage - AcrossStage, 0, m_row)) : QString();
}

QString TSpellCheck::LocationText() const
{
    switch (m_stage) {
    case TitleStage: return QStringLiteral("Title");
    case SubtitleStage: return QStringLiteral("Subtitle");
    case CreditsStage: return QStringLiteral("Credits line");
    case EntriesStage: return QStringLiteral("Your Words & Clues # ") + QString::number(m_row + 1);
    case AcrossStage: return QStringLiteral("Clue for ") + clueNumber() + QStringLiteral(" Across ");
    case DownStage: return QStringLiteral("Clue for ") + clueNumber() + QStringLiteral(" Down");
    default: return QStringLiteral("End.");
    }
}

QString TSpellCheck::MemoText() const
{
    switch (m_stage) {
    case TitleStage: return QStringLiteral("Whole title");
    case SubtitleStage: return QStringLiteral("Whole subtitle");
    case CreditsStage: return QStringLiteral("Whole credits line");
    case EntriesStage: return QStringLiteral("Whole word/clue entry");
    case AcrossStage:
    case DownStage: return QStringLiteral("Entire clue");
    default: return {};
    }
}

QString TSpellCheck::PlacementText() const
{
    if (!m_texts)
        return {};
    if (m_stage == EntriesStage) {
        QString label = m_texts->EntrySlotLabel(m_row).trimmed();
        if (label.endsWith(QLatin1Char('D')))
            label += QStringLiteral("own");
        else if (label.endsWith(QLatin1Char('A')))
            label += QStringLiteral("cross");
        return label.size() < 5 ? QString() : QStringLiteral("Used at ") + label;
    }
    if (m_stage == AcrossStage || m_stage == DownStage)
        return QStringLiteral("(") + ExtractEntryWord(m_texts->ClueCell(m_stage - AcrossStage, 0, m_row)) +
               QStringLiteral(")");
    return {};
}
