#include "LocalHttpServer.h"

#include <QTcpSocket>

LocalHttpServer::LocalHttpServer(QObject *parent)
    : QObject(parent)
{
    m_lifetime.setSingleShot(true);
    connect(&m_lifetime, &QTimer::timeout, this, [this] {
        m_server.close();
        for (QTcpSocket *socket : findChildren<QTcpSocket *>())
            socket->abort();
    });
    connect(&m_server, &QTcpServer::newConnection, this, &LocalHttpServer::onNewConnection);
}

LocalHttpServer::~LocalHttpServer()
{
    m_server.close();
    for (QTcpSocket *socket : findChildren<QTcpSocket *>()) {
        socket->disconnect(this);
        socket->abort();
    }
}

bool LocalHttpServer::listen()
{
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        return false;
    m_lifetime.start(kLifetimeMsecs);
    return true;
}

QString LocalHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

QByteArray LocalHttpServer::response(
    int status, const QByteArray &body, const Headers &headers, bool withLength)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + " Canned\r\n";
    out += "Content-Type: text/plain\r\nConnection: close\r\n";
    if (withLength)
        out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    for (const auto &header : headers)
        out += header.first + ": " + header.second + "\r\n";
    out += "\r\n";
    return out + body;
}

quint16 LocalHttpServer::unusedPort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void LocalHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        if (++m_connections > kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setProperty("served", false);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (!socket->property("closing").toBool())
                ++m_closedByClient;
            socket->deleteLater();
        });
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket *socket)
{
    if (socket->property("served").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    const qsizetype end = request.indexOf("\r\n\r\n");
    if (end < 0) {
        if (request.size() > kMaxRequestBytes) {
            socket->setProperty("closing", true);
            socket->abort();
        } else {
            socket->setProperty("request", request);
        }
        return;
    }
    socket->setProperty("served", true);
    m_requests << request.left(request.indexOf("\r\n"));
    const Behaviour behaviour = m_script.isEmpty()
        ? Behaviour { Behaviour::Answer, response(500, {}) }
        : (m_script.size() > 1 ? m_script.takeFirst() : m_script.first());
    switch (behaviour.kind) {
    case Behaviour::Answer:
        socket->write(behaviour.bytes);
        socket->setProperty("closing", true);
        socket->disconnectFromHost();
        break;
    case Behaviour::Hold:
        break;
    case Behaviour::SendAndHold:
        socket->write(behaviour.bytes);
        break;
    }
}
