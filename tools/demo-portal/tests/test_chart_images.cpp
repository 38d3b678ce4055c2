// The demo portal's charts: every chart path answers with a GIF of its panel's
// size drawn from the portal's price history, GIF keeps the drawing's colours,
// gold ends at the quote page's price, candles hold their bodies, and the K-line
// and partner pages carry their data and script.
#include "chart_images.h"
#include "demo_portal.h"
#include "gif_writer.h"
#include "kline_page.h"
#include "partner_page.h"

#include <QBuffer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace demoportal;

namespace {

constexpr qint64 kNow = 1'800'000'000; // a fixed instant: the same charts every run

QImage decode(const QByteArray& gif) {
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.read();
}

// Pixels of an image in a colour the chart never uses elsewhere.
int pixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff);
    }
    return count;
}

} // namespace

class ChartImagesTest : public QObject {
    Q_OBJECT
private slots:
    void everyChartIsAGifOfItsPanelSize_data();
    void everyChartIsAGifOfItsPanelSize();
    void gifKeepsTheColoursDrawn();
    void goldFollowsTheQuotePageWalk();
    void threeDayChartDrawsThreeDays();
    void candlesHoldTheirBodies_data();
    void candlesHoldTheirBodies();
    void pagesCarryTheirDataAndScript();
    void portalServesTheCharts();
};

void ChartImagesTest::everyChartIsAGifOfItsPanelSize_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    const QList<std::pair<const char*, QSize>> charts = {
        {"/cn/metals/gold/t24_au_cny_gram_450x275g.gif", {450, 275}},
        {"/cn/past_charts/au0030lds_cny.gif", {290, 185}},
        {"/cn/past_charts/au3650lds_cny.gif", {290, 185}},
        {"/cn/past_charts/au1825ldb_cny.gif", {480, 300}},
        {"/cn/live_charts/t24_crude_cn180x120.gif", {180, 120}},
        {"/cn/live_charts/t24_usd_cn180x120.gif", {180, 120}},
        {"/images/live/gold.gif", {640, 400}},
        {"/cn/past_charts/usd_30d_cn450x275.gif", {450, 275}},
        {"/cn/past_charts/crude_30d_cn450x275.gif", {450, 275}},
        {"/cn/live_charts/nygoldcn.gif", {640, 280}},
        {"/cn/live_charts/goldcn.gif", {640, 420}},
        {"/cn/live_charts/goldcny.gif", {640, 420}},
        {"/cn/tech_charts/au0365lf_ma_cn.gif", {640, 420}},
        {"/cn/tech_charts/au3650lf_ma_cn.gif", {640, 420}},
    };
    for (const auto& [path, size] : charts)
        QTest::newRow(path) << QString::fromUtf8(path) << size;
}

void ChartImagesTest::everyChartIsAGifOfItsPanelSize() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    PriceWalk walk(3);
    MarketHistory history(3, walk, kNow - 3600);
    ChartImages images(history);
    QVERIFY(ChartImages::paths().contains(path));
    const QByteArray gif = images.gif(path, kNow);
    QVERIFY(gif.startsWith("GIF89a"));
    const QImage image = decode(gif);
    QCOMPARE(image.size(), size);
    // A chart, not a blank: the price line and the axis text are there.
    QVERIFY(pixelsOf(image, qRgb(40, 40, 40)) > 50);
    QVERIFY(pixelsOf(image, qRgb(255, 255, 255)) < size.width() * size.height() / 2);
}

void ChartImagesTest::gifKeepsTheColoursDrawn() {
    QImage drawn(40, 20, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    painter.fillRect(0, 0, 10, 20, QColor(0, 160, 0));
    painter.fillRect(10, 0, 10, 20, QColor(255, 0, 0));
    painter.fillRect(20, 0, 10, 10, QColor(0, 0, 255));
    painter.end();
    const QImage decoded = decode(encodeGif(drawn)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(decoded, drawn);
    QVERIFY(encodeGif(QImage()).isEmpty());
}

void ChartImagesTest::goldFollowsTheQuotePageWalk() {
    PriceWalk walk(5);
    MarketHistory history(5, walk, kNow - 7200);
    const double start = walk.buy().toDouble();
    PricePoints day = history.goldIntraday(kNow - 86400, kNow - 3600);
    QCOMPARE(day.last().y(), start);
    QVERIFY(day.size() > 200);

    history.observe(kNow - 3600);
    walk.pin(u"901.23"_s, u"902.03"_s);
    history.observe(kNow - 1800);
    day = history.goldIntraday(kNow - 86400, kNow);
    QCOMPARE(day.last().y(), 901.23);
    QCOMPARE(day[day.size() - 2], QPointF(kNow - 1800, 901.23)); // what the walk quoted is kept
    QVERIFY(std::is_sorted(day.begin(), day.end(),
                           [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));

    const PricePoints years = history.goldDaily(3650, kNow);
    QCOMPARE(years.size(), 3650);
    QCOMPARE(years.last().y(), 901.23);
    // Ten years ago gold stood at a fraction of today's price, as it did.
    QVERIFY(years.first().y() < 600 && years.first().y() > 100);
    QCOMPARE(history.crudeDaily(30, kNow).size(), 30);
}

void ChartImagesTest::threeDayChartDrawsThreeDays() {
    PriceWalk walk(8);
    MarketHistory history(8, walk, kNow - 600);
    ChartImages images(history);
    // Late in the Beijing day, so that today's line has a length of its own.
    const qint64 evening = (kNow + 8 * 3600) / 86400 * 86400 - 8 * 3600 + 20 * 3600;
    const QImage chart = decode(images.gif(u"/cn/live_charts/goldcny.gif"_s, evening));
    for (const QRgb colour : {qRgb(0, 160, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)})
        QVERIFY2(pixelsOf(chart, colour) > 300, qPrintable(QString::number(colour, 16)));
}

void ChartImagesTest::candlesHoldTheirBodies_data() {
    QTest::addColumn<int>("period");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("5 minutes") << 0 << qint64(300);
    QTest::newRow("60 minutes") << 3 << qint64(3600);
    QTest::newRow("daily") << 4 << qint64(86400);
    QTest::newRow("weekly") << 5 << qint64(7 * 86400);
}

void ChartImagesTest::candlesHoldTheirBodies() {
    QFETCH(int, period);
    QFETCH(qint64, seconds);
    PriceWalk walk(9);
    MarketHistory history(9, walk, kNow - 3600);
    const QList<Candle> candles = goldCandles(history, period, 100, kNow);
    QCOMPARE(candles.size(), 100);
    for (qsizetype i = 0; i < candles.size(); ++i) {
        const Candle& c = candles[i];
        QVERIFY(c.high >= std::max(c.open, c.close) && c.low <= std::min(c.open, c.close));
        QVERIFY(c.low > 0);
        if (i > 0) {
            QCOMPARE(c.time - candles[i - 1].time, seconds);
            QCOMPARE(c.open, candles[i - 1].close);
        }
    }
    // Gold in dollars an ounce, ending at the quote page's price.
    QVERIFY(qAbs(candles.last().close - MarketHistory::toUsdPerOunce(walk.buy().toDouble())) < 0.01);
    QVERIFY(goldCandles(history, 6, 100, kNow).isEmpty());
}

void ChartImagesTest::pagesCarryTheirDataAndScript() {
    PriceWalk walk(4);
    MarketHistory history(4, walk, kNow - 3600);
    const QString kdj = QString::fromUtf8(kLinePage(history, 4, 9, kNow));
    QVERIFY(kdj.contains(u"var TECH=9;"_s));
    QVERIFY(kdj.contains(u"日K线 KDJ"_s));
    QVERIFY(kdj.contains(u"<canvas"_s));
    QVERIFY(!kdj.contains(u"src="_s)); // nothing from outside
    QVERIFY(QString::fromUtf8(kLinePage(history, 1, 0, kNow)).contains(u"var TECH=0;"_s));
    const QString partner = QString::fromUtf8(partnerPage(history, kNow));
    QVERIFY(partner.contains(u"/partner/quote.json"_s));
    QVERIFY(partner.contains(u"<title>综合看盘</title>"_s));
    QVERIFY(QString::fromUtf8(partnerQuote(history, kNow)).contains(u"\"cny\":"_s + walk.buy()));
}

void ChartImagesTest::portalServesTheCharts() {
    DemoPortal portal(11);
    const quint16 port = portal.listen(0);
    QVERIFY(port > 0);
    QNetworkAccessManager network;
    const auto get = [&](const QString& path) {
        QNetworkReply* reply =
            network.get(QNetworkRequest(QUrl(u"http://127.0.0.1:%1%2"_s.arg(port).arg(path))));
        QEventLoop loop;
        connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        reply->deleteLater();
        return std::pair(reply->header(QNetworkRequest::ContentTypeHeader).toString(), reply->readAll());
    };
    const auto [gifType, gif] = get(u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s);
    QCOMPARE(gifType, u"image/gif"_s);
    QCOMPARE(decode(gif).size(), QSize(450, 275));
    const auto [pageType, page] = get(u"/embed.aspx?code=XAUUSD&time=4&type=1&tech=9"_s);
    QVERIFY(pageType.startsWith(u"text/html"_s));
    QVERIFY(page.contains("var TECH=9;"));
    QVERIFY(get(u"/"_s).second.contains("POINTS"));
}

QTEST_MAIN(ChartImagesTest)
#include "test_chart_images.moc"
