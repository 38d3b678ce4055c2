// The real HTTP client against a small server on loopback: bodies, framing,
// redirects, failures, hung, slow and oversized answers, compression, kept
// connections, the user's proxy and certificates.
#include "platform/network/curl_http.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHash>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <dlfcn.h>
#include <zlib.h>

namespace {

// Answers every connection according to its request path.
class LoopbackServer : public QObject {
public:
    // A canned answer, optionally written one byte per turn of the event loop
    // so that every boundary in it falls between two reads of the client.
    struct Canned {
        QByteArray answer;
        bool closeAfter = true;
        bool byteByByte = false;
    };
    QHash<QByteArray, Canned> canned;
    QHash<QByteArray, int> requestsByPath;
    QByteArray lastRequest;
    int connections = 0;
    qint64 bytesSentOnHugePath = 0;
    qint64 bytesSentOnEndlessHeader = 0;

    LoopbackServer() {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                ++connections;
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    // Read everything, so closing never resets the connection over unread bytes.
                    const QByteArray request = socket->readAll();
                    if (socket->property("answered").toBool())
                        return;
                    socket->setProperty("answered", true);
                    answer(socket, request);
                });
            }
        });
    }
    QUrl url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path));
    }
    quint16 port() const { return server.serverPort(); }

private:
    void answer(QTcpSocket* socket, const QByteArray& request) {
        const QByteArray path = request.split(' ').value(1);
        ++requestsByPath[path];
        lastRequest = request;
        if (canned.contains(path)) {
            writeCanned(socket, canned.value(path));
        } else if (path == "/page") {
            const QByteArray body("\xB9\xA4\xD0\xD0 257.76");
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                          "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        } else if (path == "/kept") {
            // Held open for the next request on the same connection.
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nkept");
            socket->setProperty("answered", false);
        } else if (path == "/missing") {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
        } else if (path == "/huge") {
            // 100 MB announced, streamed while the client keeps reading.
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n");
            feedWhileRead(socket, QByteArray(64 * 1024, 'x'), bytesSentOnHugePath);
        } else if (path == "/endless-header") {
            socket->write("HTTP/1.1 200 OK\r\n");
            feedWhileRead(socket, QByteArray("X-Padding: " + QByteArray(1000, 'a') + "\r\n").repeated(64),
                          bytesSentOnEndlessHeader);
        } else if (path == "/trickle-head") {
            trickle(socket, "HTTP/1.1 200 OK\r\nX-Slow: ");
        } else if (path == "/trickle-body") {
            trickle(socket, "HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n");
        }
        // "/hang": read the request and never answer.
    }

    // Writes `block` again and again while the client keeps reading, up to 100 MB.
    void feedWhileRead(QTcpSocket* socket, const QByteArray& block, qint64& sent) {
        auto feed = [socket, block, &sent] {
            while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < (1 << 20) &&
                   sent < 104857600)
                sent += socket->write(block);
        };
        connect(socket, &QTcpSocket::bytesWritten, this, feed);
        feed();
    }

    // One byte every 100 ms after `head`, for at most a minute.
    void trickle(QTcpSocket* socket, const QByteArray& head) {
        socket->write(head);
        auto* drip = new QTimer(socket);
        connect(drip, &QTimer::timeout, socket, [socket, drip, left = 600]() mutable {
            if (socket->state() != QAbstractSocket::ConnectedState || --left < 0)
                drip->stop();
            else
                socket->write("a");
        });
        drip->start(100);
    }

    void writeCanned(QTcpSocket* socket, const Canned& canned) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto* drip = new QTimer(socket);
        const qsizetype step = canned.byteByByte ? 1 : canned.answer.size();
        connect(drip, &QTimer::timeout, socket, [socket, drip, canned, step, at = qsizetype(0)]() mutable {
            if (at < canned.answer.size()) {
                socket->write(canned.answer.mid(at, step));
                at += step;
                return;
            }
            drip->stop();
            if (canned.closeAfter)
                socket->disconnectFromHost();
        });
        drip->start(0);
    }

    QTcpServer server;
};

// A forward proxy on loopback, the only way to the made-up host
// quotes.invalid, which it maps to the server on `originPort`. Other hosts
// are out of its reach, and it tunnels nothing.
class LoopbackProxy : public QObject {
public:
    QByteArrayList requestLines;

    explicit LoopbackProxy(quint16 originPort) {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this, originPort] {
            while (QTcpSocket* client = server.nextPendingConnection())
                connect(client, &QTcpSocket::readyRead, this,
                        [this, client, originPort] { relay(client, originPort); });
        });
    }
    QByteArray address() const { return "http://127.0.0.1:" + QByteArray::number(server.serverPort()); }

private:
    void relay(QTcpSocket* client, quint16 originPort) {
        const QByteArray request = client->readAll();
        if (client->property("relayed").toBool())
            return;
        client->setProperty("relayed", true);
        const QByteArray line = request.left(request.indexOf("\r\n"));
        requestLines.append(line);
        const QUrl target(QString::fromLatin1(line.split(' ').value(1)));
        if (!line.startsWith("GET ") || target.host() != u"quotes.invalid"_qs) {
            client->write("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            client->disconnectFromHost();
            return;
        }
        auto* origin = new QTcpSocket(client);
        connect(origin, &QTcpSocket::connected, origin, [origin, target] {
            origin->write("GET " + target.path().toLatin1() +
                          " HTTP/1.1\r\nHost: quotes.invalid\r\nConnection: close\r\n\r\n");
        });
        connect(origin, &QTcpSocket::readyRead, client,
                [origin, client] { client->write(origin->readAll()); });
        connect(origin, &QTcpSocket::disconnected, client, [client] { client->disconnectFromHost(); });
        origin->connectToHost(QHostAddress::LocalHost, originPort);
    }

    QTcpServer server;
};

quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// `plain` as gzip (window bits 31) or as HTTP's deflate, a zlib stream (15).
QByteArray compressed(const QByteArray& plain, int windowBits) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(plain.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    stream.avail_in = uInt(plain.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

struct Outcome {
    bool done = false;
    std::optional<QByteArray> body;
};

using OptionalBytes = std::optional<QByteArray>;

// One GET through `http`, waited for: done with its answer, or not done when
// none came within `timeoutMs`.
Outcome fetch(CurlHttp& http, const QUrl& url, qint64 maxBytes = Http::kDefaultMaxBytes,
              int timeoutMs = 10000) {
    QObject context;
    Outcome outcome;
    http.get(
        url, &context,
        [&](OptionalBytes body) {
            outcome = {true, body};
        },
        maxBytes);
    const QDeadlineTimer deadline(timeoutMs);
    while (!outcome.done && !deadline.hasExpired())
        QTest::qWait(5);
    return outcome;
}

} // namespace

class CurlHttpTest : public QObject {
    Q_OBJECT
private slots:
    void plainAnswers_data();
    void plainAnswers();
    void hugeAnswerIsCutAndAbandoned();
    void destroyedContextDropsTheAnswer();
    void framing_data();
    void framing();
    void redirects_data();
    void redirects();
    void unusableAddressAnswersNothingLater_data();
    void unusableAddressAnswersNothingLater();
    void tricklingServerNeitherHoldsNorBlocks_data();
    void tricklingServerNeitherHoldsNorBlocks();
    void endlessHeaderIsRefused();
    void compressedAnswersAreRead_data();
    void compressedAnswersAreRead();
    void connectionIsKeptAlive();
    void followsTheUsersProxy_data();
    void followsTheUsersProxy();
    void unverifiedCertificateIsRefused();
    void slowNameLookupEndsAtTheDeadline();
    void cleanup();
};

void CurlHttpTest::plainAnswers_data() {
    QTest::addColumn<QString>("path"); // CLOSED: a port where nothing listens
    QTest::addColumn<int>("deadlineMs");
    QTest::addColumn<OptionalBytes>("expected");
    QTest::newRow("the body") << u"/page"_qs << CurlHttp::kDefaultDeadlineMs
                              << OptionalBytes("\xB9\xA4\xD0\xD0 257.76");
    QTest::newRow("http error") << u"/missing"_qs << CurlHttp::kDefaultDeadlineMs << OptionalBytes();
    QTest::newRow("refused connection") << u"CLOSED"_qs << CurlHttp::kDefaultDeadlineMs << OptionalBytes();
    QTest::newRow("hung server times out") << u"/hang"_qs << 300 << OptionalBytes();
}

void CurlHttpTest::plainAnswers() {
    QFETCH(QString, path);
    QFETCH(int, deadlineMs);
    QFETCH(OptionalBytes, expected);
    LoopbackServer server;
    CurlHttp http(deadlineMs);
    const QUrl url = path == u"CLOSED"_qs ? QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()))
                                          : server.url(path);
    const Outcome outcome = fetch(http, url);
    QVERIFY(outcome.done);
    QCOMPARE(outcome.body, expected);
}

void CurlHttpTest::hugeAnswerIsCutAndAbandoned() {
    LoopbackServer server;
    CurlHttp http;
    constexpr qint64 limit = 256 * 1024;
    const Outcome outcome = fetch(http, server.url(u"/huge"_qs), limit, 20000);
    QVERIFY(outcome.body);
    QCOMPARE(outcome.body->size(), limit);
    // The transfer was dropped long before the 100 MB were sent.
    QTest::qWait(200);
    QVERIFY2(server.bytesSentOnHugePath < 32 * 1024 * 1024,
             qPrintable(QString::number(server.bytesSentOnHugePath)));
}

void CurlHttpTest::destroyedContextDropsTheAnswer() {
    LoopbackServer server;
    CurlHttp http;
    bool called = false;
    {
        QObject context;
        http.get(server.url(u"/page"_qs), &context, [&](std::optional<QByteArray>) { called = true; });
    }
    QTest::qWait(500);
    QVERIFY(!called);
}

void CurlHttpTest::framing_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("closeAfter");
    QTest::addColumn<OptionalBytes>("expected");
    const OptionalBytes nothing;
    // Answers held open must end on their own framing, not on the deadline.
    QTest::newRow("length, held open")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 11\r\n\r\nhello world") << false
        << OptionalBytes("hello world");
    QTest::newRow("chunked, held open")
        << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                      "7;ext=1\r\nhello, \r\nA\r\ngold world\r\n0\r\nX-Trailer: t\r\n\r\n")
        << false << OptionalBytes("hello, gold world");
    QTest::newRow("no content, held open")
        << QByteArray("HTTP/1.1 204 No Content\r\n\r\n") << false << OptionalBytes("");
    QTest::newRow("interim answer first")
        << QByteArray("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok") << false
        << OptionalBytes("ok");
    QTest::newRow("until close") << QByteArray("HTTP/1.0 200 OK\r\n\r\nhello world") << true
                                 << OptionalBytes("hello world");
    QTest::newRow("closed short of length")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nhello") << true << nothing;
    QTest::newRow("closed before last chunk")
        << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n") << true
        << nothing;
    QTest::newRow("not http") << QByteArray("SSH-2.0-OpenSSH_9.2\r\n") << true << nothing;
    QTest::newRow("two lengths")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 11\r\n\r\nhello world")
        << false << nothing;
    QTest::newRow("folded header") << QByteArray(
                                          "HTTP/1.1 200 OK\r\nX-Note: a\r\n b\r\nContent-Length: 2\r\n\r\nok")
                                   << false << nothing;
    QTest::newRow("protocol switched")
        << QByteArray(
               "HTTP/1.1 101 Switching Protocols\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
        << true << nothing;
}

void CurlHttpTest::framing() {
    QFETCH(QByteArray, answer);
    QFETCH(bool, closeAfter);
    QFETCH(OptionalBytes, expected);
    LoopbackServer server;
    server.canned.insert("/canned", {answer, closeAfter, true});
    CurlHttp http;
    const Outcome outcome = fetch(http, server.url(u"/canned"_qs));
    QVERIFY(outcome.done);
    QCOMPARE(outcome.body, expected);
}

void CurlHttpTest::redirects_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<OptionalBytes>("expected");
    const OptionalBytes page("\xB9\xA4\xD0\xD0 257.76");
    QTest::newRow("relative") << QByteArray("/relative") << page;
    QTest::newRow("absolute") << QByteArray("/absolute") << page;
    QTest::newRow("three hops") << QByteArray("/hop1") << page;
    QTest::newRow("loop") << QByteArray("/loop") << OptionalBytes();
    QTest::newRow("other scheme") << QByteArray("/to-ftp") << OptionalBytes();
    QTest::newRow("no location") << QByteArray("/nowhere") << OptionalBytes();
}

void CurlHttpTest::redirects() {
    QFETCH(QByteArray, path);
    QFETCH(OptionalBytes, expected);
    LoopbackServer server;
    const auto redirect = [](const QByteArray& status, const QByteArray& location) {
        return LoopbackServer::Canned{"HTTP/1.1 " + status + "\r\nLocation: " + location +
                                      "\r\nContent-Length: 0\r\n\r\n"};
    };
    server.canned.insert("/relative", redirect("301 Moved Permanently", "page"));
    server.canned.insert("/absolute", redirect("302 Found", server.url(u"/page"_qs).toEncoded()));
    server.canned.insert("/hop1", redirect("303 See Other", "/hop2"));
    server.canned.insert("/hop2", redirect("307 Temporary Redirect", "/hop3"));
    server.canned.insert("/hop3", redirect("308 Permanent Redirect", "/page"));
    server.canned.insert("/loop", redirect("302 Found", "/loop"));
    server.canned.insert("/to-ftp", redirect("302 Found", "ftp://127.0.0.1/page"));
    server.canned.insert("/nowhere", {"HTTP/1.1 302 Found\r\nContent-Length: 0\r\n\r\n"});
    CurlHttp http;
    const Outcome outcome = fetch(http, server.url(QString::fromLatin1(path)));
    QVERIFY(outcome.done);
    QCOMPARE(outcome.body, expected);
    const int loopRequests = server.requestsByPath.value("/loop");
    QVERIFY2(loopRequests <= CurlHttp::kMaxRedirects + 1, qPrintable(QString::number(loopRequests)));
}

void CurlHttpTest::unusableAddressAnswersNothingLater_data() {
    QTest::addColumn<QUrl>("url");
    QTest::newRow("empty") << QUrl();
    QTest::newRow("other scheme") << QUrl(u"ftp://127.0.0.1/page"_qs);
    QTest::newRow("no host") << QUrl(u"http:///page"_qs);
    QTest::newRow("unknown host") << QUrl(u"http://no-such-host.invalid/page"_qs);
}

void CurlHttpTest::unusableAddressAnswersNothingLater() {
    QFETCH(QUrl, url);
    CurlHttp http;
    QObject context;
    Outcome outcome;
    bool insideGet = true;
    bool answeredInsideGet = false;
    http.get(url, &context, [&](OptionalBytes body) {
        answeredInsideGet = insideGet;
        outcome = {true, body};
    });
    insideGet = false;
    QTRY_VERIFY_WITH_TIMEOUT(outcome.done, 10000);
    QVERIFY(!answeredInsideGet);
    QVERIFY(!outcome.body);
}

void CurlHttpTest::tricklingServerNeitherHoldsNorBlocks_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("headers") << u"/trickle-head"_qs;
    QTest::newRow("body") << u"/trickle-body"_qs;
}

void CurlHttpTest::tricklingServerNeitherHoldsNorBlocks() {
    QFETCH(QString, path);
    LoopbackServer server;
    CurlHttp http(2000);
    QObject context;
    int trickleAnswers = 0;
    int trickleBodies = 0;
    // More slow fetches than a connection pool would run side by side.
    for (int i = 0; i < 8; ++i) {
        http.get(server.url(path), &context, [&](OptionalBytes body) {
            ++trickleAnswers;
            trickleBodies += body ? 1 : 0;
        });
    }
    Outcome page;
    http.get(server.url(u"/page"_qs), &context, [&](OptionalBytes body) { page = {true, body}; });
    QTRY_VERIFY_WITH_TIMEOUT(page.done, 10000);
    QVERIFY(page.body);
    // The healthy fetch did not wait for a slow one to end.
    QCOMPARE(trickleAnswers, 0);
    // Each byte arriving in time does not extend the deadline.
    QTRY_COMPARE_WITH_TIMEOUT(trickleAnswers, 8, 15000);
    QCOMPARE(trickleBodies, 0);
}

void CurlHttpTest::endlessHeaderIsRefused() {
    LoopbackServer server;
    CurlHttp http;
    // Refused for its size, long before the 20 s deadline.
    const Outcome outcome = fetch(http, server.url(u"/endless-header"_qs));
    QVERIFY(outcome.done);
    QVERIFY(!outcome.body);
    QTest::qWait(200);
    QVERIFY2(server.bytesSentOnEndlessHeader < 16 * 1024 * 1024,
             qPrintable(QString::number(server.bytesSentOnEndlessHeader)));
}

void CurlHttpTest::compressedAnswersAreRead_data() {
    QTest::addColumn<QByteArray>("encoding");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<OptionalBytes>("expected");
    const QByteArray page("\xB9\xA4\xD0\xD0 257.76 " + QByteArray(2000, 'x'));
    QTest::newRow("gzip") << QByteArray("gzip") << compressed(page, 31) << Http::kDefaultMaxBytes
                          << OptionalBytes(page);
    QTest::newRow("deflate") << QByteArray("deflate") << compressed(page, 15) << Http::kDefaultMaxBytes
                             << OptionalBytes(page);
    // 64 KB on the wire that would inflate to 64 MB: cut at the limit like any large answer.
    constexpr qint64 limit = 256 * 1024;
    QTest::newRow("gzip bomb") << QByteArray("gzip") << compressed(QByteArray(64 << 20, '\0'), 31) << limit
                               << OptionalBytes(QByteArray(limit, '\0'));
}

void CurlHttpTest::compressedAnswersAreRead() {
    QFETCH(QByteArray, encoding);
    QFETCH(QByteArray, body);
    QFETCH(qint64, limit);
    QFETCH(OptionalBytes, expected);
    LoopbackServer server;
    server.canned.insert("/canned",
                         {"HTTP/1.1 200 OK\r\nContent-Encoding: " + encoding +
                              "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body,
                          false});
    CurlHttp http;
    const Outcome outcome = fetch(http, server.url(u"/canned"_qs), limit);
    QVERIFY(outcome.done);
    QCOMPARE(outcome.body, expected);
    QVERIFY(server.lastRequest.contains("\r\nAccept-Encoding: gzip, deflate\r\n"));
}

void CurlHttpTest::connectionIsKeptAlive() {
    LoopbackServer server;
    CurlHttp http;
    for (int i = 0; i < 5; ++i)
        QCOMPARE(fetch(http, server.url(u"/kept"_qs)).body, OptionalBytes("kept"));
    QCOMPARE(server.requestsByPath.value("/kept"), 5);
    QCOMPARE(server.connections, 1);
}

void CurlHttpTest::followsTheUsersProxy_data() {
    // PROXY is the loopback proxy, CLOSED a port where nothing listens, ORIGIN the server's page.
    QTest::addColumn<QByteArrayList>("environment");
    QTest::addColumn<QString>("url");
    QTest::addColumn<OptionalBytes>("expected");
    QTest::addColumn<QByteArrayList>("proxySaw");
    const OptionalBytes page("\xB9\xA4\xD0\xD0 257.76");
    const OptionalBytes nothing;
    QTest::newRow("http through the proxy")
        << QByteArrayList{"http_proxy=PROXY"} << u"http://quotes.invalid/page"_qs << page
        << QByteArrayList{"GET http://quotes.invalid/page HTTP/1.1"};
    QTest::newRow("https tunnelled") << QByteArrayList{"https_proxy=PROXY"}
                                     << u"https://quotes.invalid/page"_qs << nothing
                                     << QByteArrayList{"CONNECT quotes.invalid:443 HTTP/1.1"};
    QTest::newRow("excluded by no_proxy") << QByteArrayList{"http_proxy=PROXY", "no_proxy=quotes.invalid"}
                                          << u"http://quotes.invalid/page"_qs << nothing << QByteArrayList{};
    QTest::newRow("loopback direct") << QByteArrayList{"http_proxy=PROXY"} << u"ORIGIN"_qs << page
                                     << QByteArrayList{};
    QTest::newRow("host out of the proxy's reach")
        << QByteArrayList{"http_proxy=PROXY"} << u"http://elsewhere.invalid/page"_qs << nothing
        << QByteArrayList{"GET http://elsewhere.invalid/page HTTP/1.1"};
    QTest::newRow("proxy refuses connections")
        << QByteArrayList{"http_proxy=CLOSED"} << u"http://quotes.invalid/page"_qs << nothing
        << QByteArrayList{};
}

void CurlHttpTest::followsTheUsersProxy() {
    QFETCH(QByteArrayList, environment);
    QFETCH(QString, url);
    QFETCH(OptionalBytes, expected);
    QFETCH(QByteArrayList, proxySaw);
    LoopbackServer server;
    LoopbackProxy proxy(server.port());
    for (const QByteArray& setting : environment) {
        const qsizetype equals = setting.indexOf('=');
        QByteArray value = setting.mid(equals + 1);
        value.replace("PROXY", proxy.address())
            .replace("CLOSED", "http://127.0.0.1:" + QByteArray::number(closedPort()));
        qputenv(setting.left(equals), value);
    }
    CurlHttp http;
    const Outcome outcome = fetch(http, url == u"ORIGIN"_qs ? server.url(u"/page"_qs) : QUrl(url));
    QVERIFY(outcome.done);
    QCOMPARE(outcome.body, expected);
    QCOMPARE(proxy.requestLines, proxySaw);
}

void CurlHttpTest::unverifiedCertificateIsRefused() {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(
        QSslCertificate::fromPath(QStringLiteral(AURIVEX_TEST_DATA_DIR "/tls/self-signed.crt")).value(0));
    QFile key(QStringLiteral(AURIVEX_TEST_DATA_DIR "/tls/self-signed.key"));
    QVERIFY(key.open(QIODevice::ReadOnly));
    tls.setPrivateKey(QSslKey(&key, QSsl::Rsa));
    QSslServer server;
    server.setSslConfiguration(tls);
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QList<QSsl::AlertType> alerts;
    connect(
        &server, &QSslServer::alertReceived, this,
        [&](QSslSocket*, QSsl::AlertLevel, QSsl::AlertType type, const QString&) { alerts.append(type); });
    CurlHttp http;
    const Outcome outcome =
        fetch(http, QUrl(QStringLiteral("https://127.0.0.1:%1/page").arg(server.serverPort())));
    QVERIFY(outcome.done);
    QVERIFY(!outcome.body);
    // The client itself turned the certificate down.
    QTRY_VERIFY(alerts.contains(QSsl::AlertType::UnknownCa));
}

void CurlHttpTest::slowNameLookupEndsAtTheDeadline() {
    const auto* lookupsRunning =
        static_cast<const std::atomic<int>*>(dlsym(RTLD_DEFAULT, "aurivexSlowLookupsRunning"));
    if (!lookupsRunning)
        QSKIP("needs the slow lookup preloaded (CTest does)");
    CurlHttp http(300);
    QObject context;
    Outcome outcome;
    int runningAtAnswer = 0;
    http.get(QUrl(u"http://quotes.slow-lookup.invalid/page"_qs), &context, [&](OptionalBytes body) {
        runningAtAnswer = lookupsRunning->load();
        outcome = {true, body};
    });
    QTRY_VERIFY_WITH_TIMEOUT(outcome.done, 15000);
    QVERIFY(!outcome.body);
    // The answer, and the event loop with it, did not wait for the lookup to end.
    QCOMPARE(runningAtAnswer, 1);
}

void CurlHttpTest::cleanup() {
    for (const char* name : {"http_proxy", "https_proxy", "no_proxy"})
        qunsetenv(name);
}

QTEST_GUILESS_MAIN(CurlHttpTest)
#include "test_curl_http.moc"
