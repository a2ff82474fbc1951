// An in-process stand-in for the hosting service and the maker's web server: a QTcpServer on
// 127.0.0.1 that answers the hosting scripts from per-account puzzle lists, takes message forms,
// serves files, records every request, and can misbehave per path on demand: hang, fail, close
// without a reply, redirect to another host, stream a huge body, send a very long line, or
// answer "Error=" with a 200.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTcpServer>

#include <functional>

class QTcpSocket;

/** One request as the server read it. Query and form values are percent-decoded and read as
 *  Windows-1252; a "+" in a form stands for a blank. */
struct TFakeRequest {
    QByteArray method;
    QString path;                        // without the query
    QMap<QString, QString> query;        // decoded, Windows-1252
    QList<QPair<QString, QString>> form; // decoded, in order
    QByteArray raw;                      // request line, headers and body as received

    /** The first form value of that name, empty when there is none. */
    QString formValue(const QString &name) const;
};

/** How the server answers a path. */
enum class TFakeReply {
    Normal,                // the regular answer
    Status,                // the given status with a short body
    Garbage,               // 200 with random bytes that hold no name=value line
    CutShort,              // status and headers promising more than is sent, then closed
    NoReplyUntilCancelled, // the connection stays open and nothing is sent (a hang)
    Closed,                // the connection is dropped and the port closed (later ones refused)
    CloseWithoutReply,     // the request is read, then the connection closed with no answer
    RedirectElsewhere,     // 307 to the same path on "localhost", another host name for this
                           // server (a redirect that was followed arrives here again)
    RedirectHome,          // 302 to "/index.htm" on this server
    HugeBody,              // 200 and 300 MB without a length, streamed a piece at a time
    LongLine,              // the regular answer with a 300 KB line ("PuzzleLink" for a publish)
    ErrorBody,             // 200 with "Error=" and the error text (errorText())
};

class TFakeHostingServer
{
public:
    static constexpr const char *ScriptPath = "/cgi-bin/Subscribe/";

    /** Listens on 127.0.0.1 at the port (0: any free port). */
    explicit TFakeHostingServer(quint16 port = 0);
    ~TFakeHostingServer();
    TFakeHostingServer(const TFakeHostingServer &) = delete;
    TFakeHostingServer &operator=(const TFakeHostingServer &) = delete;

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_port; }
    /** "http://127.0.0.1:<port>" (the port it listened on, also after closePort()). */
    QString baseUrl() const;
    /** baseUrl() + path. */
    QString url(const QString &path) const { return baseUrl() + path; }
    /** baseUrl() + "/cgi-bin/Subscribe/" + script. */
    QString scriptUrl(const QString &script) const { return baseUrl() + ScriptPath + script; }

    /** Stops listening: new connections are refused. */
    void closePort();

    /** The answer for a path (without query); status is used by TFakeReply::Status. */
    void setBehaviour(const QString &path, TFakeReply behaviour, int status = 500);
    /** Every path answers normally again. */
    void clearBehaviours();

    /** Served on GET of the path (a "/index.htm" page is there from the start). */
    void addFile(const QString &path, const QByteArray &bytes, const QByteArray &contentType = "text/html");

    // Hosting accounts: an ordered list of puzzle names per Group and Account.
    void addPuzzle(const QString &group, const QString &account, const QString &name);
    QStringList puzzles(const QString &group, const QString &account) const;
    /** baseUrl() + "/" + group + "/" + account + "/" + name + ".html". */
    QString puzzleLink(const QString &group, const QString &account, const QString &name) const;

    /** Sets one value of the presence reply (and of "SubscriptionExpiry" and
     *  "SubscriptionLimit" in the list reply) instead of the one the server would give. */
    void setPresenceValue(const QString &name, const QString &value);
    /** Leaves the line out of the presence and list replies. */
    void omitPresenceValue(const QString &name);
    /** The text of TFakeReply::ErrorBody ("Mail system down" at first). */
    void setErrorText(const QString &text) { m_errorText = text; }
    QString errorText() const { return m_errorText; }
    /** The size of TFakeReply::HugeBody and TFakeReply::LongLine. */
    static constexpr qint64 HugeBodyBytes = 300LL * 1000 * 1000;
    static constexpr qsizetype LongLineBytes = 300 * 1000;
    /** Bytes of huge bodies handed to sockets so far. */
    qint64 hugeBytesSent() const { return m_hugeSent; }

    /** The publish script answers "Error=<text>" and stores nothing; empty to accept again. */
    void setPostError(const QString &text) { m_postError = text; }

    /** Every request received so far, oldest first. */
    const QList<TFakeRequest> &requests() const { return m_requests; }
    /** The requests for one path. */
    QList<TFakeRequest> requestsFor(const QString &path) const;
    void clearRequests() { m_requests.clear(); }
    /** Called for each request once it is read, before it is answered (a test can act "during"
     *  a request from here). */
    void setRequestHook(std::function<void(const TFakeRequest &)> hook) { m_hook = std::move(hook); }

    /** Decodes "name=value&..." text: percent escapes, then Windows-1252; "+" as a blank when
     *  plusIsBlank. */
    static QList<QPair<QString, QString>> decodePairs(const QByteArray &text, bool plusIsBlank);

private:
    struct Behaviour {
        TFakeReply reply = TFakeReply::Normal;
        int status = 500;
    };
    struct Reply {
        int status = 200;
        QByteArray contentType = "text/plain";
        QByteArray body;
    };

    void accept();
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const TFakeRequest &request);
    Reply normalReply(const TFakeRequest &request);
    Reply hostingReply(const QString &script, const TFakeRequest &request);
    QByteArray presenceLines(const QString &group, const QString &account, const QString &name);
    QString presenceValue(const QString &name, const QString &fallback) const;
    static void send(QTcpSocket *socket, const Reply &reply);
    void streamHugeBody(QTcpSocket *socket);

    QTcpServer m_server;
    quint16 m_port = 0;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QHash<QString, Behaviour> m_behaviours;
    QHash<QString, QPair<QByteArray, QByteArray>> m_files; // path -> bytes, content type
    QMap<QString, QStringList> m_accounts;                 // "group/account" -> puzzle names
    QMap<QString, QString> m_presence;
    QSet<QString> m_omitted;
    QString m_postError;
    QString m_errorText = QStringLiteral("Mail system down");
    qint64 m_hugeSent = 0;
    QList<TFakeRequest> m_requests;
    std::function<void(const TFakeRequest &)> m_hook;
};
