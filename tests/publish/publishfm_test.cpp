// The publishing form: its preloaded fields, saving for the user's own web site, the data file
// alone, and the local test, over scripted dialogs, prompter and shell.
#include "publishdoc.h"
#include "publishfm.h"

#include "alphabet.h"
#include "cluespg.h"
#include "cp1252.h"
#include "globals.h"
#include "httpclient.h"
#include "prompter.h"
#include "uidialogs.h"

#include "cutwrites.h"
#include "testgrid.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace {

QString readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing>");
    return QString::fromLatin1(file.readAll());
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

class PublishFmTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetPublishDocument(&words);
        SetTestGrid({QStringLiteral("*A")});
        program = dir.filePath(QStringLiteral("program"));
        site = dir.filePath(QStringLiteral("site"));
        QDir().mkpath(program);
        QDir().mkpath(site);
        SetProgramFolderForTesting(program);
        TPublishFm::ResetLocalTestCounter();
        hooks.MainTitle = [this] { return mainTitle; };
        hooks.Prefs = [this] { return prefs; };
    }
    void TearDown() override
    {
        SetProgramFolderForTesting(QString());
        WordList = nullptr;
    }

    void putArchives()
    {
        for (const QString &archive : TPublishFm::AppletArchives)
            ASSERT_TRUE(writeFile(QDir(program).filePath(archive), archive.toLatin1()));
    }

    std::unique_ptr<TPublishFm> makeForm() { return std::make_unique<TPublishFm>(hooks); }

    QTemporaryDir dir;
    QString program, site;
    QString mainTitle = QStringLiteral("Birds");
    TPlayerPrefs prefs;
    TPublishHooks hooks;
    TPlainWordList words;
    ScriptedPrompter prompter;
    ScriptedUiDialogs dialogs;
    RecordingShell shellRecorder;
};

// ---- Preloaded fields -----------------------------------------------------------------------

TEST_F(PublishFmTest, PreloadFieldsFollowThePreferences)
{
    struct Case {
        const char *mainTitle;
        bool preloadTitle, preloadAuthor, preloadDate;
        const char *title, *author;
        bool dated;
    };
    const Case cases[] = {
        {"Birds", true, true, true, "Birds", "Ann Lee", true},
        {"   ", true, false, false, "Untitled", "", false},
        {"", true, true, false, "Untitled", "Ann Lee", false},
        {"Birds", false, false, true, "", "", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mainTitle);
        mainTitle = QString::fromUtf8(c.mainTitle);
        prefs.PreloadTitle = c.preloadTitle;
        prefs.PreloadAuthor = c.preloadAuthor;
        prefs.PreloadDate = c.preloadDate;
        prefs.PreloadAuthorText = QStringLiteral("Ann Lee");
        auto form = makeForm();
        EXPECT_EQ(form->TitleEd->text(), QString::fromUtf8(c.title));
        EXPECT_EQ(form->AuthorEd->text(), QString::fromUtf8(c.author));
        EXPECT_EQ(!form->DateEd->text().isEmpty(), c.dated);
    }
}

TEST_F(PublishFmTest, CommandsWithoutTheirOtherEndAreOff)
{
    auto bare = makeForm();
    EXPECT_FALSE(bare->Java_QuickPublishBtn->isEnabled());
    EXPECT_FALSE(bare->AdvancedOptionsBtn->isEnabled());

    QStringList topics;
    int quick = 0;
    hooks.ShowHelpTopic = [&](const QString &page) { topics << page; };
    hooks.QuickPublish = [&] { ++quick; };
    auto form = makeForm();
    EXPECT_TRUE(form->Java_QuickPublishBtn->isEnabled());
    form->Java_QuickPublishBtn->click();
    form->HowToPublishLnkClick();
    form->MoreLnkClick();
    EXPECT_EQ(quick, 1);
    EXPECT_EQ(topics, QStringList{QStringLiteral("PuzzlesOnYourWebsite.htm")});
    ASSERT_EQ(shellRecorder.Opened.size(), 1);
    EXPECT_EQ(shellRecorder.Opened[0].toString(), HostingBaseUrl() + QStringLiteral("/index.htm"));
}

// ---- Publish To Your Website ------------------------------------------------------------------

TEST_F(PublishFmTest, PublishToYourWebsite)
{
    enum Setup {
        Plain,
        OldPage,
        Unwritable
    };
    struct Case {
        const char *name;
        bool archives;
        Setup setup;
        const char *chosen;              // in the site folder
        QList<Prompter::Button> answers; // to the replace question
        const char *page, *data;         // files expected afterwards (empty: none)
        bool accepted;                   // the success message and the form closed with OK
        const char *lastMessage;         // a text the last box holds
    };
    const Case cases[] = {
        {"archives present",
         true,
         Plain,
         "birds.html",
         {},
         "birds.html",
         "birds.txt",
         true,
         "These files have been prepared in the folder: "},
        {"archives missing",
         false,
         Plain,
         "birds.html",
         {},
         "birds.html",
         "birds.txt",
         true,
         "These files should be put on your web server:"},
        {"a page named .txt",
         true,
         Plain,
         "x.txt",
         {},
         "x.html",
         "x.txt",
         true,
         "Sample web page:\tx.html\nThe puzzle itself:\tx.txt"},
        {"replacement declined",
         true,
         OldPage,
         "birds.html",
         {Prompter::No},
         "",
         "",
         false,
         "Operation cancelled."},
        {"unwritable folder", true, Unwritable, "birds.html", {}, "", "", false, "could not be saved"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir caseDir(dir.filePath(QStringLiteral("caseXXXXXX")));
        const QString folder = caseDir.path();
        for (const QString &archive : TPublishFm::AppletArchives)
            QFile::remove(QDir(program).filePath(archive));
        if (c.archives)
            putArchives();
        QString chosen = QDir(folder).filePath(QString::fromLatin1(c.chosen));
        if (c.setup == OldPage) {
            ASSERT_TRUE(writeFile(chosen, "old page"));
        }
        if (c.setup == Unwritable) {
            // A "folder" that is a file cannot be written, not even by root.
            ASSERT_TRUE(writeFile(QDir(folder).filePath(QStringLiteral("blocker")), "x"));
            chosen = QDir(folder).filePath(QStringLiteral("blocker/") + QString::fromLatin1(c.chosen));
        }
        prompter.boxes.clear();
        prompter.answers = c.answers;
        dialogs.FileNames = {chosen};

        auto form = makeForm();
        form->TitleEd->setText(QStringLiteral("Birds"));
        form->PublishToWebsiteBtnClick();

        EXPECT_EQ(form->result() == QDialog::Accepted, c.accepted);
        EXPECT_TRUE(prompter.lastText().contains(QString::fromUtf8(c.lastMessage)))
            << prompter.lastText().toStdString();
        if (*c.page) {
            const QString page = readFile(QDir(folder).filePath(QString::fromLatin1(c.page)));
            EXPECT_TRUE(page.contains(QStringLiteral("<param name=\"PuzzleFile\" value=\"") +
                                      QString::fromLatin1(c.data) + QStringLiteral("\">")));
            EXPECT_TRUE(readFile(QDir(folder).filePath(QString::fromLatin1(c.data)))
                            .startsWith(QStringLiteral("PuzzleType=Crossword\r\n")));
        }
        if (c.setup == OldPage) {
            EXPECT_EQ(readFile(chosen), QStringLiteral("old page"));
        }
        for (const QString &archive : TPublishFm::AppletArchives)
            EXPECT_EQ(QFileInfo::exists(QDir(folder).filePath(archive)), c.archives && c.accepted);
        if (!c.archives) {
            // One box names the missing archives and the program folder, then the success box.
            ASSERT_GE(prompter.boxes.size(), 2);
            const QString missing = prompter.boxes[prompter.boxes.size() - 2].text;
            EXPECT_TRUE(missing.contains(QStringLiteral("TarvelLive.zip\nTarvelLive.jar")));
            EXPECT_TRUE(missing.contains(program));
            EXPECT_TRUE(missing.contains(QStringLiteral("The puzzle page was saved")));
        }
    }
}

TEST_F(PublishFmTest, PublishProposesTheTitleAsAPageName)
{
    auto form = makeForm();
    form->TitleEd->setText(QStringLiteral("Birds of Prey"));
    form->PublishToWebsiteBtnClick(); // cancelled: no file names queued
    EXPECT_EQ(dialogs.Asked, QStringList{QStringLiteral("save: Publish To Your Website")});
    EXPECT_EQ(dialogs.Proposed,
              QStringList{QDir(GetDocumentsFolder()).filePath(QStringLiteral("BirdsOfPrey.html"))});
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

// ---- Save Interactive Puzzle Files ---------------------------------------------------------------

TEST_F(PublishFmTest, SaveInteractiveAsksBeforeReplacingAndKeepsTheOldFileOnFailure)
{
    const QString target = QDir(site).filePath(QStringLiteral("birds.txt"));
    ASSERT_TRUE(writeFile(target, "old data"));
    auto form = makeForm();

    // The puzzle's own name is proposed, with ".txt", in the puzzle's folder.
    const QString puzzle = QDir(site).filePath(QStringLiteral("birds.trv"));
    hooks.PuzzleFileName = [puzzle] { return puzzle; };
    makeForm()->SaveInteractiveBtnClick();
    EXPECT_EQ(dialogs.Proposed, QStringList{target});

    // Declined: the old file stays.
    dialogs.FileNames = {target};
    prompter.answers = {Prompter::No};
    form->SaveInteractiveBtnClick();
    EXPECT_EQ(readFile(target), QStringLiteral("old data"));
    EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("already exists")));

    // Accepted: replaced by the data.
    dialogs.FileNames = {target};
    prompter.answers = {Prompter::Yes};
    form->SaveInteractiveBtnClick();
    EXPECT_TRUE(readFile(target).startsWith(QStringLiteral("PuzzleType=Crossword\r\n")));

    // A folder that cannot be written (here a file): said, with the file's name.
    const QString blocker = QDir(site).filePath(QStringLiteral("blocker"));
    ASSERT_TRUE(writeFile(blocker, "x"));
    dialogs.FileNames = {blocker + QStringLiteral("/birds.txt")};
    form->SaveInteractiveBtnClick();
    EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("birds.txt could not be saved")));
}

TEST_F(PublishFmTest, ACutSaveOfTheInteractiveFileKeepsTheOldFileAndSaysWhy)
{
    const QString target = QDir(site).filePath(QStringLiteral("birds.txt"));
    auto form = makeForm();
    ExpectCutWritesKeepTheOldFile(target, [&](QString *reason) {
        prompter.boxes.clear();
        prompter.answers = {Prompter::Yes};
        dialogs.FileNames = {target};
        form->SaveInteractiveBtnClick();
        *reason = prompter.lastText();
        if (!reason->contains(QStringLiteral("could not be saved")))
            return true;
        EXPECT_TRUE(reason->startsWith(QStringLiteral("The file ") + target +
                                       QStringLiteral(" could not be saved.")));
        return false;
    });
}

// ---- Test Locally ------------------------------------------------------------------------------

TEST_F(PublishFmTest, LocalTestsTakeTurnsOverThreeFilePairsForTheWholeRun)
{
    putArchives();
    const QString documents = GetDocumentsFolder();
    auto first = makeForm();
    auto second = makeForm();
    QList<int> numbers;
    for (TPublishFm *form : {first.get(), first.get(), second.get(), second.get()}) {
        shellRecorder.Opened.clear();
        EXPECT_TRUE(form->TestLocally());
        ASSERT_EQ(shellRecorder.Opened.size(), 1); // one browser, opened once
        const QString page = shellRecorder.Opened[0].toLocalFile();
        const QString name = QFileInfo(page).completeBaseName();
        ASSERT_TRUE(name.startsWith(QStringLiteral("InteractivePuzzleTemporaryFile")));
        numbers << name.mid(30).toInt();
        EXPECT_EQ(QFileInfo(page).absolutePath(), QDir(documents).absolutePath());
        EXPECT_TRUE(readFile(page).contains(QStringLiteral("value=\"") + name + QStringLiteral(".txt\"")));
    }
    EXPECT_EQ(numbers, (QList<int>{1, 2, 3, 1}));
    for (const QString &archive : TPublishFm::AppletArchives)
        EXPECT_TRUE(QFileInfo::exists(QDir(documents).filePath(archive)));
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

TEST_F(PublishFmTest, LocalTestWithoutADocumentsFolderWritesIntoTheHomeFolder)
{
    const QByteArray home = qgetenv("HOME");
    const QString freshHome = dir.filePath(QStringLiteral("fresh-home"));
    ASSERT_TRUE(QDir().mkpath(freshHome));
    qputenv("HOME", freshHome.toLocal8Bit());
    const QString documents = GetDocumentsFolder();
    putArchives();
    EXPECT_TRUE(makeForm()->TestLocally());
    qputenv("HOME", home);
    EXPECT_EQ(QDir(documents).absolutePath(), QDir(freshHome).absolutePath());
    ASSERT_EQ(shellRecorder.Opened.size(), 1);
    const QString page = shellRecorder.Opened[0].toLocalFile();
    EXPECT_EQ(QFileInfo(page).absolutePath(), QDir(documents).absolutePath());
    EXPECT_TRUE(QFileInfo::exists(page));
    EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
}

TEST_F(PublishFmTest, SaveInteractiveAsAPageWritesThePageAndTheDataBesideIt)
{
    const QString page = QDir(site).filePath(QStringLiteral("x.html"));
    dialogs.FileNames = {page};
    makeForm()->SaveInteractiveBtnClick();
    EXPECT_TRUE(readFile(page).startsWith(QStringLiteral("<html>"))) << readFile(page).left(80).toStdString();
    EXPECT_TRUE(readFile(page).contains(QStringLiteral("value=\"x.txt\"")));
    EXPECT_TRUE(readFile(QDir(site).filePath(QStringLiteral("x.txt")))
                    .startsWith(QStringLiteral("PuzzleType=Crossword\r\n")));
    EXPECT_TRUE(prompter.boxes.isEmpty()) << prompter.lastText().toStdString();
}

TEST_F(PublishFmTest, LocalTestWhenTheShellFails)
{
    putArchives();
    shellRecorder.Result = false;

    // No browser window of our own: the message gives the page's address.
    auto form = makeForm();
    EXPECT_FALSE(form->TestLocally());
    EXPECT_TRUE(prompter.lastText().startsWith(
        QStringLiteral("Something is preventing Tarvel from opening up a web browser. You can open one "
                       "up manually and point it to \n\nfile://")));

    // With one, it shows the page at the player's browser size.
    QString shown;
    prefs.PlayBrowserWidth = 650;
    prefs.PlayBrowserHeight = 480;
    hooks.ShowInBrowserWindow = [&](const QString &url, int w, int h) {
        shown = url + QStringLiteral(" %1x%2").arg(w).arg(h);
        return true;
    };
    prompter.boxes.clear();
    auto withBrowser = makeForm();
    EXPECT_TRUE(withBrowser->TestLocally());
    EXPECT_TRUE(shown.endsWith(QStringLiteral("InteractivePuzzleTemporaryFile2.html 650x480")))
        << shown.toStdString();
    EXPECT_TRUE(prompter.boxes.isEmpty());
}

} // namespace
