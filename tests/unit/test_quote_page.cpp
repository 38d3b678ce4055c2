// The fixed-offset cut of the quote page, on real GBK bytes.
#include "platform/gbk.h"
#include "quotes/quote_page.h"

#include <QTest>

using quotepage::Cut;

namespace {

// A page with the marker at `lead` bytes, the buy text at +244 and the sell
// text at +354, filled with table markup-like padding, `tail` bytes in all
// after the marker.
QByteArray page(const QByteArray& buy, const QByteArray& sell, qsizetype lead = 1500, qsizetype tail = 900) {
    QByteArray text = gbk::encode(u"<html><head><title>纸黄金行情</title></head><body><table>"_qs);
    text += QByteArray(lead - text.size(), ' ');
    QByteArray row = quotepage::rowMarker() + "</td><td class=\"p\">";
    row += QByteArray(tail - row.size(), 'x');
    row.replace(quotepage::kBuyOffset, buy.size(), buy);
    row.replace(quotepage::kSellOffset, sell.size(), sell);
    return text + row;
}

} // namespace

class QuotePageTest : public QObject {
    Q_OBJECT
private slots:
    void cutsFieldsBehindMarker();
    void outcomes_data();
    void outcomes();
    void onlyFirstMarkerCounts();
    void shortPageStoresWhatIsThere();
    void pageEndsAtFirstZeroByte();
    void fieldsAreRawBytes();
};

void QuotePageTest::cutsFieldsBehindMarker() {
    const Cut cut = quotepage::cut(page("257.76", "258.56"));
    QCOMPARE(cut.outcome, Cut::Outcome::Prices);
    QCOMPARE(cut.buy, QByteArray("257.76"));
    QCOMPARE(cut.sell, QByteArray("258.56"));
}

void QuotePageTest::outcomes_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArray>("buy");
    QTest::newRow("empty body") << QByteArray() << int(Cut::Outcome::NoMarker) << QByteArray();
    QTest::newRow("no marker") << gbk::encode(u"<html>建行-账户金 257.76</html>"_qs)
                               << int(Cut::Outcome::NoMarker) << QByteArray();
    QTest::newRow("marker in UTF-8 is no marker")
        << (u"工行-金行家"_qs.toUtf8() + QByteArray(400, ' ')) << int(Cut::Outcome::NoMarker) << QByteArray();
    // A five-character price runs into the next tag inside the 6-byte field.
    QTest::newRow("short buy price meets a tag")
        << page("57.76<", "258.56") << int(Cut::Outcome::BuyError) << QByteArray();
    QTest::newRow("sell holds a closing bracket")
        << page("257.76", "25>.56") << int(Cut::Outcome::SellError) << QByteArray("257.76");
    QTest::newRow("both broken: buy decides")
        << page("<57.7", "<58.5") << int(Cut::Outcome::BuyError) << QByteArray();
}

void QuotePageTest::outcomes() {
    QFETCH(QByteArray, body);
    QFETCH(int, outcome);
    QFETCH(QByteArray, buy);
    const Cut cut = quotepage::cut(body);
    QCOMPARE(int(cut.outcome), outcome);
    QCOMPARE(cut.buy, buy);
    // The buy field is stored before the sell field is looked at.
    QCOMPARE(cut.storesBuy(),
             outcome == int(Cut::Outcome::Prices) || outcome == int(Cut::Outcome::SellError));
}

void QuotePageTest::onlyFirstMarkerCounts() {
    QByteArray body = page("257.76", "258.56") + page("999.99", "999.99");
    const Cut cut = quotepage::cut(body);
    QCOMPARE(cut.buy, QByteArray("257.76"));
    QCOMPARE(cut.sell, QByteArray("258.56"));
}

void QuotePageTest::shortPageStoresWhatIsThere() {
    // The page ends 250 bytes after the marker: a whole buy field, no sell field.
    const QByteArray full = page("257.76", "258.56", 100, 900);
    const qsizetype p = full.indexOf(quotepage::rowMarker());
    Cut cut = quotepage::cut(full.left(p + 250));
    QCOMPARE(cut.outcome, Cut::Outcome::Prices);
    QCOMPARE(cut.buy, QByteArray("257.76"));
    QCOMPARE(cut.sell, QByteArray());

    // Ending inside the buy field leaves a short buy text; inside the sell field a short sell.
    cut = quotepage::cut(full.left(p + 247));
    QCOMPARE(cut.buy, QByteArray("257"));
    cut = quotepage::cut(full.left(p + 356));
    QCOMPARE(cut.sell, QByteArray("25"));
    // Ending before the buy field: both empty, nothing reported.
    cut = quotepage::cut(full.left(p + 20));
    QCOMPARE(cut.outcome, Cut::Outcome::Prices);
    QVERIFY(cut.buy.isEmpty() && cut.sell.isEmpty());
}

void QuotePageTest::pageEndsAtFirstZeroByte() {
    QByteArray body = page("257.76", "258.56");
    const qsizetype p = body.indexOf(quotepage::rowMarker());
    body[p + 100] = '\0';
    const Cut cut = quotepage::cut(body);
    QVERIFY(cut.buy.isEmpty());
    // A zero byte before the marker hides the marker.
    QByteArray hidden = page("257.76", "258.56");
    hidden[10] = '\0';
    QCOMPARE(quotepage::cut(hidden).outcome, Cut::Outcome::NoMarker);
}

void QuotePageTest::fieldsAreRawBytes() {
    // Not trimmed, not converted: padding and a half GBK character stay as they are.
    const Cut cut = quotepage::cut(page(" 57.7 ", "\xB9\xA4"
                                                  "8.56"));
    QCOMPARE(cut.buy, QByteArray(" 57.7 "));
    QCOMPARE(cut.sell, QByteArray("\xB9\xA4"
                                  "8.56"));
}

QTEST_GUILESS_MAIN(QuotePageTest)
#include "test_quote_page.moc"
