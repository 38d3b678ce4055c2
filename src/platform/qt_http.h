#pragma once

#include "http.h"

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

    explicit QtHttp(int deadlineMs = kDefaultDeadlineMs);
    void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes = kDefaultMaxBytes) override;

private:
    int deadlineMs_;
};
