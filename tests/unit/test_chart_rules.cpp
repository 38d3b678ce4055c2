// The chart catalogue's addresses, the cache that keeps fetched chart images
// until the web cache is emptied, and what an image may cost to decode.
#include "charts/chart_catalogue.h"
#include "charts/image_bounds.h"
#include "platform/download_cache.h"
#include "support/gif_forge.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ChartRulesTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsLoadTheirAddresses_data();
    void buttonsLoadTheirAddresses();
    void everyPanelHasItsHost();
    void unconfiguredHostAsksForNothing();
    void chartWindowsLoadTheirImages();
    void downloadCacheKeepsTheRecentlyUsedWithinItsBound();
    void imagesBeyondTheirBoundsAreRefused_data();
    void imagesBeyondTheirBoundsAreRefused();
};

void ChartRulesTest::buttonsLoadTheirAddresses_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("enlarge");
    const QString kline = u"超文本浏览框_K线图"_s;
    const QString embed = u"http://portal:80/embed.aspx?"_s;
    QTest::newRow("5 minutes") << u"按钮_五分钟K线显示"_s << kline << embed + u"code=XAUUSD&time=0&type=1"_s
                               << u"五分钟K线"_s << QString();
    QTest::newRow("daily") << u"按钮_日K线显示"_s << kline << embed + u"code=XAUUSD&time=4&type=1"_s
                           << u"日K线"_s << QString();
    QTest::newRow("weekly") << u"按钮_周K线显示"_s << kline << embed + u"code=XAUUSD&time=5&type=1"_s
                            << u"周K线"_s << QString();
    QTest::newRow("MACD") << u"按钮_MACD"_s << kline << embed + u"code=XAUUSD&time=4&type=1&tech=6"_s
                          << u"MACD"_s << QString();
    QTest::newRow("KDJ") << u"按钮_KDJ"_s << kline << embed + u"code=XAUUSD&time=4&type=1&tech=9"_s
                         << u"KDJ"_s << QString();
    QTest::newRow("W%R") << u"按钮_WR"_s << kline << embed + u"code=XAUUSD&time=4&type=1&tech=10"_s << u"WR"_s
                         << QString();
    QTest::newRow("ROC") << u"按钮_ROC"_s << kline << embed + u"code=XAUUSD&time=4&type=1&tech=13"_s
                         << u"ROC"_s << QString();
    QTest::newRow("five years") << u"按钮_五年黄金价格图放大"_s << u"超文本浏览框_五年黄金图"_s
                                << u"http://images:81/cn/past_charts/au1825lds_cny.gif"_s << QString()
                                << u"http://images:81/cn/past_charts/au1825ldb_cny.gif"_s;
    QTest::newRow("30 days") << u"按钮_三十天黄金价格图放大"_s << u"超文本浏览框_三十天黄金图"_s
                             << u"http://images:81/cn/past_charts/au0030lds_cny.gif"_s << QString()
                             << u"http://images:81/cn/past_charts/au0030ldb_cny.gif"_s;
    QTest::newRow("two-year technical")
        << u"按钮_两年黄金价格走势技术分析图"_s << u"超文本浏览框_势技术分析图"_s
        << u"http://images:81/cn/tech_charts/au0730lf_ma_cn.gif"_s << QString() << QString();
}

void ChartRulesTest::buttonsLoadTheirAddresses() {
    QFETCH(QString, button);
    QFETCH(QString, control);
    QFETCH(QString, url);
    QFETCH(QString, status);
    QFETCH(QString, enlarge);
    const charts::ChartLink* row = charts::chartOfButton(button);
    QVERIFY(row);
    const QString host = row->host == charts::Host::KLine ? u"portal:80"_s : u"images:81"_s;
    QCOMPARE(row->controlName(), control);
    QCOMPARE(row->url(host).toString(), url);
    QCOMPARE(row->statusText(), status);
    QCOMPARE(row->enlargeUrl(host).toString(), enlarge);
}

void ChartRulesTest::everyPanelHasItsHost() {
    QCOMPARE(charts::pageCharts(1).size(), 6);
    QCOMPARE(charts::pageCharts(3).size(), 14);
    QCOMPARE(charts::pageCharts(4).size(), 4);
    QCOMPARE(charts::chart24().url(u"h"_s).toString(),
             u"http://h/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s);
    const QList<charts::ChartLink> influence = charts::pageCharts(2);
    QCOMPARE(influence[2].host, charts::Host::ImageIntl);
    QCOMPARE(influence[2].url(u"intl"_s).toString(), u"http://intl/images/live/gold.gif"_s);
    QCOMPARE(charts::hostKey(charts::Host::ImageIntl), u"chartImageIntlHost"_s);
    QCOMPARE(charts::partnerUrl(u"partner:82"_s).toString(), u"http://partner:82/"_s);
    for (const charts::ChartLink& row : charts::catalogue())
        QCOMPARE(row.content == charts::Content::Page, row.host == charts::Host::KLine);
}

void ChartRulesTest::unconfiguredHostAsksForNothing() {
    QVERIFY(charts::chart24().url(QString()).isEmpty());
    QVERIFY(charts::chart24().url(u"  "_s).isEmpty());
    QVERIFY(charts::chartUrl(u"bad host^"_s, u"/x.gif"_s).isEmpty());
}

void ChartRulesTest::chartWindowsLoadTheirImages() {
    using charts::ChartWindowKind;
    QCOMPARE(charts::chartWindows().size(), 6);
    const charts::ChartWindowDesign& newYork = charts::chartWindow(ChartWindowKind::NewYorkGold);
    QCOMPARE(newYork.titleText(), u"纽约黄金价格走势图"_s);
    QVERIFY(newYork.clearsCache);
    QCOMPARE(QString::fromUtf8(newYork.path), u"/cn/live_charts/nygoldcn.gif"_s);
    QVERIFY(!charts::chartWindow(ChartWindowKind::DollarIndex30).clearsCache);
    QVERIFY(!charts::chartWindow(ChartWindowKind::HistoryEnlarge).refreshButton);
    QVERIFY(charts::chartWindow(ChartWindowKind::ThreeDayCny).legend);
    QCOMPARE(charts::chartWindow(ChartWindowKind::ThreeDayCny).openerName(), u"按钮_三天黄金走势图"_s);
}

void ChartRulesTest::downloadCacheKeepsTheRecentlyUsedWithinItsBound() {
    DownloadCache cache;
    const QByteArray third(DownloadCache::kMaxBytes / 3, 'x');
    const QUrl a(u"http://h/a.gif"_s), b(u"http://h/b.gif"_s), c(u"http://h/c.gif"_s), d(u"http://h/d.gif"_s);
    cache.store(a, third);
    cache.store(b, third);
    cache.store(c, third);
    QCOMPARE(cache.count(), 3);
    QVERIFY(cache.find(a)); // shown again: b is now the one used longest ago
    cache.store(d, third);
    QVERIFY(!cache.find(b));
    QVERIFY(cache.find(c) && cache.find(d) && cache.find(a));
    QCOMPARE(cache.bytes(), 3 * third.size());
    cache.store(c, "new"); // replacing a file frees its old bytes before anything goes
    QCOMPARE(cache.find(c), std::optional<QByteArray>("new"));
    QCOMPARE(cache.count(), 3);
    QCOMPARE(cache.bytes(), 2 * third.size() + 3);
    cache.store(a, QByteArray(DownloadCache::kMaxBytes + 1, 'y')); // too large to keep at all
    QVERIFY(!cache.find(a));
    QCOMPARE(cache.count(), 2);
    cache.clear();
    QCOMPARE(cache.count(), 0);
    QCOMPARE(cache.bytes(), 0);
}

void ChartRulesTest::imagesBeyondTheirBoundsAreRefused_data() {
    using gifforge::Frame;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<int>("frames");
    QTest::addColumn<qint64>("work");
    QTest::addColumn<bool>("wellFormed");
    QTest::addColumn<bool>("within");
    const QRect chart(0, 0, 450, 275);
    const auto gif = gifforge::gif;
    QTest::newRow("chart") << gif({450, 275}, {{chart}}) << QSize(450, 275) << 1 << 123750LL << true << true;
    QTest::newRow("animated chart") << gif({450, 275}, {{chart}, {chart, -1, 2}, {QRect(10, 10, 20, 20)}})
                                    << QSize(450, 275) << 3 << 123750LL << true << true;
    QTest::newRow("still at the side bound") << gif({4096, 4096}, {{QRect(0, 0, 4096, 4096)}})
                                             << QSize(4096, 4096) << 1 << 4096LL * 4096 << true << true;
    QTest::newRow("still beyond it") << gif({4097, 10}, {{QRect(0, 0, 4097, 10)}}) << QSize(4097, 10) << 1
                                     << 40970LL << true << false;
    const Frame bomb{QRect(0, 0, 5700, 5700)};
    QTest::newRow("5700 square animation")
        << gif({5700, 5700}, {bomb, bomb, bomb}) << QSize(5700, 5700) << 3 << 5700LL * 5700 << true << false;
    // The decoder allocates the screen whatever the frames say.
    QTest::newRow("large screen, small frame")
        << gif({5700, 5700}, {{QRect(0, 0, 100, 100)}}) << QSize(5700, 5700) << 1 << 10000LL << true << false;
    QTest::newRow("no screen size") << gif({0, 0}, {{QRect(10, 10, 200, 100)}}) << QSize(210, 110) << 1
                                    << 20000LL << true << true;
    // Data that unpacks far past its frame costs what it unpacks to.
    QTest::newRow("still unpacking past its frame")
        << gif({450, 275}, {{chart, 20'000'000}}) << QSize(450, 275) << 1 << 20'000'000LL << true << false;
    QTest::newRow("animation unpacking past its frames")
        << gif({450, 275}, {{chart, 2'000'000}, {chart}}) << QSize(450, 275) << 2 << 2'000'000LL << true
        << false;
    QTest::newRow("animation beyond its canvas bound")
        << gif({1100, 1000}, {{QRect(0, 0, 10, 10)}, {QRect(0, 0, 10, 10)}}) << QSize(1100, 1000) << 2
        << 100LL << true << false;
    const QList<Frame> many(charts::kMaxAnimationFrames + 1, Frame{QRect(0, 0, 10, 10)});
    QTest::newRow("too many frames") << gif({10, 10}, many) << QSize(10, 10)
                                     << charts::kMaxAnimationFrames + 1 << 100LL << true << false;
    // Clear, one pixel, then code 7 while 6 is the next entry.
    gifforge::Codes undefined;
    for (int code : {4, 1, 7, 5})
        undefined.put(code, 3);
    QTest::newRow("undefined code") << gif({10, 10}, {{QRect(0, 0, 10, 10), -1, 1, undefined.finish()}})
                                    << QSize(10, 10) << 1 << 1LL << false << true;
    const QByteArray whole = gif({450, 275}, {{chart}, {chart}});
    QTest::newRow("cut short") << whole.chopped(10) << QSize(450, 275) << 2 << 123750LL << true << true;
}

void ChartRulesTest::imagesBeyondTheirBoundsAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, canvas);
    QFETCH(int, frames);
    QFETCH(qint64, work);
    QFETCH(bool, wellFormed);
    QFETCH(bool, within);
    // The bombs stay small: what they ask is read from a few kilobytes.
    QVERIFY(bytes.size() < 64 * 1024);
    const std::optional<charts::GifShape> shape = charts::scanGif(bytes);
    QVERIFY(shape);
    QCOMPARE(shape->canvas, canvas);
    QCOMPARE(shape->frames, frames);
    QCOMPARE(shape->largestFrameWork, work);
    QCOMPARE(shape->wellFormed, wellFormed);
    QCOMPARE(charts::withinImageBounds(shape->canvas, shape->frames, shape->largestFrameWork), within);
    QVERIFY(!charts::scanGif(QByteArray::fromHex("89504e470d0a1a0a")));
}

QTEST_GUILESS_MAIN(ChartRulesTest)
#include "test_chart_rules.moc"
