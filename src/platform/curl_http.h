#pragma once

#include "http.h"

#include <QMap>
#include <QString>
#include <memory>

// Http on libcurl, driven by the event loop of the thread that owns it.
//
// libcurl keeps connections alive between fetches, speaks HTTP/2 where the
// server offers it, reads gzip and deflate answers and verifies certificates
// and host names. On top of it each fetch has one deadline for everything
// (connecting, headers, body and redirects), its header blocks are refused
// beyond kMaxHeadBytes, its body is cut at the caller's limit after
// decompression, and redirects are followed here, so that no hop may leave
// http and https or go from https to http. Each address goes through the proxy
// Qt's system configuration names for it.
class CurlHttp : public Http {
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

    explicit CurlHttp(int deadlineMs = kDefaultDeadlineMs);
    ~CurlHttp() override;
    void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes = kDefaultMaxBytes) override;

    // What each caller has asked for and has outstanding, for the soak test.
    const Tally& requestsByCaller() const;

    class Engine;

private:
    std::unique_ptr<Engine> engine_;
};
