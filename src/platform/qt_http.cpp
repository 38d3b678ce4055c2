#include "qt_http.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPointer>
#include <memory>

QtHttp::QtHttp(int transferTimeoutMs) : transferTimeoutMs_(transferTimeoutMs) {
    // No proxy look-ups or cookies: a plain GET of the given address.
    manager_.setProxy(QNetworkProxy::NoProxy);
}

void QtHttp::get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes) {
    QNetworkRequest request(url);
    request.setTransferTimeout(transferTimeoutMs_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* network = manager_.get(request);
    // Keep Qt's own buffer small so a huge answer is never held in memory.
    network->setReadBufferSize(64 * 1024);

    struct Pending {
        QByteArray body;
        bool cut = false;
    };
    auto pending = std::make_shared<Pending>();
    QPointer<QObject> guard(context);

    QObject::connect(network, &QNetworkReply::readyRead, network, [network, pending, maxBytes] {
        if (pending->cut)
            return;
        pending->body += network->read(maxBytes - pending->body.size());
        if (pending->body.size() >= maxBytes) {
            pending->cut = true;
            network->abort();
        }
    });
    QObject::connect(network, &QNetworkReply::finished, network,
                     [network, pending, guard, reply = std::move(reply), maxBytes] {
                         network->deleteLater();
                         if (!pending->cut && network->isOpen())
                             pending->body += network->read(maxBytes - pending->body.size());
                         const bool failed = !pending->cut && network->error() != QNetworkReply::NoError;
                         if (!guard)
                             return;
                         if (failed)
                             reply(std::nullopt);
                         else
                             reply(pending->body);
                     });
}
