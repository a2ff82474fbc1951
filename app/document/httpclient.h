// The program's one HTTP client: blocking GET and form POST over QNetworkAccessManager, with a
// local event loop that keeps the window alive meanwhile, and a cookie jar kept between requests.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QNetworkAccessManager;
class QNetworkRequest;

class HttpClient
{
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    /** GET of the URL. True only on a 2xx status; the body is the reply text either way. */
    bool get(const QString &url, QByteArray *body = nullptr);
    /** POST of name=value fields as "application/x-www-form-urlencoded". */
    bool post(const QString &url, const QStringList &fields, QByteArray *body = nullptr);

    /** HTTP status of the last request, 0 when no reply came. */
    int statusCode() const { return m_status; }
    /** Status line of the last reply ("HTTP/1.1 500 Internal Server Error"); empty without one. */
    QString responseText() const { return m_responseText; }
    /** The network error of the last request, empty when the request got through. */
    QString errorString() const { return m_error; }

    /** The form body of name=value fields, each part percent-encoded from Windows-1252. */
    static QByteArray formBody(const QStringList &fields);

    static const char *const UserAgent;

private:
    bool run(QNetworkRequest &request, const QByteArray *postBody, QByteArray *body);

    QNetworkAccessManager *m_manager;
    int m_status = 0;
    QString m_responseText;
    QString m_error;
};

/** The client of the main window (made on first use). */
HttpClient &MainHttpClient();

/** Base address of the maker's scripts and of the hosting service, from the settings
 *  ("Network/MakerBaseUrl", "Network/HostingBaseUrl"), without a trailing "/". */
QString MakerBaseUrl();
QString HostingBaseUrl();
