// The in-program web browser: a window around a text browser that fetches pages through the
// program's HTTP client. It shows the puzzle directory site, where a link to a puzzle file opens
// the puzzle in the program instead of being followed; a second instance without the navigation
// panel plays an interactive puzzle from a local file.
#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class TWebBrowserFm;
}
class QPushButton;

/** The browser control: runs no scripts and loads every resource through LoadResource. Every
 *  navigation passes BeforeNavigate first, which may cancel it by answering false. */
class TWebBrowserView : public QTextBrowser
{
    Q_OBJECT
public:
    explicit TWebBrowserView(QWidget *parent = nullptr);

    std::function<bool(const QUrl &url)> BeforeNavigate;
    std::function<QVariant(int type, const QUrl &url)> LoadResource;

    QVariant loadResource(int type, const QUrl &name) override;

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;

private:
    QUrl m_base; // the address relative resource names resolve against
};

class TWebBrowserFm : public QWidget
{
    Q_OBJECT
public:
    /** A top-level window; without the navigation panel when navigation is false. */
    explicit TWebBrowserFm(bool navigation = true, QWidget *parent = nullptr);
    ~TWebBrowserFm() override;

    /** The largest puzzle text taken from the web. */
    static constexpr qsizetype MaxPuzzleBytes = 4 * 1024 * 1024;

    // Filled in by the main window.
    /** The save-changes question; true when the current puzzle may be replaced. */
    std::function<bool()> QuerySaveChanges;
    /** Finishes the opening of a puzzle that a link loaded (url: the decoded address). */
    std::function<void(const QString &url)> AfterPuzzleOpened;

    /** Shows or hides the navigation panel. */
    void SetNavigationVisible(bool visible);

    /** Opens an address (not yet encoded), with the program's site query appended. */
    void Navigate(const QString &url);
    /** The address (not yet encoded) encoded, with the query "Version=...&Updated=...&Account=..."
     *  appended after "?", or after "&" when the address has a query already. */
    static QString BuildSiteQuery(const QString &address);
    /** GET of the link as it stands, with the hourglass; on failure an information box and
     *  false. */
    bool FetchUrl(const QString &url, QByteArray *text);
    /** Asks the save-changes question, fetches the address and reads it as the puzzle when it
     *  is one. True when a puzzle was read (left unmodified). */
    bool OpenPuzzleFromWeb(const QString &url);

    /** Replaces every "%" followed by two hexadecimal digits by the Windows-1252 character of
     *  that byte, in one pass (a decoded "%" starts no second escape). */
    static QString PercentDecode(const QString &text);
    /** The window size for a screen: 9/10 of each side, width limited to 600..800 and height to
     *  400..800. */
    static QSize FitToScreen(const QSize &screen);
    /** Sizes the window for its screen. */
    void FitToScreen();

    /** The puzzle directory site's index page. */
    static QString HomeUrl();

    TWebBrowserView *WebBrowser1 = nullptr;
    QWidget *NavigationPnl = nullptr;
    QPushButton *BackBtn = nullptr;
    QPushButton *ForwardBtn = nullptr;
    QPushButton *RefreshBtn = nullptr;
    QPushButton *StopBtn = nullptr;
    QPushButton *HomeBtn = nullptr;

public slots:
    void BackBtnClick();
    void ForwardBtnClick();
    void RefreshBtnClick();
    void HomeBtnClick();
    /** Ends the running request (also Esc). */
    void StopBtnClick();

private:
    enum class WebOpen {
        Opened,    // a puzzle was read
        NotPuzzle, // the text is no puzzle: the link may be shown as a page
        Refused,   // the user declined, the fetch failed or was too large, or the puzzle could
                   // not be read (already told)
    };

    WebOpen openFromWeb(const QString &link);
    bool beforeNavigate(const QUrl &url);
    QVariant loadWebResource(int type, const QUrl &url);
    static QString failurePage(const QString &failure, bool network);
    static QString pageText(const QByteArray &bytes);

    std::unique_ptr<Ui::TWebBrowserFm> m_ui;
    // A link whose text was fetched for the puzzle check but turned out to be a page: the view
    // takes it from here instead of fetching it again.
    QString m_prefetchedLink;
    QByteArray m_prefetched;
};
