// The in-program web browser against the fake web server: which links open a puzzle in the
// program, which are shown as pages, what a failed page shows, and the address helpers.
#include "publishdoc.h"
#include "webbrowserfm.h"

#include "alphabet.h"
#include "cluespg.h"
#include "cp1252.h"
#include "fakehostingserver.h"
#include "fileio.h"
#include "globals.h"
#include "httpclient.h"
#include "prompter.h"
#include "trv600.h"

#include "testgrid.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

const QByteArray kIndexPage = "<html><body><h1>Puzzle directory</h1>"
                              "<a href=\"puzzles/Caf%E9%20Day.trv\">puzzle</a>"
                              "<a href=\"x.trvideo.html\">video</a>"
                              "<a href=\"page.html?next=a.trv\">next</a>"
                              "<a href=\"notes.trv\">notes</a>"
                              "</body></html>";

class WebBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetPublishDocument(&words);
        prompter = std::make_unique<ScriptedPrompter>();
        ASSERT_TRUE(server.isListening());
        server.addFile(QStringLiteral("/index.htm"), kIndexPage);
        server.addFile(QStringLiteral("/x.trvideo.html"), "<html><body>Video page</body></html>");
        server.addFile(QStringLiteral("/page.html"), "<html><body>Next page</body></html>");
        // Names the format, but not on its first line: no puzzle.
        server.addFile(QStringLiteral("/notes.trv"), "Notes on puzzles\r\nTRVFileFormat=2.0\r\n",
                       "text/plain");
        server.addFile(QStringLiteral("/puzzles/Caf\u00e9 Day.trv"), puzzleBytes(), "text/plain");

        form = std::make_unique<TWebBrowserFm>();
        form->QuerySaveChanges = [this] {
            ++saveQuestions;
            return allowReplace;
        };
        form->AfterPuzzleOpened = [this](const QString &url) { opened << url; };
    }
    void TearDown() override
    {
        form.reset();
        prompter.reset();
        WordList = nullptr;
        GridUpdating = false;
    }

    /** A 2 by 2 puzzle titled "Café Day" as a file holds it (Windows-1252, CR LF); the grid in
     *  the program is left a different one. */
    static QByteArray puzzleBytes()
    {
        SetTestGrid({QStringLiteral("AB"), QStringLiteral("C*")});
        DocControls.PuzzleTitle = QStringLiteral("Caf\u00e9 Day");
        QStringList lines;
        WritePuzzleToStrings(lines);
        SetTestGrid({QStringLiteral("*A-")});
        DocControls.PuzzleTitle.clear();
        QList<QByteArray> bytes;
        for (const QString &line : lines)
            bytes << Cp1252::fromUnicode(line);
        return Cp1252::joinLinesCrLf(bytes);
    }

    QString indexUrl() const { return server.url(QStringLiteral("/index.htm")); }
    void openIndex()
    {
        form->Navigate(indexUrl());
        ASSERT_TRUE(form->WebBrowser1->toPlainText().contains(QLatin1String("Puzzle directory")));
    }
    /** Follows a link of the page as a click does. */
    void follow(const QString &href) { form->WebBrowser1->setSource(QUrl(href)); }
    QString shown() const { return form->WebBrowser1->toPlainText(); }
    QString source() const { return form->WebBrowser1->source().toString(); }

    TFakeHostingServer server;
    TPlainWordList words;
    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<TWebBrowserFm> form;
    QStringList opened;
    int saveQuestions = 0;
    bool allowReplace = true;
};

// ---- Links --------------------------------------------------------------------------------

TEST_F(WebBrowserTest, PuzzleLinkOpensThePuzzleInsteadOfThePage)
{
    openIndex();
    const QString indexSource = source();
    const QString indexCaption = form->windowTitle();
    EXPECT_EQ(indexCaption, indexUrl() + QStringLiteral(" - Tarvel"));
    PuzzleModified = true;

    follow(QStringLiteral("puzzles/Caf%E9%20Day.trv"));

    EXPECT_EQ(saveQuestions, 1);
    ASSERT_EQ(opened, QStringList{server.url(QStringLiteral("/puzzles/Caf\u00e9 Day.trv"))});
    EXPECT_EQ(Columns, 2);
    EXPECT_EQ(Rows, 2);
    EXPECT_EQ(GetCellLetter(2, 1).toUpper(), QLatin1Char('B'));
    EXPECT_EQ(DocControls.PuzzleTitle, QStringLiteral("Caf\u00e9 Day")) << "read as Windows-1252";
    EXPECT_FALSE(PuzzleModified);
    EXPECT_TRUE(GridUpdating) << "the main window finishes the opening";
    EXPECT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
    // The navigation was cancelled: the index page stays, with its caption.
    EXPECT_EQ(source(), indexSource);
    EXPECT_EQ(form->windowTitle(), indexCaption);
    EXPECT_TRUE(shown().contains(QLatin1String("Puzzle directory")));
    // Fetched once, the link as it stands.
    EXPECT_EQ(server.requestsFor(QStringLiteral("/puzzles/Caf\u00e9 Day.trv")).size(), 1);
}

TEST_F(WebBrowserTest, DeclinedSaveQuestionFetchesNothingAndStays)
{
    openIndex();
    const QString indexSource = source();
    allowReplace = false;
    follow(QStringLiteral("puzzles/Caf%E9%20Day.trv"));
    EXPECT_EQ(saveQuestions, 1);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(server.requestsFor(QStringLiteral("/puzzles/Caf\u00e9 Day.trv")).isEmpty());
    EXPECT_EQ(source(), indexSource);
}

TEST_F(WebBrowserTest, OtherLinksAreFollowedAsPages)
{
    struct Case {
        const char *href;
        const char *path;  // requested on the server
        const char *text;  // shown in the view
        int saveQuestions; // asked only for links that name a puzzle file
    };
    const Case cases[] = {
        {"x.trvideo.html", "/x.trvideo.html", "Video page", 0},
        {"page.html?next=a.trv", "/page.html", "Next page", 0},
        {"notes.trv", "/notes.trv", "Notes on puzzles", 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.href);
        openIndex();
        server.clearRequests();
        saveQuestions = 0;
        follow(QString::fromLatin1(c.href));
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_EQ(saveQuestions, c.saveQuestions);
        EXPECT_EQ(source(), server.url(QString::fromLatin1(c.href).prepend(QLatin1Char('/'))));
        EXPECT_TRUE(shown().contains(QLatin1String(c.text))) << shown().toStdString();
        EXPECT_EQ(form->windowTitle(), server.url(QLatin1String(c.path)) + QStringLiteral(" - Tarvel"));
        EXPECT_EQ(server.requestsFor(QLatin1String(c.path)).size(), 1) << "fetched once";
        EXPECT_TRUE(prompter->boxes.isEmpty()) << prompter->lastText().toStdString();
    }
}

TEST_F(WebBrowserTest, BrokenPuzzleFilesGiveAtMostOneMessage)
{
    QByteArray huge = "TRVFileFormat=2.0\r\nGRID:\r\n";
    huge += QByteArray(TWebBrowserFm::MaxPuzzleBytes, '\t');
    server.addFile(QStringLiteral("/huge.trv"), huge, "text/plain");
    server.addFile(QStringLiteral("/short.trv"), "TRVFileFormat=2.0\r\nColumns=3\r\nRo", "text/plain");
    server.addFile(QStringLiteral("/cut.trv"), puzzleBytes(), "text/plain");
    server.setBehaviour(QStringLiteral("/cut.trv"), TFakeReply::CutShort);

    struct Case {
        const char *href;
        bool opened;
        const char *message; // part of the one message
    };
    const Case cases[] = {
        {"huge.trv", false, "larger than 4 MiB"},
        {"cut.trv", false, "The following error occurred while trying to fetch a puzzle from the Web:"},
        {"short.trv", false, "no GRID section"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.href);
        openIndex();
        const QString indexSource = source();
        prompter->boxes.clear();
        opened.clear();
        follow(QString::fromLatin1(c.href));
        ASSERT_EQ(prompter->boxes.size(), 1);
        EXPECT_TRUE(prompter->lastText().contains(QLatin1String(c.message)))
            << prompter->lastText().toStdString();
        EXPECT_EQ(opened.size(), c.opened ? 1 : 0);
        EXPECT_EQ(source(), indexSource) << "the file is never shown as a page";
    }
}

TEST_F(WebBrowserTest, RefusedAddressesAreSaidAndNotFollowed)
{
    const struct {
        const char *href;
        const char *message;
    } cases[] = {
        {"javascript:alert(1)", "Tarvel does not open this kind of address:"},
        {"file:///etc/passwd", "A page from the Web may not open a file of this computer:"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.href);
        openIndex();
        const QString indexSource = source();
        prompter->boxes.clear();
        server.clearRequests();
        follow(QString::fromLatin1(c.href));
        ASSERT_EQ(prompter->boxes.size(), 1);
        EXPECT_TRUE(prompter->lastText().startsWith(QLatin1String(c.message)))
            << prompter->lastText().toStdString();
        EXPECT_EQ(source(), indexSource);
        EXPECT_FALSE(shown().contains(QLatin1String("root:")));
    }
}

// ---- Pages --------------------------------------------------------------------------------

TEST_F(WebBrowserTest, FailedPageShowsTheFailureInTheView)
{
    server.setBehaviour(QStringLiteral("/broken.html"), TFakeReply::Status, 500);
    openIndex();
    follow(QStringLiteral("broken.html"));
    EXPECT_TRUE(shown().contains(QLatin1String("500"))) << shown().toStdString();
    EXPECT_TRUE(shown().contains(MainHttpClient().failureText()));
    EXPECT_TRUE(shown().contains(ConnectionHelpText));

    server.closePort();
    follow(QStringLiteral("index.htm"));
    EXPECT_FALSE(shown().contains(QLatin1String("Puzzle directory")));
    EXPECT_TRUE(shown().contains(MainHttpClient().failureText())) << shown().toStdString();
    EXPECT_TRUE(shown().contains(ConnectionHelpText));
    EXPECT_TRUE(prompter->boxes.isEmpty()) << "shown in the view, not in a box";
}

TEST_F(WebBrowserTest, StopEndsAPageThatNeverComes)
{
    server.setBehaviour(QStringLiteral("/slow.html"), TFakeReply::NoReplyUntilCancelled);
    server.setRequestHook([this](const TFakeRequest &request) {
        if (request.path == QLatin1String("/slow.html"))
            QTimer::singleShot(0, form->StopBtn, &QPushButton::click);
    });
    openIndex();
    follow(QStringLiteral("slow.html"));
    EXPECT_FALSE(MainHttpClient().busy());
    EXPECT_TRUE(shown().contains(QLatin1String("Canceled by User"))) << shown().toStdString();
    EXPECT_TRUE(prompter->boxes.isEmpty());
}

TEST_F(WebBrowserTest, BackAndForwardFollowTheHistory)
{
    openIndex();
    const QString indexSource = source();
    server.clearRequests();
    EXPECT_FALSE(form->BackBtn->isEnabled());
    form->BackBtnClick();
    EXPECT_EQ(source(), indexSource) << "nothing to go back to";
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_TRUE(prompter->boxes.isEmpty());

    follow(QStringLiteral("page.html"));
    EXPECT_TRUE(form->BackBtn->isEnabled());
    form->BackBtnClick();
    EXPECT_EQ(source(), indexSource);
    EXPECT_TRUE(shown().contains(QLatin1String("Puzzle directory")));
    EXPECT_TRUE(form->ForwardBtn->isEnabled());
    form->ForwardBtnClick();
    EXPECT_TRUE(shown().contains(QLatin1String("Next page")));
}

TEST_F(WebBrowserTest, HomeOpensTheDirectoryIndexWithTheSiteQuery)
{
    QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    settings.setValue(QStringLiteral("Network/DirectoryBaseUrl"), server.baseUrl() + QLatin1Char('/'));
    form->HomeBtnClick();
    settings.remove(QStringLiteral("Network/DirectoryBaseUrl"));

    EXPECT_TRUE(shown().contains(QLatin1String("Puzzle directory")));
    EXPECT_EQ(form->windowTitle(), indexUrl() + QStringLiteral(" - Tarvel"));
    const QList<TFakeRequest> requests = server.requestsFor(QStringLiteral("/index.htm"));
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].query.keys(), (QList<QString>{"Account", "Updated", "Version"}));
    EXPECT_EQ(requests[0].query.value(QStringLiteral("Account")),
              GetWindowsUserName().trimmed().replace(QLatin1Char(' '), QLatin1Char('_')));
}

TEST_F(WebBrowserTest, LocalPlayWindowShowsFilesWithoutNavigation)
{
    TWebBrowserFm local(false);
    EXPECT_TRUE(local.NavigationPnl->isHidden());
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("InteractivePuzzleTemporaryFile.html"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body>Play here</body></html>");
    file.close();

    local.WebBrowser1->setSource(QUrl::fromLocalFile(name));
    EXPECT_TRUE(local.WebBrowser1->toPlainText().contains(QLatin1String("Play here")));
    EXPECT_EQ(local.windowTitle(), QStringLiteral("Tarvel Live"));

    // Other schemes are not followed.
    local.WebBrowser1->setSource(QUrl(QStringLiteral("ftp://example.invalid/a.html")));
    EXPECT_EQ(local.WebBrowser1->source(), QUrl::fromLocalFile(name));
}

// ---- Helpers ------------------------------------------------------------------------------

TEST(WebBrowserHelpers, PercentDecodeDecodesOnce)
{
    const QPair<const char *, QString> cases[] = {
        {"%2541", QStringLiteral("%41")}, {"a%41%62", QStringLiteral("aAb")},
        {"%%41", QStringLiteral("%A")},   {"%E9t%E9", QStringLiteral("\u00e9t\u00e9")},
        {"%4", QStringLiteral("%4")},     {"x%4", QStringLiteral("x%4")},
        {"%zz%", QStringLiteral("%zz%")}, {"", QString()},
    };
    for (const auto &[text, decoded] : cases)
        EXPECT_EQ(TWebBrowserFm::PercentDecode(QLatin1String(text)), decoded) << text;
}

TEST(WebBrowserHelpers, FitToScreenLimitsEachSide)
{
    const QPair<QSize, QSize> cases[] = {
        {QSize(1024, 768), QSize(800, 691)},
        {QSize(640, 400), QSize(600, 400)},
        {QSize(2560, 1440), QSize(800, 800)},
        {QSize(700, 500), QSize(630, 450)},
    };
    for (const auto &[screen, window] : cases)
        EXPECT_EQ(TWebBrowserFm::FitToScreen(screen), window) << screen.width() << "x" << screen.height();
}

TEST(WebBrowserHelpers, BuildSiteQueryJoinsOnceAndEncodesOnce)
{
    const QString account =
        UrlEncode(QString(GetWindowsUserName()).replace(QLatin1Char(' '), QLatin1Char('_')));
    const QPair<const char *, const char *> cases[] = {
        {"http://h.example/index.htm", "http://h.example/index.htm?Version="},
        {"http://h.example/list.cgi?cat=new words", "http://h.example/list.cgi?cat=new%20words&Version="},
        {"http://h.example/list.cgi?", "http://h.example/list.cgi?Version="},
    };
    for (const auto &[address, start] : cases) {
        const QString url = TWebBrowserFm::BuildSiteQuery(QLatin1String(address));
        EXPECT_TRUE(url.startsWith(QLatin1String(start))) << url.toStdString();
        EXPECT_EQ(url.count(QLatin1Char('?')), 1) << url.toStdString();
        EXPECT_TRUE(url.contains(QLatin1String("&Updated="))) << url.toStdString();
        EXPECT_TRUE(url.endsWith(QStringLiteral("&Account=") + account)) << url.toStdString();
        EXPECT_FALSE(url.contains(QLatin1String("%25"))) << "encoded twice: " << url.toStdString();
        EXPECT_FALSE(url.contains(QLatin1Char(' ')));
    }
}

} // namespace
