// Blocking HTTP requests over QNetworkAccessManager driven by a local event loop, one at a time.
#include "httpclient.h"

#include "cp1252.h"
#include "globals.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QIODevice>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstring>

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

namespace {

const char *const CanceledText = "Canceled by User";
const char *const BusyText = "Another request is still running.";
constexpr int MaxRedirects = 5;

// Non-ASCII characters of an address become percent escapes of their Windows-1252 byte, as the
// scripts read them; a character that Windows-1252 lacks goes as UTF-8.
QUrl toUrl(const QString &url)
{
    QByteArray encoded;
    for (const QChar c : url) {
        if (c.unicode() < 128) {
            encoded.append(char(c.unicode()));
            continue;
        }
        bool ok = false;
        const char byte = Cp1252::fromChar(c, &ok);
        const QByteArray bytes = ok ? QByteArray(1, byte) : QString(c).toUtf8();
        encoded.append(bytes.toPercentEncoding());
    }
    return QUrl::fromEncoded(encoded, QUrl::TolerantMode);
}

// A form body that can be read once only. Qt sends a request again on a new connection when
// the old one closed before a reply; for a POST that is refused here: the body cannot be read
// a second time, so the reply fails instead of a second copy reaching the server.
class OnceReadBody : public QIODevice
{
public:
    OnceReadBody(const QByteArray &data, QObject *parent) : QIODevice(parent), m_data(data)
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    bool reset() override { return false; }
    qint64 bytesAvailable() const override { return m_data.size() - m_pos + QIODevice::bytesAvailable(); }
    qint64 size() const override { return m_data.size(); }

protected:
    qint64 readData(char *out, qint64 max) override
    {
        const qint64 n = std::min<qint64>(max, m_data.size() - m_pos);
        if (n <= 0)
            return m_pos >= m_data.size() ? -1 : 0;
        std::memcpy(out, m_data.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

} // namespace

// While a request runs: user input reaches only the widgets of one window (none without one),
// and no window closes. Painting, timers and network events go on.
class HttpClient::InputBlocker : public QObject
{
public:
    explicit InputBlocker(QWidget *modalTo) : m_window(modalTo ? modalTo->window() : nullptr)
    {
        if (QCoreApplication *app = QCoreApplication::instance())
            app->installEventFilter(this);
    }
    ~InputBlocker() override
    {
        if (QCoreApplication *app = QCoreApplication::instance())
            app->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Close:
            if (watched->isWidgetType()) {
                // Windows and dialogs stay open until the request is over; popups and tool
                // tips may close.
                const Qt::WindowType type = static_cast<QWidget *>(watched)->windowType();
                if (type == Qt::Window || type == Qt::Dialog) {
                    event->ignore();
                    return true;
                }
            }
            return false;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: return watched->isWidgetType() && !inside(static_cast<QWidget *>(watched));
        case QEvent::Shortcut:
            // Shortcuts go to their QShortcut or QAction, so judge by the active window.
            return !inside(QApplication::activeWindow());
        default: return false;
        }
    }

private:
    // True for the window's own widgets and those of windows it owns (its dialogs).
    bool inside(const QWidget *widget) const
    {
        if (!m_window)
            return false;
        for (; widget; widget = widget->parentWidget())
            if (widget == m_window)
                return true;
        return false;
    }

    QPointer<QWidget> m_window;
};

bool HttpClient::get(const QString &url, QByteArray *body, QWidget *modalTo, qint64 maxBytes,
                     const Progress &progress)
{
    if (busy())
        return refuseWhileBusy(body);
    QNetworkRequest request{toUrl(url)};
    // Redirects are judged one by one: only to the same host, over http or https.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    return run(request, nullptr, body, modalTo, maxBytes, progress);
}

bool HttpClient::post(const QString &url, const QStringList &fields, QByteArray *body, QWidget *modalTo,
                      qint64 maxBytes, const Progress &progress)
{
    if (busy())
        return refuseWhileBusy(body);
    QNetworkRequest request{toUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    // A form goes to the address it was meant for, once: a redirect is reported, never
    // followed with the form (and its password) again.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    const QByteArray form = formBody(fields);
    return run(request, &form, body, modalTo, maxBytes, progress);
}

bool HttpClient::refuseWhileBusy(QByteArray *body)
{
    // The running request keeps its own state; it sets the results again when it ends.
    if (body && body != m_runningBody)
        body->clear();
    m_responseText = QLatin1String(BusyText);
    m_error = QLatin1String(BusyText);
    return false;
}

void HttpClient::abort()
{
    if (!m_reply)
        return;
    m_aborted = true;
    m_reply->abort(); // finishes the reply, which ends the request's event loop
}

void HttpClient::fail(const QString &text)
{
    m_responseText = text;
    m_error = text;
}

QString HttpClient::failureText() const
{
    // A 2xx reply can still fail when it was cut short; its status line says nothing useful.
    if (m_status >= 200 && m_status < 300 && !m_error.isEmpty())
        return m_error;
    if (!m_responseText.isEmpty())
        return m_responseText;
    return unknownErrorText();
}

QString HttpClient::unknownErrorText()
{
    return QStringLiteral("Unknown error or not connected to the Internet");
}

double HttpClient::TimeoutSeconds()
{
    QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    bool ok = false;
    const double seconds = settings.value(QStringLiteral("Network/TimeoutSeconds")).toDouble(&ok);
    return ok && seconds > 0 ? seconds : 60.0;
}

namespace {

QString sizeText(qint64 bytes)
{
    if (bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MiB").arg(bytes / (1024 * 1024));
    return QStringLiteral("%1 KiB").arg((bytes + 1023) / 1024);
}

QString secondsText(double seconds)
{
    return seconds == 1.0 ? QStringLiteral("1 second")
                          : QStringLiteral("%1 seconds").arg(QString::number(seconds, 'g', 4));
}

QString shortAddress(const QUrl &url) { return ShortenServerText(url.toString(), 200); }

} // namespace

bool HttpClient::run(QNetworkRequest &request, const QByteArray *postBody, QByteArray *body, QWidget *modalTo,
                     qint64 maxBytes, const Progress &progress)
{
    enum class End {
        Reply,
        Canceled,
        TimedOut,
        TooLarge,
        RedirectRefused
    };

    m_status = 0;
    m_responseText.clear();
    m_error.clear();
    m_aborted = false;
    m_canceled = false;
    m_timedOut = false;
    if (body)
        body->clear();
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(UserAgent));
    request.setRawHeader("Accept", "text/html, */*");
    request.setTransferTimeout(0); // the time-out below also tells why it ended
    // Every request has a fresh connection: a kept one that the server has dropped meanwhile
    // would make Qt send the request again on a new one.
    request.setRawHeader("Connection", "close");

    const double timeoutSeconds = TimeoutSeconds();
    const QUrl original = request.url();
    QByteArray data;
    End end = End::Reply;
    QUrl refusedTarget;

    QNetworkReply *reply = nullptr;
    if (postBody) {
        request.setHeader(QNetworkRequest::ContentLengthHeader, postBody->size());
        request.setAttribute(QNetworkRequest::DoNotBufferUploadDataAttribute, true);
        auto *once = new OnceReadBody(*postBody, nullptr);
        reply = m_manager->post(request, once);
        once->setParent(reply); // read until the reply is done
    } else {
        reply = m_manager->get(request);
    }
    // Qt buffers no more than this before the reply is read, so a huge reply cannot pile up.
    reply->setReadBufferSize(256 * 1024);
    m_reply = reply;
    m_runningBody = body;
    {
        InputBlocker blocker(modalTo);
        QEventLoop loop;
        QTimer idle;
        idle.setSingleShot(true);
        idle.setInterval(int(std::min(timeoutSeconds * 1000.0, 24.0 * 3600 * 1000)));
        const auto stop = [&](End why) {
            if (end == End::Reply)
                end = why;
            reply->abort();
        };
        QObject::connect(&idle, &QTimer::timeout, &loop, [&] { stop(End::TimedOut); });
        const auto alive = [&idle] { idle.start(); };
        qint64 sent = 0;
        QObject::connect(reply, &QNetworkReply::uploadProgress, &loop, [&](qint64 bytes, qint64) {
            alive();
            sent = bytes;
            if (progress)
                progress(sent, data.size());
        });
        QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
            alive();
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            if (length.isValid() && length.toLongLong() > maxBytes && status >= 200 && status < 300)
                stop(End::TooLarge);
        });
        QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
            alive();
            data += reply->read(maxBytes + 1 - data.size());
            if (data.size() > maxBytes) {
                stop(End::TooLarge);
                return;
            }
            if (progress)
                progress(sent, data.size());
        });
        QObject::connect(reply, &QNetworkReply::redirected, &loop, [&](const QUrl &target) {
            alive();
            const QString scheme = target.scheme().toLower();
            const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https");
            if (web && target.host().compare(original.host(), Qt::CaseInsensitive) == 0) {
                data.clear();
                emit reply->redirectAllowed();
            } else {
                refusedTarget = target;
                stop(End::RedirectRefused);
            }
        });
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        if (!reply->isFinished()) {
            alive();
            loop.exec();
        }
    }
    m_reply = nullptr;
    m_runningBody = nullptr;
    if (m_aborted)
        end = End::Canceled;
    m_aborted = false;

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        m_status = status.toInt();
        const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        m_responseText = QStringLiteral("HTTP/1.1 %1 %2").arg(m_status).arg(reason).trimmed();
    }
    switch (end) {
    case End::Reply: break;
    case End::Canceled:
        m_canceled = true;
        fail(QLatin1String(CanceledText));
        reply->deleteLater();
        return false;
    case End::TimedOut:
        m_timedOut = true;
        fail(QStringLiteral("The server did not answer within %1.").arg(secondsText(timeoutSeconds)));
        reply->deleteLater();
        return false;
    case End::TooLarge:
        fail(QStringLiteral("The reply of the server is larger than %1; it was not read further.")
                 .arg(sizeText(maxBytes)));
        reply->deleteLater();
        return false;
    case End::RedirectRefused:
        fail(QStringLiteral("The server sent the request on to %1, which is not followed.")
                 .arg(shortAddress(refusedTarget)));
        reply->deleteLater();
        return false;
    }
    if (data.size() <= maxBytes)
        data += reply->read(maxBytes + 1 - data.size());
    if (data.size() > maxBytes) {
        fail(QStringLiteral("The reply of the server is larger than %1; it was not read further.")
                 .arg(sizeText(maxBytes)));
        reply->deleteLater();
        return false;
    }
    if (body)
        *body = data;
    const bool ok2xx = m_status >= 200 && m_status < 300;
    const bool complete = reply->error() == QNetworkReply::NoError;
    if (m_status >= 300 && m_status < 400) {
        // A redirect that was not followed: a POST's, or one past the limit.
        const QUrl target =
            original.resolved(reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
        fail(QStringLiteral("The server sent the request on to %1; it was not sent again.")
                 .arg(shortAddress(target)));
        reply->deleteLater();
        return false;
    }
    // Qt reports an error status as a network error too; keep only real transport errors.
    if (!complete && (m_status == 0 || ok2xx))
        m_error = reply->errorString();
    // Depending on how the end of a connection arrives, Qt may finish a reply cut short without
    // an error: the length the server promised tells (uncompressed replies only).
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (ok2xx && complete && length.isValid() && data.size() < length.toLongLong() &&
        !reply->hasRawHeader("Content-Encoding")) {
        m_error = QStringLiteral("The reply of the server was cut short: %1 of %2 bytes arrived.")
                      .arg(data.size())
                      .arg(length.toLongLong());
        reply->deleteLater();
        return false;
    }
    reply->deleteLater();
    // A success is a 2xx status with the whole reply read.
    return ok2xx && complete;
}

HttpClient &MainHttpClient()
{
    // Never destroyed: the network manager must not outlive the application object at exit.
    static HttpClient *const client = new HttpClient;
    return *client;
}

namespace {
QString settingValue(const char *key, const char *fallback)
{
    QSettings settings(QStringLiteral("Halvard, Inc."), QStringLiteral("TRV"));
    return settings.value(QLatin1String(key), QLatin1String(fallback)).toString();
}

QString baseUrl(const char *key, const char *fallback)
{
    QString url = settingValue(key, fallback);
    while (url.endsWith('/'))
        url.chop(1);
    return url;
}
} // namespace

QString MakerBaseUrl() { return baseUrl("Network/MakerBaseUrl", "http://www.halvard-tarvel.example"); }
QString HostingBaseUrl() { return baseUrl("Network/HostingBaseUrl", "http://www.sandeck.example"); }
QString DirectoryBaseUrl() { return baseUrl("Network/DirectoryBaseUrl", "http://www.fenmoor.example"); }

QString DirectoryHostName()
{
    const QString url = DirectoryBaseUrl();
    const QString host = QUrl(url).host();
    return host.isEmpty() ? url : host;
}

QString HostingGroup()
{
    const QString text = settingValue("Network/HostingGroup", "0").trimmed();
    bool ok = false;
    const qulonglong group = text.toULongLong(&ok);
    return ok ? QString::number(group) : QStringLiteral("0");
}

QString HostingPostingEmail()
{
    return settingValue("Network/HostingPostingEmail", "publish@sandeck.example").trimmed();
}
