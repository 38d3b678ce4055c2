#include "download_cache.h"

std::optional<QByteArray> DownloadCache::find(const QUrl& url) const {
    const auto found = files_.constFind(url);
    if (found == files_.constEnd())
        return std::nullopt;
    return *found;
}

void DownloadCache::store(const QUrl& url, const QByteArray& body) {
    if (const auto old = files_.constFind(url); old != files_.constEnd()) {
        bytes_ -= old->size();
        files_.erase(old);
        order_.removeOne(url);
    }
    if (body.size() > kMaxBytes)
        return;
    while (bytes_ + body.size() > kMaxBytes && !order_.isEmpty())
        bytes_ -= files_.take(order_.takeFirst()).size();
    files_.insert(url, body);
    order_.append(url);
    bytes_ += body.size();
}

void DownloadCache::clear() {
    files_.clear();
    order_.clear();
    bytes_ = 0;
}
