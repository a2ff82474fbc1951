// The fake hosting server: a small HTTP/1.1 responder, one request per connection.
#include "fakehostingserver.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace {

// Windows-1252 bytes 0x80..0x9F; the five unassigned ones stand for the C1 control of the same
// value. The rest of the bytes are Latin-1.
const char16_t HighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromCp1252(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += (b >= 0x80 && b < 0xA0) ? QChar(HighControls[b - 0x80]) : QChar(b);
    }
    return text;
}

QByteArray toCp1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        char byte = '?';
        if (c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() < 0x100))
            byte = char(c.unicode());
        for (int i = 0; i < 32; ++i)
            if (HighControls[i] == c.unicode())
                byte = char(0x80 + i);
        bytes += byte;
    }
    return bytes;
}

QString decode(QByteArray text, bool plusIsBlank)
{
    if (plusIsBlank)
        text.replace('+', ' ');
    return fromCp1252(QByteArray::fromPercentEncoding(text));
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return status < 400 ? "OK" : "Error";
    }
}

QByteArray header(int status, const QByteArray &contentType, qsizetype length)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) +
           "\r\nContent-Type: " + contentType + "\r\nContent-Length: " + QByteArray::number(length) +
           "\r\nConnection: close\r\n\r\n";
}

QByteArray nameValue(const char *name, const QString &value)
{
    return QByteArray(name) + '=' + toCp1252(value) + "\r\n";
}

// A puzzle named in a request, with or without its ".html".
QString puzzleName(const QString &text)
{
    return text.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ? text.chopped(5) : text;
}

QString accountKey(const QString &group, const QString &account) { return group + '/' + account; }

} // namespace

QString TFakeRequest::formValue(const QString &name) const
{
    for (const auto &field : form)
        if (field.first == name)
            return field.second;
    return QString();
}

TFakeHostingServer::TFakeHostingServer(quint16 port)
{
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
    m_server.listen(QHostAddress::LocalHost, port);
    m_port = m_server.serverPort();
    addFile(QStringLiteral("/index.htm"),
            "<html><head><title>Puzzle Directory</title></head><body>"
            "<h1>Puzzle Directory</h1><p><a href=\"/puzzles/sample.trv\">A sample puzzle</a></p>"
            "</body></html>");
}

TFakeHostingServer::~TFakeHostingServer()
{
    // The sockets are children of the server, which outlives the other members: end them first,
    // without their signals reaching this half-destroyed object.
    m_server.close();
    for (QTcpSocket *socket : m_server.findChildren<QTcpSocket *>()) {
        QObject::disconnect(socket, nullptr, nullptr, nullptr);
        delete socket;
    }
}

QString TFakeHostingServer::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

void TFakeHostingServer::closePort() { m_server.close(); }

void TFakeHostingServer::setBehaviour(const QString &path, TFakeReply behaviour, int status)
{
    m_behaviours[path] = Behaviour{behaviour, status};
}

void TFakeHostingServer::clearBehaviours() { m_behaviours.clear(); }

void TFakeHostingServer::addFile(const QString &path, const QByteArray &bytes, const QByteArray &contentType)
{
    m_files[path] = qMakePair(bytes, contentType);
}

void TFakeHostingServer::addPuzzle(const QString &group, const QString &account, const QString &name)
{
    QStringList &list = m_accounts[accountKey(group, account)];
    if (!list.contains(name))
        list.append(name);
}

QStringList TFakeHostingServer::puzzles(const QString &group, const QString &account) const
{
    return m_accounts.value(accountKey(group, account));
}

QString TFakeHostingServer::puzzleLink(const QString &group, const QString &account,
                                       const QString &name) const
{
    return baseUrl() + '/' + group + '/' + account + '/' + name + ".html";
}

void TFakeHostingServer::setPresenceValue(const QString &name, const QString &value)
{
    m_omitted.remove(name);
    m_presence[name] = value;
}

void TFakeHostingServer::omitPresenceValue(const QString &name)
{
    m_presence.remove(name);
    m_omitted.insert(name);
}

QList<TFakeRequest> TFakeHostingServer::requestsFor(const QString &path) const
{
    QList<TFakeRequest> found;
    for (const TFakeRequest &request : m_requests)
        if (request.path == path)
            found.append(request);
    return found;
}

QList<QPair<QString, QString>> TFakeHostingServer::decodePairs(const QByteArray &text, bool plusIsBlank)
{
    QList<QPair<QString, QString>> pairs;
    for (const QByteArray &part : text.split('&')) {
        if (part.isEmpty())
            continue;
        const qsizetype eq = part.indexOf('=');
        const QByteArray name = eq < 0 ? part : part.left(eq);
        const QByteArray value = eq < 0 ? QByteArray() : part.mid(eq + 1);
        pairs.append(qMakePair(decode(name, plusIsBlank), decode(value, plusIsBlank)));
    }
    return pairs;
}

void TFakeHostingServer::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        m_pending.insert(socket, QByteArray());
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { readFrom(socket); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void TFakeHostingServer::readFrom(QTcpSocket *socket)
{
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return; // answered already
    it.value() += socket->readAll();
    const QByteArray data = it.value();
    const qsizetype end = data.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> lines = data.left(end).split('\n');
    qsizetype length = 0;
    for (const QByteArray &line : lines)
        if (line.toLower().startsWith("content-length:"))
            length = line.mid(15).trimmed().toLongLong();
    if (data.size() < end + 4 + length)
        return;
    m_pending.erase(it);

    TFakeRequest request;
    request.raw = data;
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    const QByteArray target = first.value(1);
    const qsizetype mark = target.indexOf('?');
    request.path =
        QString::fromLatin1(QByteArray::fromPercentEncoding(mark < 0 ? target : target.left(mark)));
    if (mark >= 0)
        for (const auto &pair : decodePairs(target.mid(mark + 1), false))
            request.query.insert(pair.first, pair.second);
    if (request.method == "POST")
        request.form = decodePairs(data.mid(end + 4, length), true);
    m_requests.append(request);
    if (m_hook)
        m_hook(request);
    answer(socket, request);
}

void TFakeHostingServer::answer(QTcpSocket *socket, const TFakeRequest &request)
{
    const Behaviour behaviour = m_behaviours.value(request.path);
    switch (behaviour.reply) {
    case TFakeReply::Normal: send(socket, normalReply(request)); break;
    case TFakeReply::Status:
        send(socket, Reply{behaviour.status, "text/html",
                           "<html><body>" + reasonPhrase(behaviour.status) + "</body></html>"});
        break;
    case TFakeReply::Garbage: {
        QByteArray body(512, '\0');
        for (char &c : body) {
            c = char(QRandomGenerator::global()->bounded(256));
            if (c == '=')
                c = '#';
        }
        send(socket, Reply{200, "application/octet-stream", body});
        break;
    }
    case TFakeReply::CutShort: {
        const QByteArray body = normalReply(request).body.left(8);
        socket->write(header(200, "text/plain", body.size() + 1000) + body);
        socket->flush();
        socket->disconnectFromHost();
        break;
    }
    case TFakeReply::NoReplyUntilCancelled: break; // the client gives up and closes the connection
    case TFakeReply::Closed:
        closePort();
        socket->abort();
        m_pending.remove(socket);
        socket->deleteLater();
        break;
    case TFakeReply::CloseWithoutReply: socket->disconnectFromHost(); break;
    case TFakeReply::RedirectElsewhere: {
        QByteArray target = request.raw.left(request.raw.indexOf("\r\n")).split(' ').value(1);
        socket->write(
            "HTTP/1.1 307 Temporary Redirect\r\nLocation: http://localhost:" + QByteArray::number(m_port) +
            target + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        break;
    }
    case TFakeReply::RedirectHome:
        socket->write("HTTP/1.1 302 Found\r\nLocation: /index.htm\r\nContent-Length: 0\r\n"
                      "Connection: close\r\n\r\n");
        socket->disconnectFromHost();
        break;
    case TFakeReply::HugeBody:
        // No length: the body ends when the connection does, so only a cap while reading
        // stops it.
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
        streamHugeBody(socket);
        break;
    case TFakeReply::LongLine: {
        const QByteArray line(LongLineBytes, 'x');
        Reply reply = normalReply(request);
        if (request.path == QLatin1String(ScriptPath) + QLatin1String("PostPuzzle.cgi"))
            reply.body = "PuzzleLink=" + baseUrl().toLatin1() + "/p/" + line + ".html\r\nTimely=True\r\n";
        else
            reply.body += "\r\nNote=" + line + "\r\n";
        send(socket, reply);
        break;
    }
    case TFakeReply::ErrorBody:
        send(socket, Reply{200, "text/plain", nameValue("Error", m_errorText)});
        break;
    }
}

void TFakeHostingServer::streamHugeBody(QTcpSocket *socket)
{
    // A few pieces in flight at a time: the body is made as it is sent, never held whole.
    auto left = std::make_shared<qint64>(HugeBodyBytes);
    auto more = [this, socket, left] {
        static const QByteArray piece = [] {
            QByteArray bytes;
            while (bytes.size() < 64 * 1024)
                bytes += "Line=0123456789012345678901234567890123456789\r\n";
            return bytes;
        }();
        while (*left > 0 && socket->state() == QAbstractSocket::ConnectedState &&
               socket->bytesToWrite() < 4 * piece.size()) {
            const qint64 n = std::min<qint64>(*left, piece.size());
            socket->write(piece.constData(), n);
            *left -= n;
            m_hugeSent += n;
        }
        if (*left == 0)
            socket->disconnectFromHost();
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    more();
}

void TFakeHostingServer::send(QTcpSocket *socket, const Reply &reply)
{
    socket->write(header(reply.status, reply.contentType, reply.body.size()) + reply.body);
    socket->disconnectFromHost();
}

TFakeHostingServer::Reply TFakeHostingServer::normalReply(const TFakeRequest &request)
{
    const QString scripts = QLatin1String(ScriptPath);
    if (request.path.startsWith(scripts))
        return hostingReply(request.path.mid(scripts.size()), request);
    if (request.method == "POST")
        return Reply{200, "text/html", "OK"}; // the maker's message forms
    const auto file = m_files.constFind(request.path);
    if (file != m_files.cend())
        return Reply{200, file->second, file->first};
    return Reply{404, "text/html", "<html><body>Not Found</body></html>"};
}

QString TFakeHostingServer::presenceValue(const QString &name, const QString &fallback) const
{
    return m_presence.value(name, fallback);
}

QByteArray TFakeHostingServer::presenceLines(const QString &group, const QString &account,
                                             const QString &name)
{
    const QStringList list = puzzles(group, account);
    const QList<QPair<const char *, QString>> values = {
        {"Exists", list.contains(name) ? "True" : "False"},
        {"PuzzleCount", QString::number(list.size())},
        {"FreeLimit", "1"},
        {"SubscriptionLimit", "0"},
        {"SubscriptionExpiry", "2000-01-01"},
        {"UrlOfLatestCheck", puzzleLink(group, account, name)},
        {"Announcement", QString()},
        {"AnnouncementUrl", QString()},
        {"AnnouncementYesBtn", "False"},
        {"Time", "63517200"},
    };
    QByteArray lines;
    for (const auto &value : values) {
        const QString key = QLatin1String(value.first);
        if (!m_omitted.contains(key))
            lines += nameValue(value.first, presenceValue(key, value.second));
    }
    return lines;
}

TFakeHostingServer::Reply TFakeHostingServer::hostingReply(const QString &script, const TFakeRequest &request)
{
    const QString group = request.query.value(QStringLiteral("Group"));
    const QString account = request.query.value(QStringLiteral("Account"));
    if (script == QLatin1String("PuzzlePresence.cgi"))
        return Reply{
            200, "text/plain",
            presenceLines(group, account, puzzleName(request.query.value(QStringLiteral("Puzzle"))))};
    if (script == QLatin1String("PostPuzzle.cgi")) {
        if (!m_postError.isEmpty())
            return Reply{200, "text/plain", nameValue("Error", m_postError)};
        const QString postGroup = request.formValue(QStringLiteral("Group"));
        const QString postAccount = request.formValue(QStringLiteral("Account"));
        const QString name = puzzleName(request.formValue(QStringLiteral("Puzzle")));
        addPuzzle(postGroup, postAccount, name);
        return Reply{200, "text/plain",
                     nameValue("PuzzleLink", puzzleLink(postGroup, postAccount, name)) +
                         nameValue("Timely", QStringLiteral("True"))};
    }
    if (script == QLatin1String("FetchPuzzleList.cgi")) {
        QByteArray lines;
        for (const QString &name : puzzles(group, account))
            lines += toCp1252(group + '/' + account + '/' + name + ".html\">\r\n");
        for (const char *name : {"SubscriptionExpiry", "SubscriptionLimit"}) {
            const QString key = QLatin1String(name);
            if (!m_omitted.contains(key))
                lines += nameValue(name, presenceValue(key, key == QLatin1String("SubscriptionLimit")
                                                                ? QStringLiteral("0")
                                                                : QStringLiteral("2000-01-01")));
        }
        return Reply{200, "text/plain", lines};
    }
    if (script == QLatin1String("DeletePuzzle.cgi")) {
        const QString name = puzzleName(request.query.value(QStringLiteral("Puzzle")));
        m_accounts[accountKey(group, account)].removeAll(name);
        return Reply{200, "text/plain", "OK"};
    }
    if (script == QLatin1String("BeforeSecurePage.cgi"))
        return Reply{200, "text/html",
                     "<html><head><title>Subscribe</title></head><body><h1>Subscription "
                     "options</h1><p>Account " +
                         toCp1252((group + '/' + account).toHtmlEscaped()) + "</p></body></html>"};
    return Reply{404, "text/html", "<html><body>Not Found</body></html>"};
}
