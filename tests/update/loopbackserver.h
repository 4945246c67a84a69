#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QTcpServer>
#include <chrono>

class QTcpSocket;

// A tiny HTTP server on 127.0.0.1 that answers every request with one prepared reply and
// keeps what each connection sent.
class LoopbackServer
{
public:
    LoopbackServer();

    quint16 port() const { return m_server.serverPort(); }
    // Written once a request's header is in; an empty reply leaves the client waiting.
    void setReply(QByteArray reply) { m_reply = std::move(reply); }
    // Writes the reply one byte per interval instead of at once.
    void setTrickle(std::chrono::milliseconds interval) { m_trickle = interval; }
    // The bytes of each connection so far, in order of arrival.
    const QList<QByteArray> &received() const { return m_received; }
    // Connections the client has closed.
    int closedByClient() const { return m_closedByClient; }

    static QByteArray reply(int status, const QByteArray &body,
                            const QList<QByteArray> &headers = {}, bool withLength = true);

private:
    QByteArray m_reply;
    std::chrono::milliseconds m_trickle{0};
    QList<QByteArray> m_received;
    int m_closedByClient = 0;
    QSet<QTcpSocket *> m_replied;
    // Last, so that its sockets go while the members above still exist.
    QTcpServer m_server;
};

// Request line and header lookup on a received HTTP request.
QByteArray requestLine(const QByteArray &request);
QByteArray headerValue(const QByteArray &request, const QByteArray &name);
