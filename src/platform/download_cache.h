#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QUrl>
#include <optional>

// Files fetched for display (chart images), by address, kept until the web
// cache is emptied. Bounded: past kMaxBytes the oldest files go first.
class DownloadCache {
public:
    static constexpr qint64 kMaxBytes = 32 * 1024 * 1024;

    std::optional<QByteArray> find(const QUrl& url) const;
    // A file larger than the whole cache is not kept.
    void store(const QUrl& url, const QByteArray& body);
    void clear();

    qsizetype count() const { return files_.size(); }
    qint64 bytes() const { return bytes_; }

private:
    QHash<QUrl, QByteArray> files_;
    QList<QUrl> order_; // oldest first
    qint64 bytes_ = 0;
};
