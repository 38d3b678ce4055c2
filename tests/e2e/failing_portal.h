#pragma once

#include <QObject>
#include <QRandomGenerator>
#include <QThread>
#include <atomic>

class QTcpServer;
class QTcpSocket;

// A loopback server in front of the demo portal that fails the way a real
// portal does: it goes away and comes back, resets connections, stalls,
// answers slowly, answers with garbage or with endless bodies. It runs on a
// thread of its own, so the test may block while it serves.
class FailingPortal : public QObject {
    Q_OBJECT
public:
    enum class Fault { None, Down, Reset, Stall, Slow, Garbage, Oversized };

    explicit FailingPortal(quint16 upstreamPort, quint32 seed);
    ~FailingPortal() override;

    // Listens on 127.0.0.1; the port, 0 on failure.
    quint16 start();
    // Takes effect for the next connection (Down closes the listener now).
    void setFault(Fault fault);
    static const char* faultName(Fault fault);

    int connections() const { return connections_; }

private:
    Q_INVOKABLE quint16 listenNow(quint16 port);
    Q_INVOKABLE void applyFault(int fault);
    void accept();
    void answer(QTcpSocket* client, const QByteArray& head);
    void forward(QTcpSocket* client, const QByteArray& head, bool slowly);
    void sendGarbage(QTcpSocket* client);
    void sendEndless(QTcpSocket* client);

    QThread thread_;
    QTcpServer* server_ = nullptr;
    quint16 upstreamPort_;
    quint16 port_ = 0;
    Fault fault_ = Fault::None;
    QRandomGenerator random_;
    std::atomic<int> connections_{0};
};
