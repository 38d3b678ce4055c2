#pragma once

#include "platform/http.h"

#include <QList>
#include <QPointer>

// Http whose requests wait until the test answers them.
class FakeHttp : public Http {
public:
    struct Request {
        QUrl url;
        QPointer<QObject> context;
        Reply reply;
        qint64 maxBytes;
    };
    QList<Request> pending;
    QList<QUrl> requested;

    void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes) override {
        requested.append(url);
        pending.append({url, context, std::move(reply), maxBytes});
    }

    // Answers the oldest pending request; false when none is pending.
    bool answer(std::optional<QByteArray> body) {
        if (pending.isEmpty())
            return false;
        Request request = pending.takeFirst();
        if (request.context)
            request.reply(body ? std::optional<QByteArray>(body->left(request.maxBytes)) : std::nullopt);
        return true;
    }
};
