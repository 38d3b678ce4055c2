#include "request_tally.h"

#include <memory>
#include <utility>

void RequestTally::get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes) {
    // Without a context there is no one to answer, and nothing is asked.
    if (!context)
        return http_.get(url, context, std::move(reply), maxBytes);
    const QString caller = context->objectName().isEmpty()
                               ? QString::fromLatin1(context->metaObject()->className())
                               : context->objectName();
    CallerRequests& requests = counts_[caller];
    ++requests.started;
    requests.peak = qMax(requests.peak, ++requests.inFlight);

    // A request ends with its answer, or unanswered with its context.
    struct Outstanding {
        bool ended = false;
        QMetaObject::Connection contextGone;
    };
    auto outstanding = std::make_shared<Outstanding>();
    const auto end = [this, caller, outstanding] {
        if (std::exchange(outstanding->ended, true))
            return;
        QObject::disconnect(outstanding->contextGone);
        --counts_[caller].inFlight;
    };
    outstanding->contextGone = connect(context, &QObject::destroyed, this, end);
    http_.get(
        url, context,
        [end, reply = std::move(reply)](std::optional<QByteArray> answer) {
            end();
            reply(std::move(answer));
        },
        maxBytes);
}
