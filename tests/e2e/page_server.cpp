#include "page_server.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

namespace {

constexpr qsizetype kMaxRequestHead = 64 * 1024;

} // namespace

PageServer::~PageServer() {
    quit();
    wait();
}

quint16 PageServer::listen() {
    start();
    listening_.acquire();
    return port_;
}

int PageServer::requests(const QByteArray& prefix) const {
    const QMutexLocker lock(&mutex_);
    return requests_.value(prefix);
}

void PageServer::run() {
    // Made here, the listener and its connections live on this thread.
    QTcpServer server;
    if (server.listen(QHostAddress::LocalHost))
        port_ = server.serverPort();
    listening_.release();
    if (!port_)
        return;
    connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
        while (QTcpSocket* client = server.nextPendingConnection())
            serve(client);
    });
    exec();
}

void PageServer::serve(QTcpSocket* client) {
    connect(client, &QAbstractSocket::disconnected, client, &QObject::deleteLater);
    auto head = std::make_shared<QByteArray>();
    connect(client, &QIODevice::readyRead, client, [this, client, head] {
        if (head->contains("\r\n\r\n"))
            return;
        *head += client->readAll();
        if (head->size() > kMaxRequestHead)
            client->abort();
        else if (head->contains("\r\n\r\n"))
            answer(client, *head);
    });
}

void PageServer::answer(QTcpSocket* client, const QByteArray& head) {
    const QByteArray path = head.split(' ').value(1);
    for (const Route& route : routes_) {
        if (!path.startsWith(route.prefix))
            continue;
        {
            const QMutexLocker lock(&mutex_);
            ++requests_[route.prefix];
        }
        client->write("HTTP/1.1 200 OK\r\nContent-Type: " + route.type +
                      "\r\nCache-Control: no-store\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(route.body.size()) + "\r\n\r\n" + route.body);
        client->disconnectFromHost();
        return;
    }
    client->write("HTTP/1.1 404 Not Found\r\nConnection: close\r\nContent-Length: 0\r\n\r\n");
    client->disconnectFromHost();
}
