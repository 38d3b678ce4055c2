#include "platform/network/demo_portal_process.h"
#include "quote_fields.h"
#include "quote_page_builder.h"
#include "support/http_get.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace demoportal;

// Runs the real portal program and talks HTTP to it.
class DemoPortalServerTest : public QObject {
    Q_OBJECT

    QProcess portal_;
    quint16 port_ = 0;
    QNetworkAccessManager network_;

    HttpAnswer get(const QString& pathAndQuery, int timeoutMs = 5000) {
        return httpGet(network_, QUrl(u"http://127.0.0.1:%1%2"_s.arg(port_).arg(pathAndQuery)), timeoutMs);
    }

private slots:
    void initTestCase() {
        portal_.setProgram(QStringLiteral(DEMO_PORTAL_PROGRAM));
        portal_.setArguments({u"--port"_s, u"0"_s, u"--seed"_s, u"7"_s});
        portal_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        portal_.start();
        QVERIFY2(portal_.waitForStarted(5000), qPrintable(portal_.errorString()));
        QDeadlineTimer deadline(5000);
        while (!portal_.canReadLine() && !deadline.hasExpired())
            portal_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        const QByteArray line = portal_.readLine().trimmed();
        QVERIFY2(line.startsWith("listening on "), line.constData());
        port_ = static_cast<quint16>(line.mid(13).toUInt());
        QVERIFY(port_ > 0);
    }

    void init() { QCOMPARE(get(u"/demo/reset"_s).status, 200); }

    void quotePage_isGbkHtmlWithWalkingPricesAtTheCutOffsets() {
        QStringList buys;
        for (int i = 0; i < 5; ++i) {
            const HttpAnswer page = get(u"/quote/index.html"_s);
            QCOMPARE(page.status, 200);
            QCOMPARE(page.contentType, QByteArray("text/html; charset=gbk"));
            const QByteArray buy = cutField(page.body, kBuyOffset);
            const QByteArray sell = cutField(page.body, kSellOffset);
            QCOMPARE(buy.size(), kFieldLength);
            QCOMPARE(sell.size(), kFieldLength);
            QVERIFY(buy.toDouble() >= 850 && sell.toDouble() <= 950);
            QVERIFY(buy.toDouble() < sell.toDouble());
            buys << QString::fromLatin1(buy);
        }
        buys.removeDuplicates();
        QVERIFY(buys.size() > 1);
    }

    void modes_changeTheQuoteAnswer() {
        QCOMPARE(get(u"/demo/price?buy=257.76&sell=258.56"_s).body, QByteArray("ok"));
        HttpAnswer page = get(u"/quote/index.html"_s);
        QCOMPARE(cutField(page.body, kBuyOffset), QByteArray("257.76"));
        QCOMPARE(cutField(page.body, kSellOffset), QByteArray("258.56"));

        QCOMPARE(get(u"/demo/mode?page=broken-buy"_s).status, 200);
        QCOMPARE(cutField(get(u"/quote/index.html"_s).body, kBuyOffset), QByteArray("57.76<"));

        QCOMPARE(get(u"/demo/mode?page=broken-sell"_s).status, 200);
        page = get(u"/quote/index.html"_s);
        QCOMPARE(cutField(page.body, kBuyOffset), QByteArray("257.76"));
        QVERIFY(cutField(page.body, kSellOffset).contains('>'));

        QCOMPARE(get(u"/demo/mode?page=no-marker"_s).status, 200);
        page = get(u"/quote/index.html"_s);
        QCOMPARE(page.status, 200);
        QVERIFY(!page.body.isEmpty() && !page.body.contains(rowMarker()));

        QCOMPARE(get(u"/demo/mode?page=empty"_s).status, 200);
        page = get(u"/quote/index.html"_s);
        QCOMPARE(page.status, 200);
        QVERIFY(page.body.isEmpty());

        QCOMPARE(get(u"/demo/mode?page=error"_s).status, 200);
        QCOMPARE(get(u"/quote/index.html"_s).status, 500);

        QCOMPARE(get(u"/demo/mode?page=normal"_s).status, 200);
        QCOMPARE(cutField(get(u"/quote/index.html"_s).body, kBuyOffset), QByteArray("257.76"));
    }

    void controls_rejectMalformedRequests_data() {
        QTest::addColumn<QString>("request");
        QTest::newRow("unknown mode") << u"/demo/mode?page=slow"_s;
        QTest::newRow("no mode") << u"/demo/mode"_s;
        QTest::newRow("short buy") << u"/demo/price?buy=57.76&sell=258.56"_s;
        QTest::newRow("text sell") << u"/demo/price?buy=257.76&sell=abcdef"_s;
        QTest::newRow("missing sell") << u"/demo/price?buy=257.76"_s;
    }

    void controls_rejectMalformedRequests() {
        QFETCH(QString, request);
        QCOMPARE(get(request).status, 400);
        // A rejected request changes nothing.
        const QByteArray buy = cutField(get(u"/quote/index.html"_s).body, kBuyOffset);
        QCOMPARE(buy.size(), kFieldLength);
        QVERIFY(buy.toDouble() >= 850);
    }

    void hang_leavesTheQuoteUnansweredButServesEverythingElse() {
        QCOMPARE(get(u"/demo/mode?page=hang"_s).status, 200);
        QNetworkRequest request(QUrl(u"http://127.0.0.1:%1/quote/index.html"_s.arg(port_)));
        QNetworkReply* hung = network_.get(request);
        QTest::qWait(300);
        QCOMPARE(get(u"/demo/reset"_s).status, 200);
        QCOMPARE(get(u"/quote/index.html"_s).status, 200);
        QTest::qWait(700);
        QVERIFY(!hung->isFinished());
        hung->abort();
        delete hung;
        // The portal copes with the client giving up.
        QCOMPARE(get(u"/quote/index.html"_s).status, 200);
    }

    // A program's own portal: found beside it or in the build's tools/, on a
    // port of its own, gone when the program's end closes its input.
    void ownPortal_listensOnAFreePortAndEndsWithItsInput() {
        const QFileInfo program(QStringLiteral(DEMO_PORTAL_PROGRAM));
        QCOMPARE(DemoPortalProcess::locate(program.path()), program.canonicalFilePath());
        QCOMPARE(DemoPortalProcess::locate(QStringLiteral(AURIVEX_PROGRAM_DIR)), program.canonicalFilePath());
        QVERIFY(DemoPortalProcess::locate(QDir::tempPath()).isEmpty());

        QString address;
        {
            DemoPortalProcess own;
            QVERIFY(own.start(program.filePath()));
            address = own.address(10000);
            QVERIFY2(address.startsWith(u"127.0.0.1:"_s) && address != u"127.0.0.1:%1"_s.arg(port_),
                     qPrintable(address));
            QVERIFY(DemoPortalProcess::answers(address, 5000));
        }
        QVERIFY(!DemoPortalProcess::answers(address, 2000));

        QProcess orphan;
        orphan.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        orphan.start(program.filePath(), {u"--port"_s, u"0"_s, u"--exit-with-stdin"_s});
        QVERIFY(orphan.waitForReadyRead(10000));
        orphan.closeWriteChannel();
        QVERIFY(orphan.waitForFinished(10000));
        QCOMPARE(orphan.exitStatus(), QProcess::NormalExit);
        QCOMPARE(orphan.exitCode(), 0);
    }

    void cleanupTestCase() {
        if (portal_.state() == QProcess::NotRunning)
            return;
        portal_.terminate();
        const bool stopped = portal_.waitForFinished(5000);
        if (!stopped)
            portal_.kill();
        QVERIFY(stopped);
        QCOMPARE(portal_.exitStatus(), QProcess::NormalExit);
        QCOMPARE(portal_.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(DemoPortalServerTest)
#include "test_demo_portal_server.moc"
