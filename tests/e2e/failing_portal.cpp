#include "failing_portal.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

namespace {

constexpr qsizetype kMaxRequestHead = 64 * 1024;
// An endless answer stops here, so that a client that never gives up cannot
// keep the test busy for ever.
constexpr qint64 kEndlessCap = 64LL * 1024 * 1024;
constexpr qint64 kPiece = 64 * 1024;

} // namespace

FailingPortal::FailingPortal(quint16 upstreamPort, quint32 seed)
    : upstreamPort_(upstreamPort), random_(seed) {
    thread_.start();
    moveToThread(&thread_);
}

FailingPortal::~FailingPortal() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            delete server_;
            server_ = nullptr;
            moveToThread(thread_.thread());
        },
        Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
}

quint16 FailingPortal::start() {
    quint16 port = 0;
    QMetaObject::invokeMethod(this, "listenNow", Qt::BlockingQueuedConnection, Q_RETURN_ARG(quint16, port),
                              Q_ARG(quint16, 0));
    return port;
}

quint16 FailingPortal::listenNow(quint16 port) {
    if (!server_) {
        server_ = new QTcpServer(this);
        connect(server_, &QTcpServer::newConnection, this, &FailingPortal::accept);
    }
    if (!server_->listen(QHostAddress::LocalHost, port))
        return 0;
    port_ = server_->serverPort();
    return port_;
}

void FailingPortal::setFault(Fault fault) {
    QMetaObject::invokeMethod(this, "applyFault", Qt::BlockingQueuedConnection, Q_ARG(int, int(fault)));
}

void FailingPortal::applyFault(int fault) {
    fault_ = Fault(fault);
    if (fault_ == Fault::Down)
        server_->close();
    else if (!server_->isListening())
        listenNow(port_);
}

const char* FailingPortal::faultName(Fault fault) {
    switch (fault) {
    case Fault::None:
        return "normal";
    case Fault::Down:
        return "down";
    case Fault::Reset:
        return "reset";
    case Fault::Stall:
        return "stall";
    case Fault::Slow:
        return "slow";
    case Fault::Garbage:
        return "garbage";
    case Fault::Oversized:
        return "oversized";
    }
    return "?";
}

void FailingPortal::accept() {
    while (server_->hasPendingConnections()) {
        QTcpSocket* client = server_->nextPendingConnection();
        ++connections_;
        connect(client, &QAbstractSocket::disconnected, client, &QObject::deleteLater);
        if (fault_ == Fault::Reset) {
            client->abort();
            client->deleteLater();
            continue;
        }
        auto head = std::make_shared<QByteArray>();
        auto answered = std::make_shared<bool>(false);
        connect(client, &QIODevice::readyRead, client, [this, client, head, answered] {
            const QByteArray bytes = client->readAll();
            if (*answered)
                return;
            *head += bytes;
            if (head->size() > kMaxRequestHead) {
                client->abort();
                return;
            }
            if (head->contains("\r\n\r\n")) {
                *answered = true;
                answer(client, *head);
            }
        });
    }
}

void FailingPortal::answer(QTcpSocket* client, const QByteArray& head) {
    switch (fault_) {
    case Fault::Stall:
        // Held until the client gives up.
        return;
    case Fault::Slow:
        return forward(client, head, true);
    case Fault::Garbage:
        return sendGarbage(client);
    case Fault::Oversized:
        return sendEndless(client);
    default:
        return forward(client, head, false);
    }
}

void FailingPortal::forward(QTcpSocket* client, const QByteArray& head, bool slowly) {
    auto* upstream = new QTcpSocket(client);
    auto held = std::make_shared<QByteArray>();
    auto upstreamDone = std::make_shared<bool>(false);
    connect(upstream, &QTcpSocket::connected, upstream, [upstream, head] { upstream->write(head); });
    connect(upstream, &QIODevice::readyRead, upstream, [client, upstream, held, slowly] {
        if (slowly)
            *held += upstream->readAll();
        else
            client->write(upstream->readAll());
    });
    connect(upstream, &QAbstractSocket::errorOccurred, client,
            [client, upstream, held, upstreamDone, slowly] {
                *upstreamDone = true;
                if (slowly) {
                    *held += upstream->readAll();
                    return;
                }
                client->write(upstream->readAll());
                client->disconnectFromHost();
            });
    upstream->connectToHost(QHostAddress::LocalHost, upstreamPort_);
    if (!slowly)
        return;
    // A late start, then a trickle of 1 KiB every 20 ms.
    auto* trickle = new QTimer(client);
    auto sent = std::make_shared<qsizetype>(0);
    connect(trickle, &QTimer::timeout, client, [client, held, sent, upstreamDone, trickle] {
        client->write(held->mid(*sent, 1024));
        *sent = qMin(*sent + 1024, held->size());
        if (*sent >= held->size() && *upstreamDone) {
            trickle->stop();
            client->disconnectFromHost();
        }
    });
    QTimer::singleShot(random_.bounded(100, 1500), trickle, [trickle] { trickle->start(20); });
}

void FailingPortal::sendGarbage(QTcpSocket* client) {
    auto noise = [this](qsizetype size) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char& c : bytes)
            c = char(random_.bounded(256));
        return bytes;
    };
    const qsizetype size = random_.bounded(1, 8192);
    switch (random_.bounded(6)) {
    case 0:
        client->write(noise(size));
        break;
    case 1:
        client->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(size) + "\r\n\r\n" +
                      noise(size));
        break;
    case 2:
        client->write("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n" + noise(size));
        break;
    case 3:
        // Promises more than it sends.
        client->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + noise(size));
        break;
    case 4:
        client->write("HTTP/1.1 200 OK\r\nContent-Type: image/gif\r\n\r\nGIF89a" + noise(size));
        break;
    default:
        // Round and round until the client stops following.
        client->write("HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:" + QByteArray::number(port_) +
                      "/again\r\nContent-Length: 0\r\n\r\n");
        break;
    }
    client->disconnectFromHost();
}

void FailingPortal::sendEndless(QTcpSocket* client) {
    const int kind = random_.bounded(4);
    static const QByteArray heads[] = {
        "HTTP/1.1 200 OK\r\nContent-Length: 1073741824\r\n\r\n",
        "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n",
        "HTTP/1.1 200 OK\r\n\r\n",
        "HTTP/1.1 200 OK\r\nX-Pad: ",
    };
    client->write(heads[kind]);
    const QByteArray filler(kPiece, 'a');
    const QByteArray chunk = QByteArray::number(kPiece, 16) + "\r\n" + filler + "\r\n";
    auto written = std::make_shared<qint64>(0);
    auto pump = [client, kind, filler, chunk, written] {
        while (client->bytesToWrite() < 4 * kPiece && *written < kEndlessCap) {
            client->write(kind == 1 ? chunk : filler);
            *written += kPiece;
        }
        if (*written >= kEndlessCap)
            client->disconnectFromHost();
    };
    connect(client, &QIODevice::bytesWritten, client, pump);
    pump();
}
