#pragma once

#include <QByteArray>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>

struct HttpRequest {
    QUrl url;
    QByteArray userAgent;
};

struct HttpResponse {
    enum class Outcome {
        // An HTTP answer arrived in full, whatever its status.
        Received,
        // No answer: no connection, time-out, TLS error, a refused redirect or a cut transfer.
        TransportFailed,
        // The body was bigger than bodyLimit; nothing more was read.
        BodyTooLarge,
    };
    Outcome outcome = Outcome::TransportFailed;
    int statusCode = 0;
    QByteArray body;
};

// One request in flight. Destroying it aborts the request, and its completion is then never
// called.
class HttpTransfer
{
public:
    virtual ~HttpTransfer() = default;
};

// GET requests that no cache may answer, following redirects only to https, with a transfer
// time-out. Completions are called on the main thread, later, never inside get().
class HttpClient
{
public:
    static constexpr qint64 bodyLimit = 64 * 1024;
    static constexpr std::chrono::milliseconds defaultTransferTimeout{8000};
    // However steadily the bytes come, a request ends by then.
    static constexpr std::chrono::milliseconds defaultDeadline{20000};

    using Completion = std::function<void(const HttpResponse &)>;

    virtual ~HttpClient() = default;

    virtual std::unique_ptr<HttpTransfer> get(const HttpRequest &request,
                                              Completion completion) = 0;
    // Longest pause without any data before a request fails; applies to later requests.
    virtual void setTransferTimeout(std::chrono::milliseconds timeout) = 0;
};
