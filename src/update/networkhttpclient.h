#pragma once

#include "httpclient.h"

#include <QNetworkAccessManager>

// HttpClient over Qt's network access, with no cache installed. Create it on the main thread:
// its replies, and so the completions, are delivered there.
class NetworkHttpClient final : public HttpClient
{
public:
    NetworkHttpClient();

    std::unique_ptr<HttpTransfer> get(const HttpRequest &request, Completion completion) override;
    void setTransferTimeout(std::chrono::milliseconds timeout) override;
    // Longest a request may take in all; applies to later requests.
    void setDeadline(std::chrono::milliseconds deadline) { m_deadline = deadline; }

private:
    QNetworkAccessManager m_manager;
    std::chrono::milliseconds m_transferTimeout = defaultTransferTimeout;
    std::chrono::milliseconds m_deadline = defaultDeadline;
};
