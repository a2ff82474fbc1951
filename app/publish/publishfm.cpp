// The publishing form.
#include "publishfm.h"
#include "ui_publishfm.h"

#include "cp1252.h"
#include "filefolders.h"
#include "globals.h"
#include "hostingstate.h"
#include "httpclient.h"
#include "linklabel.h"
#include "postingpuzzlefm.h"
#include "prompter.h"
#include "uidialogs.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

const QString TPublishFm::ExportFilter =
    QStringLiteral("Possible Puzzle Files (*.htm *.html *.txt);;All files (*)");
const QStringList TPublishFm::AppletArchives = {QStringLiteral("TarvelLive.zip"),
                                                QStringLiteral("TarvelLive.jar")};

namespace {

// Local tests use three pairs of files in turn, for the whole program run: a browser still
// showing one test does not lose its page to the next.
int g_localTestCounter = 0;

QString fileUrl(const QString &path) { return QUrl::fromLocalFile(path).toString(); }

// The same name with another extension: "a/b.html" -> "a/b.txt".
QString withExtension(const QString &path, const QString &extension)
{
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + extension);
}

// Copies a file over an older copy; the older copy stays when the copy fails.
bool replaceCopy(const QString &source, const QString &target)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return true;
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    // QFile::copy can report success for a copy cut short by a full disk: the size must match.
    if (!QFile::copy(source, part) || QFileInfo(part).size() != QFileInfo(source).size()) {
        QFile::remove(part);
        return false;
    }
    if (QFile::exists(target) && !QFile::remove(target)) {
        QFile::remove(part);
        return false;
    }
    return QFile::rename(part, target);
}

void showWriteFailure(const QString &fileName, const QString &error)
{
    showError(QStringLiteral("The file ") + fileName + QStringLiteral(" could not be saved.") +
              (error.isEmpty() ? QString() : QStringLiteral("\n\n") + error));
}

// Saves the list after asking about replacing a file. 1 saved, 0 declined, -1 failed (said).
int saveAsking(const QStringList &lines, const QString &fileName)
{
    QString error;
    if (SaveListConfirmOverwrite(lines, fileName, &error))
        return 1;
    if (error.isEmpty())
        return 0;
    showWriteFailure(fileName, error);
    return -1;
}

} // namespace

TPublishFm::TPublishFm(const TPublishHooks &hooks, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TPublishFm>()), m_hooks(hooks)
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("PublishFm"));
    TitleEd = m_ui->TitleEd;
    AuthorEd = m_ui->AuthorEd;
    DateEd = m_ui->DateEd;
    SaveInteractiveBtn = m_ui->SaveInteractiveBtn;
    TestLocallyBtn = m_ui->TestLocallyBtn;
    PublishToWebsiteBtn = m_ui->PublishToWebsiteBtn;
    AdvancedOptionsBtn = m_ui->AdvancedOptionsBtn;
    Java_QuickPublishBtn = m_ui->Java_QuickPublishBtn;
    HowToPublishLnk = m_ui->HowToPublishLnk;
    MoreLnk = m_ui->MoreLnk;

    connect(SaveInteractiveBtn, &QPushButton::clicked, this, &TPublishFm::SaveInteractiveBtnClick);
    connect(TestLocallyBtn, &QPushButton::clicked, this, [this] { TestLocally(); });
    connect(PublishToWebsiteBtn, &QPushButton::clicked, this, &TPublishFm::PublishToWebsiteBtnClick);
    connect(AdvancedOptionsBtn, &QPushButton::clicked, this, &TPublishFm::AdvancedOptionsBtnClick);
    connect(Java_QuickPublishBtn, &QPushButton::clicked, this, &TPublishFm::Java_QuickPublishBtnClick);
    connect(m_ui->CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    for (QLabel *link : {HowToPublishLnk, MoreLnk}) {
        MakeLinkLabel(link);
        link->installEventFilter(this);
    }
    // Nothing pretends to work: commands whose other end is missing are off.
    Java_QuickPublishBtn->setEnabled(bool(m_hooks.QuickPublish) || HostingConfigured());
    AdvancedOptionsBtn->setEnabled(bool(m_hooks.AdvancedOptions));
    HowToPublishLnk->setVisible(bool(m_hooks.ShowHelpTopic));
    PreloadFields();
}

TPublishFm::~TPublishFm() = default;

bool TPublishFm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == HowToPublishLnk) {
            HowToPublishLnkClick();
            return true;
        }
        if (watched == MoreLnk) {
            MoreLnkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

TPlayerPrefs TPublishFm::prefs() const { return m_hooks.Prefs ? m_hooks.Prefs() : TPlayerPrefs(); }

TPublishInputs TPublishFm::inputs() const
{
    TPublishInputs in;
    in.Title = TitleEd->text();
    in.Author = AuthorEd->text();
    in.Date = DateEd->text();
    in.PlayMode = PlayMode;
    return in;
}

void TPublishFm::PreloadFields()
{
    const TPlayerPrefs p = prefs();
    if (p.PreloadTitle) {
        const QString title = m_hooks.MainTitle ? m_hooks.MainTitle() : QString();
        TitleEd->setText(title.trimmed().isEmpty() ? QStringLiteral("Untitled") : title);
    }
    if (p.PreloadAuthor)
        AuthorEd->setText(p.PreloadAuthorText);
    if (p.PreloadDate)
        DateEd->setText(QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
}

QStringList TPublishFm::BuildPuzzleData() const { return ::BuildPuzzleData(inputs(), prefs()); }

QStringList TPublishFm::BuildAppletPage(const QString &dataFileName, bool ownSite) const
{
    return ::BuildAppletPage(dataFileName, ownSite, inputs(), prefs());
}

QStringList TPublishFm::BuildPageFields(const QString &dataFileName, bool ownSite) const
{
    return ::BuildPageFields(dataFileName, ownSite, inputs(), prefs());
}

bool TPublishFm::CopyAppletFiles(const QString &folder)
{
    const QString programFolder = GetProgramFolder();
    QStringList missing, failed;
    for (const QString &archive : AppletArchives) {
        const QString source = programFolder + archive;
        if (!QFileInfo::exists(source))
            missing << archive;
        else if (!replaceCopy(source, QDir(folder).filePath(archive)))
            failed << archive;
    }
    if (!missing.isEmpty()) {
        // The player is not shipped with every installation: say what to do about it.
        showInformation(QStringLiteral("The interactive puzzle player was not found:\n\n") +
                        missing.join(QLatin1Char('\n')) + QStringLiteral("\n\nin the program folder ") +
                        programFolder + QStringLiteral("\n\nThe puzzle page was saved. Put the player's ") +
                        QStringLiteral("files beside it, in ") + folder +
                        QStringLiteral(", to play the puzzle."));
    }
    if (!failed.isEmpty()) {
        showError(QStringLiteral("Sorry. Your computer would not copy the file(s):\n\n") +
                  failed.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + QStringLiteral("from ") +
                  programFolder + QStringLiteral("\n") + QStringLiteral("to ") + folder);
    }
    return missing.isEmpty() && failed.isEmpty();
}

int TPublishFm::NextLocalTestNumber()
{
    g_localTestCounter = g_localTestCounter % 3 + 1;
    return g_localTestCounter;
}

void TPublishFm::ResetLocalTestCounter() { g_localTestCounter = 0; }

void TPublishFm::SaveInteractiveBtnClick()
{
    const QString puzzle = m_hooks.PuzzleFileName ? m_hooks.PuzzleFileName() : QString();
    const QString proposed =
        ProposedFileName(TFileKind::WebPage, puzzle, QStringLiteral(".txt"), TitleEd->text());
    const QString fileName = uiDialogs().SaveFileName(this, QStringLiteral("Save Interactive Puzzle Files"),
                                                      proposed, ExportFilter);
    if (fileName.isEmpty())
        return;
    RememberFolder(TFileKind::WebPage, fileName);
    // A name chosen as a page ("x.html") gets the page, with the data beside it as "x.txt":
    // the data never goes into a page file.
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) {
        const QString dataFile = withExtension(fileName, QStringLiteral(".txt"));
        if (saveAsking(BuildAppletPage(QFileInfo(dataFile).fileName(), true), fileName) == 1)
            saveAsking(BuildPuzzleData(), dataFile);
        return;
    }
    saveAsking(BuildPuzzleData(), fileName);
}

bool TPublishFm::TestLocally()
{
    const int n = NextLocalTestNumber();
    // The documents folder is made when it is missing; when it cannot be, the files go to the
    // temporary folder.
    QString folder = GetDocumentsFolder();
    if (!QDir().mkpath(folder))
        folder = QDir::tempPath();
    const QString base =
        QDir(folder).filePath(QStringLiteral("InteractivePuzzleTemporaryFile") + QString::number(n));
    const QString dataFile = base + QStringLiteral(".txt");
    const QString pageFile = base + QStringLiteral(".html");
    const QString url = fileUrl(pageFile);

    // Temporary files: replaced without asking.
    QString error;
    if (!Cp1252::writeTextLines(dataFile, BuildPuzzleData(), &error)) {
        showWriteFailure(dataFile, error);
        return false;
    }
    if (!Cp1252::writeTextLines(pageFile, BuildAppletPage(QFileInfo(dataFile).fileName(), true), &error)) {
        showWriteFailure(pageFile, error);
        return false;
    }
    CopyAppletFiles(folder);
    QCoreApplication::processEvents();

    // One browser opens the page: the desktop's, else the program's own window when it has one.
    if (shell().Open(QUrl(url)))
        return true;
    const TPlayerPrefs p = prefs();
    if (m_hooks.ShowInBrowserWindow &&
        m_hooks.ShowInBrowserWindow(url, p.PlayBrowserWidth, p.PlayBrowserHeight))
        return true;
    showInformation(QStringLiteral("Something is preventing Tarvel from opening up a web browser. You "
                                   "can open one up manually and point it to \n\n") +
                    url);
    return false;
}

void TPublishFm::PublishToWebsiteBtnClick()
{
    QString name = SanitizeName(TitleEd->text());
    if (name.isEmpty()) // a title of symbols alone would propose the hidden file ".html"
        name = QStringLiteral("Untitled");
    const QString puzzle = m_hooks.PuzzleFileName ? m_hooks.PuzzleFileName() : QString();
    const QString proposed =
        QDir(StartFolder(TFileKind::WebPage, puzzle)).filePath(name + QStringLiteral(".html"));
    QString pageFile =
        uiDialogs().SaveFileName(this, QStringLiteral("Publish To Your Website"), proposed, ExportFilter);
    if (pageFile.isEmpty())
        return;
    RememberFolder(TFileKind::WebPage, pageFile);
    // The data file is the page's name with ".txt": a page chosen as "x.txt" would be its own
    // data file, so it becomes "x.html".
    if (QFileInfo(pageFile).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        pageFile = withExtension(pageFile, QStringLiteral(".html"));
    const QString dataFile = withExtension(pageFile, QStringLiteral(".txt"));
    const QString folder = QFileInfo(pageFile).absolutePath();

    const int page = saveAsking(BuildAppletPage(QFileInfo(dataFile).fileName(), true), pageFile);
    if (page < 0)
        return;
    if (page == 0) {
        showInformation(QStringLiteral("Operation cancelled."));
        return;
    }
    const int data = saveAsking(BuildPuzzleData(), dataFile);
    if (data < 0)
        return;
    if (data == 0) {
        showInformation(QStringLiteral("Operation cancelled."));
        return;
    }
    CopyAppletFiles(folder);
    showInformation(QStringLiteral("These files should be put on your web server:\n\nSample web page:\t") +
                    QFileInfo(pageFile).fileName() + QStringLiteral("\n") +
                    QStringLiteral("The puzzle itself:") + QStringLiteral("\t") +
                    QFileInfo(dataFile).fileName() + QStringLiteral("\n") +
                    QStringLiteral("Java program (for IE): ") + QStringLiteral("\t") + AppletArchives[0] +
                    QStringLiteral("\n") + QStringLiteral("Java program (others): ") + QStringLiteral("\t") +
                    AppletArchives[1] + QStringLiteral("\n\n") +
                    QStringLiteral("These files have been prepared in the folder: ") + QStringLiteral("\n") +
                    QDir::toNativeSeparators(folder));
    accept();
}

void TPublishFm::AdvancedOptionsBtnClick()
{
    if (m_hooks.AdvancedOptions)
        m_hooks.AdvancedOptions();
}

void TPublishFm::HowToPublishLnkClick()
{
    if (m_hooks.ShowHelpTopic)
        m_hooks.ShowHelpTopic(QStringLiteral("PuzzlesOnYourWebsite.htm"));
}

void TPublishFm::MoreLnkClick()
{
    const QString url = HostingBaseUrl() + QStringLiteral("/index.htm");
    if (!shell().Open(QUrl(url)))
        showInformation(QStringLiteral("Something is preventing Tarvel from opening up a web browser. You "
                                       "can open one up manually and point it to \n\n") +
                        url);
}

QString TPublishFm::GetPuzzleName() const
{
    return PlayMode ? QStringLiteral("Play-Puzzle") : SanitizeName(TitleEd->text());
}

QStringList TPublishFm::QuickPublishForm(const HostingProtocol &protocol) const
{
    TQuickPublishInput in;
    in.PuzzleFileName = m_hooks.PuzzleFileName ? m_hooks.PuzzleFileName() : QString();
    in.Title = TitleEd->text();
    in.DistributedVia = ReadDistributedVia();
    in.ServerTime = ServerTime; // of the previous presence check of this run
    in.PuzzleName = GetPuzzleName();
    const QString dataFile = in.PuzzleName + QStringLiteral(".txt");
    in.PuzzleData = BuildPuzzleData();
    in.HtmlPage = BuildAppletPage(dataFile, false);
    in.PageFields = BuildPageFields(dataFile, false);
    return protocol.QuickPublishForm(in);
}

bool TPublishFm::QuickPublish()
{
    const HostingProtocol protocol(HostingIdentity());
    const QStringList form = QuickPublishForm(protocol);
    return ShowPostingPuzzle(protocol, protocol.PublishUrl(), form, GetPuzzleName(), PlayMode,
                             isVisible() ? this : parentWidget());
}

void TPublishFm::Java_QuickPublishBtnClick()
{
    if (HostingConfigured())
        QuickPublish();
    else if (m_hooks.QuickPublish)
        m_hooks.QuickPublish();
}
