#pragma once

#include "platform/http.h"

#include <QMap>
#include <QObject>
#include <QString>

// Http that counts the requests of each caller (its context's object name,
// else its class) on their way to another Http: how many are outstanding, the
// most that ever were at once, and how many were started. The soak test reads
// the figures from the state dump to catch a caller that piles requests up.
class RequestTally : public QObject, public Http {
public:
    struct CallerRequests {
        int inFlight = 0;
        int peak = 0;
        int started = 0;
    };
    using Counts = QMap<QString, CallerRequests>;

    explicit RequestTally(Http& http, QObject* parent = nullptr) : QObject(parent), http_(http) {}
    void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes = kDefaultMaxBytes) override;

    const Counts& byCaller() const { return counts_; }

private:
    Http& http_;
    Counts counts_;
};
