// Fetching the quote page: what reaches the model, and the one data-error
// message that ends the program.
#include "platform/gbk.h"
#include "quotes/quote_fetcher.h"
#include "quotes/quote_model.h"
#include "quotes/quote_page.h"
#include "support/fake_services.h"

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
    void dataErrorIsShownOnceAndEndsProgram();
    void sellErrorLeavesNewBuyBehind();
    void keepsOnlyABoundedBody();

private:
    FakeServices* fakes = nullptr;
    QuoteModel* model = nullptr;
    QuoteFetcher* fetcher = nullptr;
};

void QuoteFetcherTest::init() {
    fakes = new FakeServices;
    model = new QuoteModel;
    fetcher =
        new QuoteFetcher(*model, fakes->services, QuoteFetcher::pageUrl(u"127.0.0.1:18090"_qs), nullptr);
}

void QuoteFetcherTest::cleanup() {
    delete fetcher;
    delete model;
    delete fakes;
}

void QuoteFetcherTest::asksForThePortalPage() {
    fetcher->startQuoteFetch();
    QCOMPARE(fakes->http.requested.size(), 1);
    QCOMPARE(fakes->http.requested.first(), QUrl(u"http://127.0.0.1:18090/quote/index.html"_qs));
    QVERIFY(!fakes->http.requested.first().hasQuery());
}

void QuoteFetcherTest::storesBothFields() {
    fetcher->startQuoteFetch();
    fakes->http.answer(page("257.76", "258.56"));
    QCOMPARE(model->baseBuy(), QByteArray("257.76"));
    QCOMPARE(model->baseSell(), QByteArray("258.56"));
    QVERIFY(fakes->dialogs.history().isEmpty());
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
    fakes->http.answer(body);
    QCOMPARE(model->baseBuy(), QByteArray("257.76"));
    QCOMPARE(model->baseSell(), QByteArray("258.56"));
    QVERIFY(fakes->dialogs.history().isEmpty());
    QVERIFY(fakes->quitCodes.isEmpty());
}

void QuoteFetcherTest::fetchesNeverPileUp() {
    fetcher->startQuoteFetch();
    fetcher->startQuoteFetch();
    fetcher->startQuoteFetch();
    QCOMPARE(fakes->http.pending.size(), 1);
    // A failed answer frees the way as well as a good one.
    fakes->http.answer(std::nullopt);
    fetcher->startQuoteFetch();
    fetcher->startQuoteFetch();
    QCOMPARE(fakes->http.pending.size(), 1);
    fakes->http.answer(page("902.50", "903.30"));
    QCOMPARE(model->baseBuy(), QByteArray("902.50"));
    fetcher->startQuoteFetch();
    QCOMPARE(fakes->http.requested.size(), 3);
}

void QuoteFetcherTest::dataErrorIsShownOnceAndEndsProgram() {
    fetcher->startQuoteFetch();
    fakes->http.answer(page("57.76<", "258.56"));
    fetcher->applyQuotePage(page("57.76<", "258.56"));
    fetcher->applyQuotePage(page("257.76", "258.56"));
    QCOMPARE(fakes->dialogs.history().size(), 1);
    QCOMPARE(fakes->dialogs.history().first().text, u"敬告：服务器数据错误！"_qs);
    QCOMPARE(fakes->dialogs.history().first().title, u"数据错误"_qs);
    QCOMPARE(fakes->quitCodes, QList<int>{0});
    // Nothing is stored from the broken page, nor from pages after it.
    QVERIFY(model->baseBuy().isEmpty());
    QVERIFY(model->baseSell().isEmpty());
    fetcher->startQuoteFetch();
    QVERIFY(fakes->http.pending.isEmpty());
}

void QuoteFetcherTest::sellErrorLeavesNewBuyBehind() {
    fetcher->applyQuotePage(page("257.76", "258.56"));
    fetcher->applyQuotePage(page("260.01", "26>.81"));
    QCOMPARE(model->baseBuy(), QByteArray("260.01"));
    QCOMPARE(model->baseSell(), QByteArray("258.56"));
    QCOMPARE(fakes->dialogs.history().size(), 1);
}

void QuoteFetcherTest::keepsOnlyABoundedBody() {
    fetcher->startQuoteFetch();
    QVERIFY(fakes->http.pending.first().maxBytes > 0);
    QVERIFY(fakes->http.pending.first().maxBytes <= Http::kDefaultMaxBytes);
}

QTEST_GUILESS_MAIN(QuoteFetcherTest)
#include "test_quote_fetcher.moc"
