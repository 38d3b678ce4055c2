#pragma once

#include "http.h"

#include <QMap>
#include <QString>
#include <memory>

// Http as a small HTTP/1.1 client over QTcpSocket (QSslSocket for https).
//
// Qt's QNetworkAccessManager cannot bound the size of a header block, and its
// transfer time-out restarts with every byte while its six connections per
// host queue every further request. So each fetch here opens its own
// connection, asks the server to close it after the answer, and has one
// deadline for everything: connecting, headers, body and redirects. The status
// line and headers are refused beyond kMaxHeadBytes.
class QtHttp : public Http {
public:
    static constexpr int kDefaultDeadlineMs = 20000;
    static constexpr int kMaxRedirects = 3;
    static constexpr qint64 kMaxHeadBytes = 64 * 1024;

    // Requests of one caller (its context's object name, else its class).
    struct CallerRequests {
        int inFlight = 0;
        int peak = 0;
        int started = 0;
    };
    using Tally = QMap<QString, CallerRequests>;

    explicit QtHttp(int deadlineMs = kDefaultDeadlineMs);
    void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes = kDefaultMaxBytes) override;

    // What each caller has asked for and has outstanding, for the soak test.
    const Tally& requestsByCaller() const { return *tally_; }

private:
    int deadlineMs_;
    // Shared with the fetches, which may end after this client.
    std::shared_ptr<Tally> tally_ = std::make_shared<Tally>();
};
