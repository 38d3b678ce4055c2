#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

// What a GET of a test's own server brought back.
struct HttpAnswer {
    bool ok = false;  // answered without an error
    int status = 0;   // 0: no answer in time
    QByteArray contentType;
    QByteArray body;
};

// GET `url` through `network`, waiting at most `timeoutMs` for the transfer
// (a second more for the reply): for the loopback servers of the tests.
inline HttpAnswer httpGet(QNetworkAccessManager& network, const QUrl& url, int timeoutMs = 5000) {
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs + 1000, &loop, &QEventLoop::quit);
    loop.exec();
    HttpAnswer answer;
    if (reply->isFinished()) {
        answer.ok = reply->error() == QNetworkReply::NoError;
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        answer.body = reply->readAll();
    } else {
        reply->abort();
    }
    reply->deleteLater();
    return answer;
}

inline HttpAnswer httpGet(const QUrl& url, int timeoutMs = 5000) {
    QNetworkAccessManager network;
    return httpGet(network, url, timeoutMs);
}
