// The simulated account's buy and sell rules, with the quantity and amount
// rules as the program applies them.
#include "core/number_text.h"
#include "trading/trading_rules.h"

#include <QTest>

using namespace Qt::StringLiterals;
using tradingrules::Refusal;

Q_DECLARE_METATYPE(tradingrules::Refusal)

class TradingRulesTest : public QObject {
    Q_OBJECT
private slots:
    void bankCodes();
    void buy_data();
    void buy();
    void sell_data();
    void sell();
    void noRoundingNoiseInCashOrProfit();
    void amountIsPriceTimesWholeGrams();
    void valueTexts_data();
    void valueTexts();
};

void TradingRulesTest::bankCodes() {
    using tradingrules::Bank;
    QCOMPARE(tradingrules::bankFromCode(1), Bank::Icbc);
    QCOMPARE(tradingrules::bankFromCode(2), Bank::Ccb);
    for (int other : {3, 0, 7, -1})
        QCOMPARE(tradingrules::bankFromCode(other), Bank::Boc);
    const tradingrules::PriceFeed boc = tradingrules::priceFeed(Bank::Boc);
    QCOMPARE(boc.buyBox, ShownPrice::BocSell); // the user buys at the bank's sell price
    QCOMPARE(boc.sellBox, ShownPrice::BocBuy);
    QCOMPARE(boc.buyCaption, u"中行当前卖出价："_s);
    QCOMPARE(tradingrules::priceFeed(Bank::Ccb).sellCaption, u"建行当前买入价："_s);
}

void TradingRulesTest::buy_data() {
    QTest::addColumn<double>("cash");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<int>("heldAfter");
    QTest::addColumn<double>("cashAfter");
    QTest::newRow("plain buy") << 10000.0 << u"200"_s << u"10"_s << Refusal::None << 15 << 8000.0;
    QTest::newRow("cost equal to cash passes") << 950.0 << u"95"_s << u"10"_s << Refusal::None << 15 << 0.0;
    QTest::newRow("a cent short") << 949.99 << u"95"_s << u"10"_s << Refusal::NotEnoughCash << 5 << 949.99;
    QTest::newRow("half a gram is no gram")
        << 1000.0 << u"200"_s << u"0.5"_s << Refusal::BadQuantity << 5 << 1000.0;
    QTest::newRow("letters") << 1000.0 << u"200"_s << u"abc"_s << Refusal::BadQuantity << 5 << 1000.0;
    QTest::newRow("empty") << 1000.0 << u"200"_s << u""_s << Refusal::BadQuantity << 5 << 1000.0;
    QTest::newRow("negative") << 1000.0 << u"200"_s << u"-3"_s << Refusal::BadQuantity << 5 << 1000.0;
    QTest::newRow("fraction dropped") << 10000.0 << u"200"_s << u"2.9"_s << Refusal::None << 7 << 9600.0;
    QTest::newRow("too dear before bad") << 10.0 << u"200"_s << u"1"_s << Refusal::NotEnoughCash << 5 << 10.0;
    QTest::newRow("no bank price yet") << 1000.0 << u""_s << u"3"_s << Refusal::NoPrice << 5 << 1000.0;
}

void TradingRulesTest::buy() {
    QFETCH(double, cash);
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(Refusal, refusal);
    QFETCH(int, heldAfter);
    QFETCH(double, cashAfter);
    const tradingrules::Outcome outcome = tradingrules::buy({5, cash, 100000}, price, quantity);
    QCOMPARE(outcome.refusal, refusal);
    QCOMPARE(outcome.after.held, heldAfter);
    QCOMPARE(outcome.after.cash, cashAfter);
    if (refusal == Refusal::None) {
        QCOMPARE(outcome.trade.type, u"买入"_s);
        // What is recorded is consistent: price × grams is the amount, and the cash moved by it.
        QCOMPARE(outcome.trade.price * outcome.trade.grams, outcome.trade.amount);
        QCOMPARE(cash - outcome.trade.amount, outcome.after.cash);
        QVERIFY(outcome.trade.grams >= 1);
    }
}

void TradingRulesTest::sell_data() {
    QTest::addColumn<int>("held");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<int>("heldAfter");
    QTest::addColumn<double>("profit");
    QTest::newRow("sell all") << 10 << u"10"_s << Refusal::None << 0 << 2000.0;
    QTest::newRow("one too many") << 10 << u"11"_s << Refusal::NotEnoughGold << 10 << 0.0;
    QTest::newRow("negative passes holdings, fails quantity")
        << 10 << u"-5"_s << Refusal::BadQuantity << 10 << 0.0;
    QTest::newRow("half a gram") << 10 << u"0.5"_s << Refusal::BadQuantity << 10 << 0.0;
    QTest::newRow("letters") << 10 << u"xx"_s << Refusal::BadQuantity << 10 << 0.0;
    QTest::newRow("no bank price yet") << 10 << u"2"_s << Refusal::NoPrice << 10 << 0.0;
}

void TradingRulesTest::sell() {
    QFETCH(int, held);
    QFETCH(QString, quantity);
    QFETCH(Refusal, refusal);
    QFETCH(int, heldAfter);
    QFETCH(double, profit);
    // Cash 100000 at the start of a 100000 simulation, selling at 200.
    const QString price =
        QString::fromLatin1(QTest::currentDataTag()).contains(u"price"_s) ? QString() : u"200"_s;
    const tradingrules::Outcome outcome = tradingrules::sell({held, 100000.0, 100000}, price, quantity);
    QCOMPARE(outcome.refusal, refusal);
    QCOMPARE(outcome.after.held, heldAfter);
    QCOMPARE(outcome.profit, profit);
    if (refusal == Refusal::None) {
        QCOMPARE(outcome.trade.type, u"卖出"_s);
        QCOMPARE(outcome.after.cash, 100000.0 + outcome.trade.amount);
    }
    QCOMPARE(tradingrules::refusalText(refusal).isEmpty(), refusal == Refusal::None);
}

void TradingRulesTest::noRoundingNoiseInCashOrProfit() {
    // 113 g bought at 365.48 and sold at 365.49 gain exactly 1.13.
    const tradingrules::Outcome bought = tradingrules::buy({0, 100000, 100000}, u"365.48"_s, u"113"_s);
    const tradingrules::Outcome sold = tradingrules::sell(bought.after, u"365.49"_s, u"113"_s);
    QCOMPARE(numtext::valueText(bought.after.cash), u"58700.76"_s);
    QCOMPARE(numtext::valueText(sold.after.cash), u"100001.13"_s);
    QCOMPARE(numtext::valueText(sold.profit), u"1.13"_s);
}

void TradingRulesTest::amountIsPriceTimesWholeGrams() {
    QCOMPARE(tradingrules::amountOf(u"213.17"_s, u"7.5"_s), 213.17 * 7);
    QCOMPARE(tradingrules::amountOf(u""_s, u"7"_s), 0.0);
    QCOMPARE(tradingrules::amountOf(u"913.27"_s, u"abc"_s), 0.0);
}

void TradingRulesTest::valueTexts_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 100000.0 << u"100000"_s;
    QTest::newRow("cents") << 213.17 * 7 << u"1492.19"_s;
    QTest::newRow("cash after") << 100000 - 213.17 * 7 << u"98507.81"_s;
    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negative profit") << -1492.19 << u"-1492.19"_s;
    QTest::newRow("millions") << 12345678.9 << u"12345678.9"_s;
}

void TradingRulesTest::valueTexts() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(numtext::valueText(value), text);
}

QTEST_GUILESS_MAIN(TradingRulesTest)
#include "test_trading_rules.moc"
