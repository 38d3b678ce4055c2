#pragma once

#include "http.h"

#include <QNetworkAccessManager>

// Http over QNetworkAccessManager, with a transfer time-out so that a hung
// server never lets requests pile up.
class QtHttp : public Http {
public:
    explicit QtHttp(int transferTimeoutMs = 20000);
    void get(const QUrl& url, QObject* context, Reply reply, qint64 maxBytes = kDefaultMaxBytes) override;

private:
    QNetworkAccessManager manager_;
    int transferTimeoutMs_;
};
