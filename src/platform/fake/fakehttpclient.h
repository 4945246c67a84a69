#pragma once

#include "update/httpclient.h"

#include <QList>
#include <memory>

// Keeps every request until the test answers it; an aborted request is never answered.
class FakeHttpClient final : public HttpClient
{
public:
    struct Pending {
        HttpRequest request;
        Completion completion;
        bool aborted = false;
    };

    std::unique_ptr<HttpTransfer> get(const HttpRequest &request, Completion completion) override
    {
        m_requests.append(std::make_shared<Pending>(Pending{request, std::move(completion)}));
        return std::make_unique<Transfer>(m_requests.back());
    }
    void setTransferTimeout(std::chrono::milliseconds timeout) override
    {
        m_transferTimeout = timeout;
    }

    qsizetype requestCount() const { return m_requests.size(); }
    const HttpRequest &request(qsizetype index) const { return m_requests.at(index)->request; }
    bool isAborted(qsizetype index) const { return m_requests.at(index)->aborted; }
    std::chrono::milliseconds transferTimeout() const { return m_transferTimeout; }

    // Answers request `index`, as the network would, unless it was aborted.
    void respond(qsizetype index, const HttpResponse &response)
    {
        Pending &pending = *m_requests.at(index);
        if (pending.aborted || !pending.completion)
            return;
        const Completion completion = std::move(pending.completion);
        pending.completion = nullptr;
        completion(response);
    }
    void respond(qsizetype index, int statusCode, const QByteArray &body)
    {
        respond(index, {HttpResponse::Outcome::Received, statusCode, body});
    }

private:
    class Transfer final : public HttpTransfer
    {
    public:
        explicit Transfer(std::shared_ptr<Pending> pending) : m_pending(std::move(pending)) {}
        ~Transfer() override
        {
            if (m_pending->completion)
                m_pending->aborted = true;
        }

    private:
        std::shared_ptr<Pending> m_pending;
    };

    QList<std::shared_ptr<Pending>> m_requests;
    std::chrono::milliseconds m_transferTimeout = defaultTransferTimeout;
};
