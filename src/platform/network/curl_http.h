#pragma once

#include "platform/http.h"

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

    explicit CurlHttp(int deadlineMs = kDefaultDeadlineMs);
    ~CurlHttp() override;
    void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes = kDefaultMaxBytes) override;

    class Engine;

private:
    std::unique_ptr<Engine> engine_;
};
