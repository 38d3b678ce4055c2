// The real HTTP client against a small server on loopback: bodies, failures,
// hung servers and oversized answers.
#include "platform/qt_http.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// Answers every connection according to its request path.
class LoopbackServer : public QObject {
public:
    qint64 bytesSentOnHugePath = 0;

    LoopbackServer() {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }
    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path));
    }

private:
    void answer(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        if (request.startsWith("GET /page ")) {
            const QByteArray body("\xB9\xA4\xD0\xD0 257.76");
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                          "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        } else if (request.startsWith("GET /missing ")) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
        } else if (request.startsWith("GET /huge ")) {
            // 100 MB announced, streamed while the client keeps reading.
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n");
            auto feed = [this, socket] {
                while (socket->state() == QAbstractSocket::ConnectedState &&
                       socket->bytesToWrite() < (1 << 20) && bytesSentOnHugePath < 104857600) {
                    bytesSentOnHugePath += socket->write(QByteArray(64 * 1024, 'x'));
                }
            };
            connect(socket, &QTcpSocket::bytesWritten, this, feed);
            feed();
        }
        // "/hang": read the request and never answer.
    }

    QTcpServer server;
};

struct Outcome {
    bool done = false;
    std::optional<QByteArray> body;
};

} // namespace

class QtHttpTest : public QObject {
    Q_OBJECT
private slots:
    void deliversTheBody();
    void httpErrorYieldsNothing();
    void refusedConnectionYieldsNothing();
    void hungServerTimesOut();
    void hugeAnswerIsCutAndAbandoned();
    void destroyedContextDropsTheAnswer();
};

void QtHttpTest::deliversTheBody() {
    LoopbackServer server;
    QtHttp http;
    QObject context;
    Outcome outcome;
    http.get(server.url(u"/page"_qs), &context, [&](std::optional<QByteArray> body) {
        outcome = {true, body};
    });
    QTRY_VERIFY_WITH_TIMEOUT(outcome.done, 10000);
    QCOMPARE(outcome.body, std::optional<QByteArray>(QByteArray("\xB9\xA4\xD0\xD0 257.76")));
}

void QtHttpTest::httpErrorYieldsNothing() {
    LoopbackServer server;
    QtHttp http;
    QObject context;
    Outcome outcome;
    http.get(server.url(u"/missing"_qs), &context, [&](std::optional<QByteArray> body) {
        outcome = {true, body};
    });
    QTRY_VERIFY_WITH_TIMEOUT(outcome.done, 10000);
    QVERIFY(!outcome.body);
}

void QtHttpTest::refusedConnectionYieldsNothing() {
    quint16 closedPort;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        closedPort = probe.serverPort();
    }
    QtHttp http;
    QObject context;
    Outcome outcome;
    http.get(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort)), &context,
             [&](std::optional<QByteArray> body) {
                 outcome = {true, body};
             });
    QTRY_VERIFY_WITH_TIMEOUT(outcome.done, 10000);
    QVERIFY(!outcome.body);
}

void QtHttpTest::hungServerTimesOut() {
    LoopbackServer server;
    QtHttp http(300);
    QObject context;
    Outcome outcome;
    http.get(server.url(u"/hang"_qs), &context, [&](std::optional<QByteArray> body) {
        outcome = {true, body};
    });
    QTRY_VERIFY_WITH_TIMEOUT(outcome.done, 10000);
    QVERIFY(!outcome.body);
}

void QtHttpTest::hugeAnswerIsCutAndAbandoned() {
    LoopbackServer server;
    QtHttp http;
    QObject context;
    Outcome outcome;
    constexpr qint64 limit = 256 * 1024;
    http.get(
        server.url(u"/huge"_qs), &context,
        [&](std::optional<QByteArray> body) {
            outcome = {true, body};
        },
        limit);
    QTRY_VERIFY_WITH_TIMEOUT(outcome.done, 20000);
    QVERIFY(outcome.body);
    QCOMPARE(outcome.body->size(), limit);
    // The transfer was dropped long before the 100 MB were sent.
    QTest::qWait(200);
    QVERIFY2(server.bytesSentOnHugePath < 32 * 1024 * 1024,
             qPrintable(QString::number(server.bytesSentOnHugePath)));
}

void QtHttpTest::destroyedContextDropsTheAnswer() {
    LoopbackServer server;
    QtHttp http;
    bool called = false;
    {
        QObject context;
        http.get(server.url(u"/page"_qs), &context, [&](std::optional<QByteArray>) { called = true; });
    }
    QTest::qWait(500);
    QVERIFY(!called);
}

QTEST_GUILESS_MAIN(QtHttpTest)
#include "test_qt_http.moc"
