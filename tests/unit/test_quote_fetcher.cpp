// Fetching the quote page: what reaches the model, and the one data error
// that ends the program.
#include "platform/gbk.h"
#include "quotes/quote_fetcher.h"
#include "quotes/quote_model.h"
#include "quotes/quote_page.h"
#include "support/fake_http.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QByteArray page(const QByteArray& buy, const QByteArray& sell) {
    QByteArray row = quotepage::rowMarker() + QByteArray(400, ' ');
    row.replace(quotepage::kBuyOffset, buy.size(), buy);
    row.replace(quotepage::kSellOffset, sell.size(), sell);
    return gbk::encode(u"<html><body><table><tr><td>"_qs) + row;
}

} // namespace

class QuoteFetcherTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void asksForThePortalPage();
    void storesBothFields();
    void failuresAreSilent_data();
    void failuresAreSilent();
    void fetchesNeverPileUp();
    void dataErrorIsRaisedOnceAndStopsEverything();
    void sellErrorLeavesNewBuyBehind();
    void keepsOnlyABoundedBody();
    void demoMarkFollowsThePageThePricesCameFrom();

private:
    FakeHttp* http = nullptr;
    QuoteModel* model = nullptr;
    QuoteFetcher* fetcher = nullptr;
    QSignalSpy* errors = nullptr;
};

void QuoteFetcherTest::init() {
    http = new FakeHttp;
    model = new QuoteModel;
    fetcher = new QuoteFetcher(*model, *http, QuoteFetcher::pageUrl(u"127.0.0.1:18090"_qs));
    errors = new QSignalSpy(fetcher, &QuoteFetcher::dataError);
}

void QuoteFetcherTest::cleanup() {
    delete errors;
    delete fetcher;
    delete model;
    delete http;
}

void QuoteFetcherTest::asksForThePortalPage() {
    fetcher->startQuoteFetch();
    QCOMPARE(http->requested.size(), 1);
    QCOMPARE(http->requested.first(), QUrl(u"http://127.0.0.1:18090/quote/index.html"_qs));
    QVERIFY(!http->requested.first().hasQuery());
}

void QuoteFetcherTest::storesBothFields() {
    fetcher->startQuoteFetch();
    http->answer(page("257.76", "258.56"));
    QCOMPARE(model->baseBuy(), QByteArray("257.76"));
    QCOMPARE(model->baseSell(), QByteArray("258.56"));
    QCOMPARE(errors->size(), 0);
}

void QuoteFetcherTest::failuresAreSilent_data() {
    QTest::addColumn<std::optional<QByteArray>>("body");
    QTest::newRow("no answer") << std::optional<QByteArray>();
    QTest::newRow("empty body") << std::optional<QByteArray>(QByteArray());
    QTest::newRow("no marker") << std::optional<QByteArray>(gbk::encode(u"<html>维护中</html>"_qs));
}

void QuoteFetcherTest::failuresAreSilent() {
    QFETCH(std::optional<QByteArray>, body);
    fetcher->applyQuotePage(page("257.76", "258.56"));
    fetcher->startQuoteFetch();
    http->answer(body);
    QCOMPARE(model->baseBuy(), QByteArray("257.76"));
    QCOMPARE(model->baseSell(), QByteArray("258.56"));
    QCOMPARE(errors->size(), 0);
}

void QuoteFetcherTest::fetchesNeverPileUp() {
    fetcher->startQuoteFetch();
    fetcher->startQuoteFetch();
    fetcher->startQuoteFetch();
    QCOMPARE(http->pending.size(), 1);
    // A failed answer frees the way as well as a good one.
    http->answer(std::nullopt);
    fetcher->startQuoteFetch();
    fetcher->startQuoteFetch();
    QCOMPARE(http->pending.size(), 1);
    http->answer(page("902.50", "903.30"));
    QCOMPARE(model->baseBuy(), QByteArray("902.50"));
    fetcher->startQuoteFetch();
    QCOMPARE(http->requested.size(), 3);
}

void QuoteFetcherTest::dataErrorIsRaisedOnceAndStopsEverything() {
    fetcher->startQuoteFetch();
    http->answer(page("57.76<", "258.56"));
    fetcher->applyQuotePage(page("57.76<", "258.56"));
    fetcher->applyQuotePage(page("257.76", "258.56"));
    QCOMPARE(errors->size(), 1);
    // Nothing is stored from the broken page, nor from pages after it.
    QVERIFY(model->baseBuy().isEmpty());
    QVERIFY(model->baseSell().isEmpty());
    fetcher->startQuoteFetch();
    QVERIFY(http->pending.isEmpty());
}

void QuoteFetcherTest::sellErrorLeavesNewBuyBehind() {
    fetcher->applyQuotePage(page("257.76", "258.56"));
    fetcher->applyQuotePage(page("260.01", "26>.81"));
    QCOMPARE(model->baseBuy(), QByteArray("260.01"));
    QCOMPARE(model->baseSell(), QByteArray("258.56"));
    QCOMPARE(errors->size(), 1);
}

void QuoteFetcherTest::keepsOnlyABoundedBody() {
    fetcher->startQuoteFetch();
    QVERIFY(http->pending.first().maxBytes > 0);
    QVERIFY(http->pending.first().maxBytes <= Http::kDefaultMaxBytes);
}

void QuoteFetcherTest::demoMarkFollowsThePageThePricesCameFrom() {
    const QByteArray plain = page("257.76", "258.56");
    const QByteArray marked = quotepage::demoMarker() + plain;
    struct Step {
        QByteArray body;
        bool demo;
    };
    const QList<Step> steps = {
        {marked, true},
        {gbk::encode(u"<html>维护中</html>"_qs), true}, // no prices: the shown ones keep their mark
        {plain, false},
        {plain + '\0' + quotepage::demoMarker(), false}, // the page ends at its first zero byte
        {marked, true},
    };
    for (const Step& step : steps) {
        fetcher->applyQuotePage(step.body);
        QCOMPARE(model->demoFeed(), step.demo);
    }
    // Whatever answers at the demo address is the demo.
    fetcher->setDemoAddress(true);
    fetcher->applyQuotePage(plain);
    QVERIFY(model->demoFeed());
}

QTEST_GUILESS_MAIN(QuoteFetcherTest)
#include "test_quote_fetcher.moc"
