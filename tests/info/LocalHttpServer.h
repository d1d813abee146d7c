#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpServer>
#include <QTimer>

class QTcpSocket;

// A tiny HTTP/1.1 server on 127.0.0.1 for one test: it reads a request and
// plays back a canned answer. Each connection takes the next behaviour from
// the script; the last one repeats. It serves a bounded number of
// connections and shuts itself down after a while, whatever the test does.
class LocalHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Behaviour
    {
        enum Kind {
            Answer, // sends `bytes` and closes
            Hold, // reads the request and never answers
            SendAndHold, // sends `bytes` (say, headers and part of a body) and waits
        };
        Kind kind = Answer;
        QByteArray bytes;
    };

    using Headers = QList<QPair<QByteArray, QByteArray>>;

    explicit LocalHttpServer(QObject *parent = nullptr);
    ~LocalHttpServer() override;

    bool listen();
    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString &path = QStringLiteral("/vexa/updateinfo.htm")) const;

    void setScript(const QList<Behaviour> &script) { m_script = script; }
    void answer(const QByteArray &response) { setScript({ { Behaviour::Answer, response } }); }
    void hold() { setScript({ { Behaviour::Hold, {} } }); }

    // A whole response; with withLength false the body ends where the
    // connection does.
    static QByteArray response(
        int status, const QByteArray &body, const Headers &headers = {}, bool withLength = true);
    static QByteArray ok(const QByteArray &body) { return response(200, body); }

    // Request lines ("GET /path HTTP/1.1") in the order they came.
    const QList<QByteArray> &requests() const { return m_requests; }
    // Connections the client closed before we did.
    int closedByClient() const { return m_closedByClient; }

    // A port on 127.0.0.1 that nobody listens on (it was free a moment ago).
    static quint16 unusedPort();

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);

    static constexpr int kMaxConnections = 16;
    static constexpr int kLifetimeMsecs = 60000;
    static constexpr int kMaxRequestBytes = 16 * 1024;

    QTcpServer m_server;
    QTimer m_lifetime;
    QList<Behaviour> m_script;
    QList<QByteArray> m_requests;
    int m_connections = 0;
    int m_closedByClient = 0;
};
