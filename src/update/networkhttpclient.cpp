#include "networkhttpclient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <array>

namespace
{

constexpr int maximumRedirects = 5;

class NetworkTransfer final : public HttpTransfer
{
public:
    NetworkTransfer(QNetworkReply *reply, std::chrono::milliseconds timeout,
                    std::chrono::milliseconds deadline, HttpClient::Completion completion)
        : m_reply(reply), m_completion(std::move(completion))
    {
        // A server trickling a byte at a time would keep the silence timer from ever firing.
        m_deadline.setSingleShot(true);
        m_deadline.setInterval(deadline);
        QObject::connect(&m_deadline, &QTimer::timeout,
                         [this] { fail(HttpResponse::Outcome::TransportFailed); });
        m_deadline.start();
        // Qt's own transfer time-out does not cover the hops after a redirect, so the same
        // limit is kept here as well, restarted whenever anything arrives.
        m_silence.setSingleShot(true);
        m_silence.setInterval(timeout);
        QObject::connect(&m_silence, &QTimer::timeout,
                         [this] { fail(HttpResponse::Outcome::TransportFailed); });
        m_silence.start();
        m_connections[0] = QObject::connect(reply, &QNetworkReply::metaDataChanged, [this] {
            m_silence.start();
            const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && length.toLongLong() > HttpClient::bodyLimit)
                fail(HttpResponse::Outcome::BodyTooLarge);
        });
        m_connections[1] =
            QObject::connect(reply, &QNetworkReply::readyRead, [this] { readBody(); });
        m_connections[2] =
            QObject::connect(reply, &QNetworkReply::redirected, [this](const QUrl &target) {
                m_silence.start();
                if (target.scheme() == u"https")
                    emit m_reply->redirectAllowed();
                else
                    fail(HttpResponse::Outcome::TransportFailed);
            });
        m_connections[3] = QObject::connect(reply, &QNetworkReply::finished, [this] { finish(); });
    }

    ~NetworkTransfer() override { release(); }

private:
    // False when the body proved too big: the transfer has then completed and may be gone.
    bool readBody()
    {
        m_silence.start();
        // One byte over the limit is enough to know the body is too big.
        m_body += m_reply->read(HttpClient::bodyLimit + 1 - m_body.size());
        if (m_body.size() <= HttpClient::bodyLimit)
            return true;
        fail(HttpResponse::Outcome::BodyTooLarge);
        return false;
    }

    void finish()
    {
        HttpResponse response;
        const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        response.statusCode = status.toInt();
        if (m_reply->error() == QNetworkReply::NoError) {
            if (!readBody())
                return;
            response.outcome = HttpResponse::Outcome::Received;
            response.body = m_body;
        } else if (status.isValid() && (response.statusCode < 200 || response.statusCode > 299)) {
            // Qt reports an error status as an error too; it is still an answer.
            response.outcome = HttpResponse::Outcome::Received;
        }
        complete(response);
    }

    void fail(HttpResponse::Outcome outcome)
    {
        HttpResponse response;
        response.outcome = outcome;
        complete(response);
    }

    void complete(const HttpResponse &response)
    {
        release();
        // The completion may well destroy this transfer: take it out first and touch nothing
        // afterwards.
        const HttpClient::Completion completion = std::move(m_completion);
        m_completion = nullptr;
        if (completion)
            completion(response);
    }

    void release()
    {
        QNetworkReply *reply = m_reply;
        if (!reply)
            return;
        m_reply = nullptr;
        m_silence.stop();
        m_deadline.stop();
        for (const QMetaObject::Connection &connection : m_connections)
            QObject::disconnect(connection);
        reply->abort();
        // We may be inside one of its signals.
        reply->deleteLater();
    }

    QNetworkReply *m_reply;
    std::array<QMetaObject::Connection, 4> m_connections;
    QTimer m_silence;
    QTimer m_deadline;
    HttpClient::Completion m_completion;
    QByteArray m_body;
};

} // namespace

NetworkHttpClient::NetworkHttpClient()
{
    m_manager.setCache(nullptr);
}

std::unique_ptr<HttpTransfer> NetworkHttpClient::get(const HttpRequest &request,
                                                     Completion completion)
{
    QNetworkRequest networkRequest(request.url);
    networkRequest.setHeader(QNetworkRequest::UserAgentHeader, request.userAgent);
    networkRequest.setRawHeader("Cache-Control", "no-cache");
    networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                                QNetworkRequest::AlwaysNetwork);
    networkRequest.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                QNetworkRequest::UserVerifiedRedirectPolicy);
    networkRequest.setMaximumRedirectsAllowed(maximumRedirects);
    networkRequest.setTransferTimeout(int(m_transferTimeout.count()));
    return std::make_unique<NetworkTransfer>(m_manager.get(networkRequest), m_transferTimeout,
                                             m_deadline, std::move(completion));
}

void NetworkHttpClient::setTransferTimeout(std::chrono::milliseconds timeout)
{
    m_transferTimeout = timeout;
}
