// The program's one HTTP client: blocking GET and form POST over QNetworkAccessManager, with a
// local event loop that keeps the windows painting meanwhile, and a cookie jar kept between
// requests. One request runs at a time; while it runs, user input reaches only the window that
// started it, and no window closes. Every request can be cancelled, ends after a time without
// data ("Network/TimeoutSeconds"), and stops reading at a size cap. A POST is never sent twice:
// Qt's resending after a dropped connection is off and redirects of a POST are reported, not
// followed; a GET follows redirects only on its own host, over http or https.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
class QWidget;

class HttpClient
{
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    /** The size caps of a reply: pages and puzzle files, and the replies of the scripts. */
    static constexpr qint64 PageLimit = 4 * 1024 * 1024;
    static constexpr qint64 ScriptLimit = 1024 * 1024;

    /** Called while a request runs with the bytes sent and received so far. */
    using Progress = std::function<void(qint64 sent, qint64 received)>;

    /** GET of the URL. True only on a 2xx status with the whole reply read; the body is the
     *  reply text either way (empty after a cap). While it runs, only modalTo's window takes
     *  user input (none when modalTo is null). Characters above 127 in the URL are sent as
     *  Windows-1252 escapes. A reply longer than maxBytes is aborted at the cap. */
    bool get(const QString &url, QByteArray *body = nullptr, QWidget *modalTo = nullptr,
             qint64 maxBytes = ScriptLimit, const Progress &progress = {});
    /** POST of name=value fields as "application/x-www-form-urlencoded". */
    bool post(const QString &url, const QStringList &fields, QByteArray *body = nullptr,
              QWidget *modalTo = nullptr, qint64 maxBytes = ScriptLimit, const Progress &progress = {});

    /** Ends the running request, which then returns false with "Canceled by User" as its
     *  response text and error. Does nothing when no request runs. */
    void abort();
    /** True while a request runs; a get or post called meanwhile fails at once. */
    bool busy() const { return m_reply != nullptr; }
    /** The last request was ended by abort(). */
    bool canceled() const { return m_canceled; }
    /** The last request ended after the time-out without data. */
    bool timedOut() const { return m_timedOut; }

    /** The time without data after which a request ends: "Network/TimeoutSeconds" (60 when
     *  missing or not above 0). */
    static double TimeoutSeconds();

    /** HTTP status of the last request, 0 when no reply came. */
    int statusCode() const { return m_status; }
    /** Status line of the last reply ("HTTP/1.1 500 Internal Server Error"), or the reason a
     *  request was ended before a reply ("Canceled by User"); empty otherwise. */
    QString responseText() const { return m_responseText; }
    /** The network error of the last request, empty when the request got through. */
    QString errorString() const { return m_error; }
    /** The text to show for a failed request: the response text, or for a 2xx reply that was
     *  cut short the network error; "Unknown error or not connected to the Internet" when
     *  there is neither. */
    QString failureText() const;
    /** The failure text when nothing better is known. */
    static QString unknownErrorText();

    /** The form body of name=value fields, each part percent-encoded from Windows-1252. */
    static QByteArray formBody(const QStringList &fields);

    static const char *const UserAgent;

private:
    class InputBlocker;

    bool run(QNetworkRequest &request, const QByteArray *postBody, QByteArray *body, QWidget *modalTo,
             qint64 maxBytes, const Progress &progress);
    bool refuseWhileBusy(QByteArray *body);
    void fail(const QString &text);

    QNetworkAccessManager *m_manager;
    QNetworkReply *m_reply = nullptr;
    QByteArray *m_runningBody = nullptr;
    bool m_aborted = false;
    bool m_canceled = false;
    bool m_timedOut = false;
    int m_status = 0;
    QString m_responseText;
    QString m_error;
};

/** The client of the main window (made on first use). */
HttpClient &MainHttpClient();

/** Addresses and values of the services, from the settings: "Network/MakerBaseUrl",
 *  "Network/HostingBaseUrl" and "Network/DirectoryBaseUrl" (each without a trailing "/"). */
QString MakerBaseUrl();
QString HostingBaseUrl();
QString DirectoryBaseUrl();
/** The host name of DirectoryBaseUrl() (the whole address when it has none). */
QString DirectoryHostName();
/** The account group number on the hosting service ("Network/HostingGroup", decimal text);
 *  "0" when missing or empty. */
QString HostingGroup();
/** The hosting service's posting address sent with a publish ("Network/HostingPostingEmail"). */
QString HostingPostingEmail();
