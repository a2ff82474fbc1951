// Blocking HTTP requests over QNetworkAccessManager driven by a local event loop, one at a time.
#include "httpclient.h"

#include "cp1252.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSettings>
#include <QUrl>
#include <QWidget>

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
        case QEvent::Drop:
            return watched->isWidgetType() && !inside(static_cast<QWidget *>(watched));
        case QEvent::Shortcut:
            // Shortcuts go to their QShortcut or QAction, so judge by the active window.
            return !inside(QApplication::activeWindow());
        default:
            return false;
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

bool HttpClient::get(const QString &url, QByteArray *body, QWidget *modalTo)
{
    if (busy())
        return refuseWhileBusy(body);
    QNetworkRequest request{toUrl(url)};
    return run(request, nullptr, body, modalTo);
}

bool HttpClient::post(const QString &url, const QStringList &fields, QByteArray *body,
                      QWidget *modalTo)
{
    if (busy())
        return refuseWhileBusy(body);
    QNetworkRequest request{toUrl(url)};
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    const QByteArray form = formBody(fields);
    return run(request, &form, body, modalTo);
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

bool HttpClient::run(QNetworkRequest &request, const QByteArray *postBody, QByteArray *body,
                     QWidget *modalTo)
{
    m_status = 0;
    m_responseText.clear();
    m_error.clear();
    m_aborted = false;
    if (body)
        body->clear();
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray(UserAgent));
    request.setRawHeader("Accept", "text/html, */*");
    request.setTransferTimeout(0); // no read time-out

    QNetworkReply *reply = postBody ? m_manager->post(request, *postBody) : m_manager->get(request);
    m_reply = reply;
    m_runningBody = body;
    {
        InputBlocker blocker(modalTo);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        if (!reply->isFinished())
            loop.exec();
    }
    m_reply = nullptr;
    m_runningBody = nullptr;

    if (m_aborted) {
        m_aborted = false;
        m_responseText = QLatin1String(CanceledText);
        m_error = QLatin1String(CanceledText);
        reply->deleteLater();
        return false;
    }
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
    const bool ok2xx = m_status >= 200 && m_status < 300;
    const bool complete = reply->error() == QNetworkReply::NoError;
    // Qt reports an error status as a network error too; keep only real transport errors.
    if (!complete && (m_status == 0 || ok2xx))
        m_error = reply->errorString();
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
