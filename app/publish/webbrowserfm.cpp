#include "webbrowserfm.h"
#include "puzzlefiles.h"
#include "ui_webbrowserfm.h"

#include "cp1252.h"
#include "fileio.h"
#include "globals.h"
#include "hourglass.h"
#include "httpclient.h"
#include "prompter.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeySequence>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStringDecoder>

#include <algorithm>

namespace {

const QString kCaptionSuffix = QStringLiteral(" - Tarvel");

bool isWebScheme(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// A link names a puzzle file when its decoded path ends in ".trv"; a query or a longer
// extension ("x.trvideo.html", "page?next=a.trv") does not count.
bool isPuzzleLink(const QUrl &url)
{
    return isWebScheme(url) && TWebBrowserFm::PercentDecode(url.path(QUrl::FullyEncoded))
                                   .endsWith(QLatin1String(".trv"), Qt::CaseInsensitive);
}

// The first lines the file opener reads as the puzzle text format.
bool isPuzzleHeader(const QString &line)
{
    return line == QLatin1String("OWTFileFormat=2.0") || line.startsWith(QLatin1String("TRVFileFormat="));
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

// ---- The browser control ----------------------------------------------------------------------

TWebBrowserView::TWebBrowserView(QWidget *parent) : QTextBrowser(parent)
{
    // Links are followed here, never handed to the desktop's browser.
    setOpenExternalLinks(false);
    setOpenLinks(true);
}

QVariant TWebBrowserView::loadResource(int type, const QUrl &name)
{
    const QUrl url = name.isRelative() && m_base.isValid() ? m_base.resolved(name) : name;
    // The page itself is always loaded before its pictures and style sheets, also when the
    // history brings it back without a navigation.
    if (type == QTextDocument::HtmlResource)
        m_base = url;
    return LoadResource ? LoadResource(type, url) : QVariant();
}

void TWebBrowserView::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    const QUrl url = name.isRelative() && source().isValid() ? source().resolved(name) : name;
    if (BeforeNavigate && !BeforeNavigate(url))
        return;
    QTextBrowser::doSetSource(url, type);
}

// ---- The window -------------------------------------------------------------------------------

TWebBrowserFm::TWebBrowserFm(bool navigation, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::TWebBrowserFm>())
{
    m_ui->setupUi(this);
    WebBrowser1 = m_ui->WebBrowser1;
    NavigationPnl = m_ui->NavigationPnl;
    BackBtn = m_ui->BackBtn;
    ForwardBtn = m_ui->ForwardBtn;
    RefreshBtn = m_ui->RefreshBtn;
    StopBtn = m_ui->StopBtn;
    HomeBtn = m_ui->HomeBtn;

    WebBrowser1->BeforeNavigate = [this](const QUrl &url) { return beforeNavigate(url); };
    WebBrowser1->LoadResource = [this](int type, const QUrl &url) { return loadWebResource(type, url); };

    connect(BackBtn, &QPushButton::clicked, this, &TWebBrowserFm::BackBtnClick);
    connect(ForwardBtn, &QPushButton::clicked, this, &TWebBrowserFm::ForwardBtnClick);
    connect(RefreshBtn, &QPushButton::clicked, this, &TWebBrowserFm::RefreshBtnClick);
    connect(HomeBtn, &QPushButton::clicked, this, &TWebBrowserFm::HomeBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TWebBrowserFm::StopBtnClick);
    connect(WebBrowser1, &QTextBrowser::backwardAvailable, BackBtn, &QPushButton::setEnabled);
    connect(WebBrowser1, &QTextBrowser::forwardAvailable, ForwardBtn, &QPushButton::setEnabled);
    // Esc stops a page that takes too long; the HTTP client lets keys reach this window while
    // it waits.
    auto *stop = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    stop->setContext(Qt::WindowShortcut);
    connect(stop, &QShortcut::activated, this, &TWebBrowserFm::StopBtnClick);

    SetNavigationVisible(navigation);
}

TWebBrowserFm::~TWebBrowserFm() = default;

void TWebBrowserFm::SetNavigationVisible(bool visible) { NavigationPnl->setVisible(visible); }

QString TWebBrowserFm::HomeUrl() { return DirectoryBaseUrl() + QStringLiteral("/index.htm"); }

// ---- Addresses --------------------------------------------------------------------------------

void TWebBrowserFm::Navigate(const QString &url)
{
    setWindowTitle(StripQuery(url) + kCaptionSuffix);
    WebBrowser1->setSource(QUrl(BuildSiteQuery(url), QUrl::TolerantMode));
}

QString TWebBrowserFm::BuildSiteQuery(const QString &address)
{
    // Each value is made blank-free first, then encoded once; the separators stay as they are.
    auto value = [](QString text) { return UrlEncode(text.replace(QLatin1Char(' '), QLatin1Char('_'))); };
    const QString query =
        QStringLiteral("Version=") + value(FileAgeStamp(QCoreApplication::applicationFilePath())) +
        QStringLiteral("&Updated=") + value(FileAgeStamp(GetProgramFolder() + "Uninstall.dat")) +
        QStringLiteral("&Account=") + value(GetWindowsUserName());
    const QString base = UrlEncodeAddress(address);
    if (!base.contains(QLatin1Char('?')))
        return base + QLatin1Char('?') + query;
    if (base.endsWith(QLatin1Char('?')) || base.endsWith(QLatin1Char('&')))
        return base + query;
    return base + QLatin1Char('&') + query;
}

QString TWebBrowserFm::PercentDecode(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('%') && i + 2 < text.size()) {
            const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += Cp1252::toChar(static_cast<unsigned char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// ---- Window size ------------------------------------------------------------------------------

QSize TWebBrowserFm::FitToScreen(const QSize &screen)
{
    return QSize(std::clamp(screen.width() * 9 / 10, 600, 800),
                 std::clamp(screen.height() * 9 / 10, 400, 800));
}

void TWebBrowserFm::FitToScreen()
{
    if (const QScreen *s = screen())
        resize(FitToScreen(s->size()));
}

// ---- Puzzles from the web ---------------------------------------------------------------------

bool TWebBrowserFm::FetchUrl(const QString &url, QByteArray *text)
{
    THourglass wait;
    HttpClient &client = MainHttpClient();
    if (client.get(url, text, this, MaxPuzzleBytes))
        return true;
    showInformation(
        QStringLiteral("The following error occurred while trying to fetch a puzzle from the Web:") +
        ParagraphBreak + QLatin1Char('"') + client.failureText() + QLatin1Char('"') + ParagraphBreak +
        ConnectionHelpText);
    return false;
}

bool TWebBrowserFm::OpenPuzzleFromWeb(const QString &url) { return openFromWeb(url) == WebOpen::Opened; }

TWebBrowserFm::WebOpen TWebBrowserFm::openFromWeb(const QString &link)
{
    if (QuerySaveChanges && !QuerySaveChanges())
        return WebOpen::Refused;
    QByteArray bytes;
    if (!FetchUrl(link, &bytes)) // capped at MaxPuzzleBytes while it is read
        return WebOpen::Refused;
    // Read as a puzzle file is: Windows-1252, LF or CR LF, empty lines kept.
    const QList<QByteArray> raw = Cp1252::splitLines(bytes);
    if (raw.isEmpty() || !isPuzzleHeader(Cp1252::toUnicode(raw.first()))) {
        m_prefetchedLink = link;
        m_prefetched = bytes;
        return WebOpen::NotPuzzle;
    }
    THourglass wait;
    // The messages name the puzzle by its address; a text that cannot be read leaves the open
    // puzzle as it was (the reader has told why).
    const bool updating = GridUpdating;
    GridUpdating = true;
    if (!ReadPuzzleFromBytes(bytes, PercentDecode(link))) {
        GridUpdating = updating;
        return WebOpen::Refused;
    }
    return WebOpen::Opened;
}

// ---- Navigation -------------------------------------------------------------------------------

bool TWebBrowserFm::beforeNavigate(const QUrl &url)
{
    // One request at a time: a link clicked while a page loads is ignored.
    if (MainHttpClient().busy())
        return false;
    const QString scheme = url.scheme().toLower();
    if (!isWebScheme(url) && scheme != QLatin1String("file")) {
        showInformation(QStringLiteral("Tarvel does not open this kind of address:\n\n") +
                        ShortenServerText(url.toString(), 200));
        return false;
    }
    // A page from the Web may not reach into the files of this computer.
    if (scheme == QLatin1String("file") && isWebScheme(WebBrowser1->source())) {
        showInformation(QStringLiteral("A page from the Web may not open a file of this computer:\n\n") +
                        ShortenServerText(url.toString(), 200));
        return false;
    }
    // The link is fetched as it stands (it is encoded already); the decoded form only names it.
    const QString link = url.adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded);
    const QString decoded = PercentDecode(url.toString(QUrl::FullyEncoded));
    m_prefetchedLink.clear();
    m_prefetched.clear();
    if (isPuzzleLink(url)) {
        switch (openFromWeb(link)) {
        case WebOpen::Opened:
            if (AfterPuzzleOpened)
                AfterPuzzleOpened(decoded);
            return false;
        case WebOpen::Refused: return false;
        case WebOpen::NotPuzzle: break;
        }
    }
    if (link.contains(QLatin1String("InteractivePuzzleTemporaryFile")))
        setWindowTitle(QStringLiteral("Tarvel Live"));
    else
        setWindowTitle(StripQuery(decoded) + kCaptionSuffix);
    return true;
}

QVariant TWebBrowserFm::loadWebResource(int type, const QUrl &url)
{
    const bool page = type == QTextDocument::HtmlResource;
    QByteArray bytes;
    if (isWebScheme(url)) {
        const QString link = url.adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded);
        if (!m_prefetchedLink.isEmpty() && link == m_prefetchedLink) {
            bytes = m_prefetched;
            m_prefetchedLink.clear();
            m_prefetched.clear();
        } else {
            HttpClient &client = MainHttpClient();
            if (!client.get(link, &bytes, this, HttpClient::PageLimit))
                return page ? QVariant(failurePage(client.failureText(), true)) : QVariant();
        }
    } else if (url.isLocalFile()) {
        QFile file(url.toLocalFile());
        if (!file.open(QIODevice::ReadOnly))
            return page ? QVariant(failurePage(file.errorString(), false)) : QVariant();
        bytes = file.readAll();
    } else {
        return QVariant();
    }
    return page ? QVariant(pageText(bytes)) : QVariant(bytes);
}

QString TWebBrowserFm::pageText(const QByteArray &bytes)
{
    // The page's own character set when it names one, else UTF-8; text that is no markup is
    // shown as it stands.
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    const QString text = decoder.isValid() ? QString(decoder(bytes)) : QString::fromUtf8(bytes);
    if (text.isEmpty())
        return QStringLiteral("<html><body></body></html>");
    if (Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<html><body><pre>") + text.toHtmlEscaped() +
           QStringLiteral("</pre></body></html>");
}

QString TWebBrowserFm::failurePage(const QString &failure, bool network)
{
    QString html = QStringLiteral("<html><body><p>The page could not be loaded:</p><p><b>") +
                   failure.toHtmlEscaped() + QStringLiteral("</b></p>");
    if (network)
        html += QStringLiteral("<p>") + ConnectionHelpText.toHtmlEscaped() + QStringLiteral("</p>");
    return html + QStringLiteral("</body></html>");
}

// ---- Buttons ----------------------------------------------------------------------------------

void TWebBrowserFm::BackBtnClick()
{
    // The control does nothing when there is no page to go back to.
    WebBrowser1->backward();
}

void TWebBrowserFm::ForwardBtnClick() { WebBrowser1->forward(); }

void TWebBrowserFm::RefreshBtnClick() { WebBrowser1->reload(); }

void TWebBrowserFm::HomeBtnClick() { Navigate(HomeUrl()); }

void TWebBrowserFm::StopBtnClick() { MainHttpClient().abort(); }
