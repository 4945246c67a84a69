#include "loopbackserver.h"

#include <QTcpSocket>
#include <QTimer>

LoopbackServer::LoopbackServer()
{
    m_server.listen(QHostAddress::LocalHost);
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            const qsizetype index = m_received.size();
            m_received.append(QByteArray());
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, index] {
                QByteArray &received = m_received[index];
                const bool hadHeader = received.contains("\r\n\r\n");
                received += socket->readAll();
                if (hadHeader || !received.contains("\r\n\r\n") || m_reply.isEmpty())
                    return;
                m_replied.insert(socket);
                if (m_trickle.count() > 0) {
                    auto *timer = new QTimer(socket);
                    QObject::connect(timer, &QTimer::timeout, socket,
                                     [socket, reply = m_reply, sent = qsizetype(0)]() mutable {
                                         if (sent < reply.size())
                                             socket->write(reply.constData() + sent++, 1);
                                     });
                    timer->start(m_trickle);
                    return;
                }
                socket->write(m_reply);
                socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                if (!m_replied.remove(socket))
                    ++m_closedByClient;
            });
        }
    });
}

QByteArray LoopbackServer::reply(int status, const QByteArray &body,
                                 const QList<QByteArray> &headers, bool withLength)
{
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + " Status\r\n";
    for (const QByteArray &header : headers)
        reply += header + "\r\n";
    if (withLength)
        reply += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return reply + "Connection: close\r\n\r\n" + body;
}

QByteArray requestLine(const QByteArray &request)
{
    return request.left(request.indexOf("\r\n"));
}

QByteArray headerValue(const QByteArray &request, const QByteArray &name)
{
    const QList<QByteArray> lines = request.left(request.indexOf("\r\n\r\n")).split('\n');
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}
