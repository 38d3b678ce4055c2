#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QThread>

class QTcpSocket;

// A loopback web server with fixed answers: the first route whose prefix
// starts a request's path answers it, anything else is not found. It serves
// from a thread of its own, so the test may block while the program loads,
// and counts the requests of each route.
class PageServer : public QThread {
public:
    struct Route {
        QByteArray prefix;
        QByteArray type;
        QByteArray body;
    };

    explicit PageServer(QList<Route> routes) : routes_(std::move(routes)) {}
    ~PageServer() override;

    // Starts listening on 127.0.0.1; the port, 0 on failure.
    quint16 listen();
    // "127.0.0.1:PORT", as endpoints.ini names a host.
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
    int requests(const QByteArray& prefix) const;

protected:
    void run() override;

private:
    void serve(QTcpSocket* client);
    void answer(QTcpSocket* client, const QByteArray& head);

    const QList<Route> routes_;
    quint16 port_ = 0;
    QSemaphore listening_;
    mutable QMutex mutex_;
    QHash<QByteArray, int> requests_;
};
