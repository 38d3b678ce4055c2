#pragma once

#include <QByteArray>
#include <QCache>
#include <QUrl>
#include <optional>

// Files fetched for display (chart images), by address, kept until the web
// cache is emptied. Bounded by their bytes: past kMaxBytes the files used
// least recently go first, so the charts the user returns to stay.
class DownloadCache {
public:
    static constexpr qint64 kMaxBytes = 32 * 1024 * 1024;

    DownloadCache();

    // Counts as a use of the file.
    std::optional<QByteArray> find(const QUrl& url) const;
    // A file larger than the whole cache is not kept.
    void store(const QUrl& url, const QByteArray& body);
    void clear();

    qsizetype count() const { return files_.count(); }
    qint64 bytes() const { return files_.totalCost(); }

private:
    QCache<QUrl, QByteArray> files_; // cost: the file's bytes
};
