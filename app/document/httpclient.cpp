// Blocking HTTP requests over QNetworkAccessManager driven by a local event loop.
#include "httpclient.h"

#include "cp1252.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSettings>
#include <QUrl>

const char *const HttpClient::UserAgent = "Mozilla/3.0 (compatible; Indy Library)";

HttpClient::HttpClient() : m_manager(new QNetworkAccessManager)
{
    m_manager->setCookieJar(new QNetworkCookieJar(m_manager));
}

HttpClient::~HttpClient() { delete m_manager; }

QByteArray HttpClient::formBody(const QStringList &fields)
{
    QByteArray body;
    for (const QString &field : fields) {
        const qsizetype eq = field.indexOf('=');
        const QString name = eq < 0 ? field : field.left(eq);
        const QString value = eq < 0 ? QString() : field.mid(eq + 1);
        if (!body.isEmpty())
            body.append('&');
        body.append(Cp1252::fromUnicode(name).toPercentEncoding());
        body.append('=');
        body.append(Cp1252::fromUnicode(value).toPercentEncoding());
    }
    return body;
}

bool HttpClient::get(const QString &url, QByteArray *body)
{
    QNetworkRequest request{QUrl(url)};
    return run(request, nullptr, body);
}

bool HttpClient::post(const QString &url, const QStringList &fields, QByteArray *body)
{
    QNetworkRequest request{QUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    const QByteArray form = formBody(fields);
    return run(request, &form, body);
}

bool HttpClient::run(QNetworkRequest &request, const QByteArray *postBody, QByteArray *body)
{
    m_status = 0;
    m_responseText.clear();
    m_error.clear();
    if (body)
        body->clear();
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(UserAgent));
    request.setRawHeader("Accept", "text/html, */*");
    request.setTransferTimeout(0); // no read time-out

    QNetworkReply *reply = postBody ? m_manager->post(request, *postBody) : m_manager->get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        m_status = status.toInt();
        const QString reason =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        m_responseText = QStringLiteral("HTTP/1.1 %1 %2").arg(m_status).arg(reason).trimmed();
    }
    const QByteArray data = reply->readAll();
    if (body)
        *body = data;
    if (reply->error() != QNetworkReply::NoError && m_status == 0)
        m_error = reply->errorString();
    reply->deleteLater();
    // Only a 2xx status is a success; an error page with another status is a failure.
    return m_status >= 200 && m_status < 300;
}

HttpClient &MainHttpClient()
{
    // Never destroyed: the network manager must not outlive the application object at exit.
    static HttpClient *const client = new HttpClient;
    return *client;
}

namespace {
QString baseUrl(const char *key, const char *fallback)
{
    QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    QString url = settings.value(QLatin1String(key), QLatin1String(fallback)).toString();
    while (url.endsWith('/'))
        url.chop(1);
    return url;
}
} // namespace

QString MakerBaseUrl() { return baseUrl("Network/MakerBaseUrl", "http://www.halvard-tarvel.example"); }
QString HostingBaseUrl() { return baseUrl("Network/HostingBaseUrl", "http://www.sandeck.example"); }
