// bench_spelling - a spelling check of 1,000 word-and-clue entries, about 10,000 words that the
// dictionary knows, against the engine's dictionary: the headless check with the word lists read
// cold and then warm, and the dialog's check, which refreshes its labels and lets events in by
// the clock (every 25 ms) rather than after every word.
//   bench_spelling [folder holding ZEDAVIV] [SCOWL folder]
#include "alphabet.h"
#include "cluesedit.h"
#include "cluespg.h"
#include "globals.h"
#include "prompter.h"
#include "spellcheck.h"
#include "spellingdlg.h"
#include "trv600.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>

#include <cstdio>

namespace {

constexpr int kEntries = 1000;
constexpr int kWordsPerEntry = 10;

/** The engine's dictionary, counting the look-ups. */
class CountingDictionary : public TSpellingDictionary
{
public:
    bool Create() override { return m_engine.Create(); }
    bool Contains(const QString &word) override
    {
        ++Asked;
        return m_engine.Contains(word);
    }
    void Destroy() override { m_engine.Destroy(); }
    long Asked = 0;

private:
    TEngineSpellingDictionary m_engine;
};

/** Common words of 2 to 17 letters from the smaller SCOWL lists, all in the dictionary. */
QStringList commonWords(const QString &scowl)
{
    QStringList words;
    for (const char *level : {"10", "20", "35"}) {
        QFile file(scowl + "/english-words." + level);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        while (!file.atEnd()) {
            const QString w = QString::fromLatin1(file.readLine()).trimmed();
            bool plain = w.size() >= 2 && w.size() <= 17;
            for (QChar c : w)
                plain = plain && c >= 'a' && c <= 'z';
            if (plain)
                words << w;
        }
    }
    return words;
}

struct Pass {
    double seconds = 0;
    long asked = 0;
    int notFound = 0;
    int pumps = 0;
};

Pass headlessPass(TSpellingTexts &texts)
{
    CountingDictionary dictionary;
    TSpellCheck check;
    check.SetTexts(&texts);
    check.SetDictionary(&dictionary);
    QElapsedTimer clock;
    clock.start();
    if (!check.LoadDictionaries()) {
        std::fprintf(stderr, "the dictionary could not be loaded\n");
        return {};
    }
    check.Restart();
    Pass pass;
    while (check.Run() == TSpellCheck::NotFound) {
        ++pass.notFound;
        check.IgnoreAllWord();
    }
    pass.seconds = clock.nsecsElapsed() / 1e9;
    pass.asked = dictionary.Asked;
    check.StopDictionary();
    return pass;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    const QString scowl =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/usr/share/dict/scowl");
    if (!QDir::setCurrent(folder)) {
        std::fprintf(stderr, "cannot enter %s\n", qPrintable(folder));
        return 1;
    }
    InitGlobals();
    SetAlphabet(DefaultAlphabet);
    ScriptedPrompter quiet;
    TRVCreateRenumGrid(15, 15);
    CreateClueGrids();

    const QStringList words = commonWords(scowl);
    if (words.size() < kEntries * kWordsPerEntry) {
        std::fprintf(stderr, "too few words in %s\n", qPrintable(scowl));
        return 1;
    }
    // Words spread over the whole list, so every length and many distinct words are looked up.
    TCluesEdit editor;
    const int step = int(words.size()) / (kEntries * kWordsPerEntry);
    int w = 0;
    for (int e = 0; e < kEntries; ++e) {
        QString entry = UpperCaseText(words.at(w++ * step)) + QLatin1Char('\t');
        for (int k = 1; k < kWordsPerEntry; ++k)
            entry +=
                words.at(w++ * step) + (k + 1 < kWordsPerEntry ? QStringLiteral(" ") : QStringLiteral("."));
        editor.AddEntry(entry);
    }
    TPuzzleSpellingTexts texts(&editor);

    std::printf("%d entries, %d words each\n\n", kEntries, kWordsPerEntry);
    std::printf("%-28s %10s %10s %10s %8s\n", "pass", "seconds", "look-ups", "not found", "pumps");
    const Pass cold = headlessPass(texts);
    std::printf("%-28s %10.3f %10ld %10d %8s\n", "headless, lists read", cold.seconds, cold.asked,
                cold.notFound, "-");
    const Pass warm = headlessPass(texts);
    std::printf("%-28s %10.3f %10ld %10d %8s\n", "headless, lists in memory", warm.seconds, warm.asked,
                warm.notFound, "-");

    // The dialog: the same check with its labels refreshed and events let in by the clock.
    TSpellingDlg dialog;
    CountingDictionary dictionary;
    dialog.SetTexts(&texts);
    dialog.SetDictionary(&dictionary);
    dialog.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    dialog.StartCheck();
    int notFound = 0;
    while (dialog.MainMesgLbl->text() == QLatin1String("Not Found:")) {
        ++notFound;
        dialog.IgnoreAllBtnClick();
    }
    Pass shown;
    shown.seconds = clock.nsecsElapsed() / 1e9;
    shown.asked = dictionary.Asked;
    shown.pumps = dialog.Check().Pumps();
    std::printf("%-28s %10.3f %10ld %10d %8d\n", "dialog, labels every 25 ms", shown.seconds, shown.asked,
                notFound, shown.pumps);
    dialog.done(QDialog::Accepted);
    std::printf("\nlimit: 2 s for the pass; the dialog refreshed %d times for %ld words\n", shown.pumps,
                shown.asked);
    return 0;
}
