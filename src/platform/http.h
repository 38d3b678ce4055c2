#pragma once

#include <QByteArray>
#include <QObject>
#include <QUrl>
#include <functional>
#include <optional>

// Asynchronous HTTP GET. The answer arrives on the thread that asked, as the
// body bytes or as nothing (no connection, HTTP error, time-out). The callback
// is dropped when `context` is destroyed first.
class Http {
public:
    using Reply = std::function<void(std::optional<QByteArray>)>;

    // Bodies are cut at this many bytes; the rest of the transfer is abandoned.
    static constexpr qint64 kDefaultMaxBytes = 1 << 20;

    virtual ~Http() = default;
    virtual void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes = kDefaultMaxBytes) = 0;
};
