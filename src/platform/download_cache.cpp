#include "download_cache.h"

DownloadCache::DownloadCache() : files_(kMaxBytes) {}

std::optional<QByteArray> DownloadCache::find(const QUrl& url) const {
    if (const QByteArray* body = files_.object(url))
        return *body;
    return std::nullopt;
}

void DownloadCache::store(const QUrl& url, const QByteArray& body) {
    // The old file's bytes are freed before room is made for the new one.
    files_.remove(url);
    files_.insert(url, new QByteArray(body), body.size());
}

void DownloadCache::clear() {
    files_.clear();
}
