// Number texts and the price rules of the quote display: reading the base
// fields, the texts of the derived prices, the progress bars and the
// connecting indicator.
#include "core/number_text.h"
#include "quotes/price_rules.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// An exact amount in hundredths written the way a price is shown: plain
// decimal, trailing zeros dropped, then cut to 6 characters.
QString centsText(qint64 cents) {
    QString text = QString::number(cents / 100) + u'.' + QString::number(cents % 100).rightJustified(2, u'0');
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text.left(6);
}

// The exact amount in hundredths of a shown price text ("1000.1" → 100010).
qint64 textCents(const QString& text) {
    const qsizetype point = text.indexOf(u'.');
    if (point < 0)
        return text.toLongLong() * 100;
    const QString fraction = text.mid(point + 1).leftJustified(2, u'0');
    return text.left(point).toLongLong() * 100 + fraction.toLongLong();
}

QByteArray baseText(qint64 cents) {
    return QByteArray::number(cents / 100) + '.' + QByteArray::number(cents % 100).rightJustified(2, '0');
}

} // namespace

class PriceRulesTest : public QObject {
    Q_OBJECT
private slots:
    void leadingNumberReadsThePrefix_data();
    void leadingNumberReadsThePrefix();
    void nonZeroTolerance_data();
    void nonZeroTolerance();
    void plainTextHasNoExponentNorTrailingZeros_data();
    void plainTextHasNoExponentNorTrailingZeros();
    void priceTextShowsTheDigitsAFloatCarries_data();
    void priceTextShowsTheDigitsAFloatCarries();
    void basePricesValid_data();
    void basePricesValid();
    void documentedQuotes_data();
    void documentedQuotes();
    void bankPricesAreExactCentSums_data();
    void bankPricesAreExactCentSums();
    void intlPricesAreExactCentSums_data();
    void intlPricesAreExactCentSums();
    void progressPassesTheMaximumOnce_data();
    void progressPassesTheMaximumOnce();
    void indicatorBounces_data();
    void indicatorBounces();
};

void PriceRulesTest::leadingNumberReadsThePrefix_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("price") << u"257.76"_s << 257.76;
    QTest::newRow("zeros") << u"0.0000"_s << 0.0;
    QTest::newRow("garbage after") << u"57.7<"_s << 57.7;
    QTest::newRow("second point ends it") << u"1.2.3"_s << 1.2;
    QTest::newRow("letters") << u"abc"_s << 0.0;
    QTest::newRow("letters then digits") << u"x257"_s << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("sign only") << u"-"_s << 0.0;
    QTest::newRow("point only") << u"."_s << 0.0;
    QTest::newRow("signed point") << u"+."_s << 0.0;
    QTest::newRow("negative") << u"-3.5x"_s << -3.5;
    QTest::newRow("plus") << u"+4"_s << 4.0;
    QTest::newRow("no integer part") << u".5"_s << 0.5;
    QTest::newRow("no fraction") << u"5."_s << 5.0;
    QTest::newRow("exponent is not read") << u"1e5"_s << 1.0;
    QTest::newRow("hex is not read") << u"0x1A"_s << 0.0;
    QTest::newRow("inf is not a number") << u"inf"_s << 0.0;
    QTest::newRow("nan is not a number") << u"nan"_s << 0.0;
    QTest::newRow("comma is not a point") << u"257,76"_s << 257.0;
}

void PriceRulesTest::leadingNumberReadsThePrefix() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(numtext::leadingNumber(text), expected);
    QCOMPARE(numtext::leadingNumber(text.toLatin1()), expected);
    QCOMPARE(numtext::priceOf(text), static_cast<float>(expected));
    QCOMPARE(numtext::priceOf(text.toLatin1()), static_cast<float>(expected));
}

void PriceRulesTest::nonZeroTolerance_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("nonZero");
    QTest::newRow("zero") << 0.0 << false;
    QTest::newRow("negative zero") << -0.0 << false;
    QTest::newRow("at the tolerance") << 1e-7 << false;
    QTest::newRow("negative at the tolerance") << -1e-7 << false;
    QTest::newRow("just above") << 1.1e-7 << true;
    QTest::newRow("negative above") << -2e-7 << true;
    QTest::newRow("price") << 257.76 << true;
}

void PriceRulesTest::nonZeroTolerance() {
    QFETCH(double, value);
    QFETCH(bool, nonZero);
    QCOMPARE(numtext::isNonZero(value), nonZero);
}

void PriceRulesTest::plainTextHasNoExponentNorTrailingZeros_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trailing zeros") << 257.83 << 7 << u"257.83"_s;
    QTest::newRow("whole") << 258.0 << 7 << u"258"_s;
    QTest::newRow("zero") << 0.0 << 7 << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << 7 << u"0"_s;
    QTest::newRow("rounded up") << 257.829986572265625 << 7 << u"257.83"_s;
    QTest::newRow("rounds into a new digit") << 999.99996 << 7 << u"1000"_s;
    QTest::newRow("large without exponent") << 1e20 << 7 << u"100000000000000000000"_s;
    QTest::newRow("small without exponent") << 1.5e-5 << 7 << u"0.000015"_s;
    QTest::newRow("negative") << -12.5 << 7 << u"-12.5"_s;
    QTest::newRow("fewer digits") << 257.76 << 3 << u"258"_s;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 7 << u"0"_s;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 7 << u"0"_s;
}

void PriceRulesTest::plainTextHasNoExponentNorTrailingZeros() {
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(QString, expected);
    QCOMPARE(numtext::plainText(value, digits), expected);
}

void PriceRulesTest::priceTextShowsTheDigitsAFloatCarries_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    // A float just below a whole cent still shows that cent.
    QTest::newRow("257.83 via float") << static_cast<double>(257.83f) << u"257.83"_s;
    QTest::newRow("257.8 via float") << static_cast<double>(257.8f) << u"257.8"_s;
    QTest::newRow("999.99 via float") << static_cast<double>(999.99f) << u"999.99"_s;
    QTest::newRow("100.01 via float") << static_cast<double>(100.01f) << u"100.01"_s;
    QTest::newRow("cut to six") << 1234.567 << u"1234.5"_s;
    QTest::newRow("cut keeps a zero") << 1000.05 << u"1000.0"_s;
    QTest::newRow("two-digit price") << static_cast<double>(57.73f) << u"57.73"_s;
    QTest::newRow("seven digits then cut") << 12.345678 << u"12.345"_s;
    QTest::newRow("whole") << 258.0 << u"258"_s;
}

void PriceRulesTest::priceTextShowsTheDigitsAFloatCarries() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(numtext::priceText(value), expected);
}

void PriceRulesTest::basePricesValid_data() {
    QTest::addColumn<QByteArray>("buy");
    QTest::addColumn<QByteArray>("sell");
    QTest::addColumn<bool>("valid");
    QTest::newRow("prices") << "257.76"_ba
                            << "258.56"_ba << true;
    QTest::newRow("buy zeros") << "0.0000"_ba
                               << "258.56"_ba << false;
    QTest::newRow("sell zeros") << "257.76"_ba
                                << "0.0000"_ba << false;
    QTest::newRow("buy letters") << "abc"_ba
                                 << "258.56"_ba << false;
    QTest::newRow("sell letters") << "257.76"_ba
                                  << "--"_ba << false;
    QTest::newRow("both empty") << QByteArray() << QByteArray() << false;
    QTest::newRow("buy empty") << QByteArray() << "258.56"_ba << false;
    QTest::newRow("garbage after the number") << "57.7<"_ba
                                              << "58"_ba << true;
    QTest::newRow("below the tolerance") << "0.00000001"_ba
                                         << "258.56"_ba << false;
    QTest::newRow("above the tolerance") << "0.0000002"_ba
                                         << "258.56"_ba << true;
    QTest::newRow("negative counts") << "-1"_ba
                                     << "1"_ba << true;
}

void PriceRulesTest::basePricesValid() {
    QFETCH(QByteArray, buy);
    QFETCH(QByteArray, sell);
    QFETCH(bool, valid);
    QCOMPARE(pricerules::basePricesValid(buy, sell), valid);
}

void PriceRulesTest::documentedQuotes_data() {
    QTest::addColumn<QByteArray>("base");
    QTest::addColumn<int>("cents");
    QTest::addColumn<QString>("bankBuy");
    QTest::addColumn<QString>("bankSell");
    QTest::addColumn<QString>("intl");
    QTest::newRow("257.76 +0") << "257.76"_ba << 0 << u"257.76"_s << u"258.56"_s << u"257.76"_s;
    QTest::newRow("257.76 +1") << "257.76"_ba << 1 << u"257.77"_s << u"258.57"_s << u"257.77"_s;
    QTest::newRow("257.76 +5") << "257.76"_ba << 5 << u"257.81"_s << u"258.61"_s << u"257.81"_s;
    QTest::newRow("257.76 +15") << "257.76"_ba << 15 << u"257.91"_s << u"258.71"_s << u"257.91"_s;
    QTest::newRow("258.56 +1") << "258.56"_ba << 1 << u"258.57"_s << u"259.37"_s << u"258.57"_s;
    QTest::newRow("257.83 +0") << "257.83"_ba << 0 << u"257.83"_s << u"258.63"_s << u"257.83"_s;
    QTest::newRow("shorter sum") << "257.76"_ba << 4 << u"257.8"_s << u"258.6"_s << u"257.8"_s;
    QTest::newRow("one decimal") << "257.8"_ba << 0 << u"257.8"_s << u"258.6"_s << u"257.8"_s;
    QTest::newRow("no decimals") << "257"_ba << 5 << u"257.05"_s << u"257.85"_s << u"257.05"_s;
    QTest::newRow("garbage after") << "57.7<"_ba << 3 << u"57.73"_s << u"58.53"_s << u"57.73"_s;
    QTest::newRow("sell reaches 1000") << "999.20"_ba << 0 << u"999.2"_s << u"1000"_s << u"999.2"_s;
    QTest::newRow("sell cut to six") << "999.25"_ba << 0 << u"999.25"_s << u"1000.0"_s << u"999.25"_s;
    QTest::newRow("buy cut to six") << "999.99"_ba << 15 << u"1000.1"_s << u"1000.9"_s << u"1000.1"_s;
    QTest::newRow("empty base") << QByteArray() << 2 << u"0.02"_s << u"0.82"_s << u"0.02"_s;
}

void PriceRulesTest::documentedQuotes() {
    QFETCH(QByteArray, base);
    QFETCH(int, cents);
    QFETCH(QString, bankBuy);
    QFETCH(QString, bankSell);
    QFETCH(QString, intl);
    const pricerules::BankPrices prices = pricerules::bankPrices(base, cents);
    QCOMPARE(prices.buy, bankBuy);
    QCOMPARE(prices.sell, bankSell);
    QCOMPARE(pricerules::intlPriceText(base, cents), intl);
}

void PriceRulesTest::bankPricesAreExactCentSums_data() {
    QTest::addColumn<int>("firstYuan");
    for (int yuan = 100; yuan < 1000; yuan += 100)
        QTest::addRow("%d.00-%d.99", yuan, yuan + 99) << yuan;
}

// Every cent of a hundred-yuan range with every bank step: the buy text is the
// exact cent sum and the sell text is exactly the shown buy plus 0.80.
void PriceRulesTest::bankPricesAreExactCentSums() {
    QFETCH(int, firstYuan);
    const qint64 first = qint64(firstYuan) * 100;
    for (qint64 base = first; base < first + 10000; ++base) {
        const QByteArray text = baseText(base);
        for (int step = pricerules::kBankStepLow; step <= pricerules::kBankStepHigh; ++step) {
            const pricerules::BankPrices prices = pricerules::bankPrices(text, step);
            const QString buy = centsText(base + step);
            const QString sell = centsText(textCents(buy) + 80);
            if (prices.buy != buy || prices.sell != sell) {
                QFAIL(qPrintable(
                    u"base %1 step %2: got %3 / %4, expected %5 / %6"_s.arg(QString::fromLatin1(text))
                        .arg(step)
                        .arg(prices.buy, prices.sell, buy, sell)));
            }
        }
    }
}

void PriceRulesTest::intlPricesAreExactCentSums_data() {
    bankPricesAreExactCentSums_data();
}

void PriceRulesTest::intlPricesAreExactCentSums() {
    QFETCH(int, firstYuan);
    const qint64 first = qint64(firstYuan) * 100;
    for (qint64 base = first; base < first + 10000; ++base) {
        const QByteArray text = baseText(base);
        for (int step = pricerules::kIntlStepLow; step <= pricerules::kIntlStepHigh; ++step) {
            const QString actual = pricerules::intlPriceText(text, step);
            const QString expected = centsText(base + step);
            if (actual != expected) {
                QFAIL(qPrintable(u"base %1 step %2: got %3, expected %4"_s.arg(QString::fromLatin1(text))
                                     .arg(step)
                                     .arg(actual, expected)));
            }
        }
    }
}

void PriceRulesTest::progressPassesTheMaximumOnce_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("ticks"); // ticks until the animation stops
    QTest::newRow("bank bar at 12") << 12 << 30 << 19;
    QTest::newRow("bank bar from 0") << 0 << 30 << 31;
    QTest::newRow("bank bar at its maximum") << 30 << 30 << 1;
    QTest::newRow("international from 0") << 0 << 10 << 11;
    QTest::newRow("international at 9") << 9 << 10 << 2;
}

void PriceRulesTest::progressPassesTheMaximumOnce() {
    QFETCH(int, start);
    QFETCH(int, maximum);
    QFETCH(int, ticks);
    int position = start;
    for (int tick = 1; tick < ticks; ++tick) {
        const pricerules::ProgressStep step = pricerules::progressStep(position, maximum);
        QVERIFY2(!step.finished, qPrintable(u"finished early at tick %1"_s.arg(tick)));
        QCOMPARE(step.position, position + 1);
        QVERIFY(step.position <= maximum);
        position = step.position;
    }
    QCOMPARE(position, maximum);
    const pricerules::ProgressStep last = pricerules::progressStep(position, maximum);
    QVERIFY(last.finished);
    QCOMPARE(last.position, 0);
}

void PriceRulesTest::indicatorBounces_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("movingRight");
    QTest::addColumn<int>("firstTurnAt");
    QTest::addColumn<int>("rightmost");
    QTest::addColumn<int>("leftmost");
    // From the start position 41 the 5-pixel steps overshoot both edges by
    // one step's remainder: the label turns at 121 and at -4.
    QTest::newRow("start position") << 41 << true << 121 << 121 << -4;
    QTest::newRow("on the grid") << 40 << true << 120 << 120 << 0;
    QTest::newRow("from the left edge") << 0 << true << 120 << 120 << 0;
    QTest::newRow("beyond the right edge") << 125 << true << 125 << 125 << 0;
    QTest::newRow("moving left") << 41 << false << -4 << 121 << -4;
}

void PriceRulesTest::indicatorBounces() {
    QFETCH(int, start);
    QFETCH(bool, movingRight);
    QFETCH(int, firstTurnAt);
    QFETCH(int, rightmost);
    QFETCH(int, leftmost);
    int left = start;
    bool right = movingRight;
    int turns = 0;
    int highest = left;
    int lowest = left;
    for (int tick = 0; tick < 400; ++tick) {
        const pricerules::IndicatorStep step =
            right ? pricerules::indicatorRight(left) : pricerules::indicatorLeft(left);
        if (step.turn) {
            // Turning costs a tick without moving, and happens only at an edge.
            QCOMPARE(step.left, left);
            QVERIFY(right ? left >= 120 : left <= 0);
            if (turns == 0)
                QCOMPARE(left, firstTurnAt);
            ++turns;
            right = !right;
        } else {
            QVERIFY(right ? left < 120 : left > 0);
            QCOMPARE(step.left, left + (right ? 5 : -5));
        }
        left = step.left;
        highest = std::max(highest, left);
        lowest = std::min(lowest, left);
    }
    QVERIFY(turns >= 4);
    QCOMPARE(highest, rightmost);
    QCOMPARE(lowest, leftmost);
}

QTEST_APPLESS_MAIN(PriceRulesTest)
#include "test_price_rules.moc"
