#include "platform/gbk.h"
#include "price_walk.h"
#include "quote_fields.h"
#include "quote_page_builder.h"
#include "quotes/quote_page.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace demoportal;

namespace {

int cents(const QString& price) {
    return qRound(price.toDouble() * 100);
}

QuotePrices pricesOf(const PriceWalk& walk) {
    return {walk.buy(), walk.sell(), walk.change(), QTime(14, 30, 5)};
}

} // namespace

class QuotePageBuilderTest : public QObject {
    Q_OBJECT

private slots:
    void marker_isTheElevenGbkBytesOfTheIcbcRow() {
        QCOMPARE(rowMarker(), QByteArray::fromHex("B9A4D0D02DBDF0D0D0BCD2"));
    }

    void normalPage_putsEveryWalkedPriceAtTheCutOffsets() {
        for (quint32 seed = 1; seed <= 10; ++seed) {
            PriceWalk walk(seed);
            for (int i = 0; i < 200; ++i) {
                walk.step();
                const QByteArray page = buildQuotePage(pricesOf(walk), QuotePageLayout::Normal);
                QCOMPARE(cutField(page, kBuyOffset), walk.buy().toLatin1());
                QCOMPARE(cutField(page, kSellOffset), walk.sell().toLatin1());
            }
        }
    }

    void normalPage_layoutDoesNotDependOnTheOtherCells_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QTime>("updated");
        QTest::newRow("rising, timed") << u"+0.06"_s << QTime(9, 0, 0);
        QTest::newRow("falling") << u"-0.05"_s << QTime(23, 59, 59);
        QTest::newRow("no time yet") << u"+0.00"_s << QTime();
        QTest::newRow("long change text") << u"+12.345"_s << QTime(1, 2, 3);
    }

    void normalPage_layoutDoesNotDependOnTheOtherCells() {
        QFETCH(QString, change);
        QFETCH(QTime, updated);
        const QByteArray page =
            buildQuotePage({u"257.76"_s, u"258.56"_s, change, updated}, QuotePageLayout::Normal);
        // Spelled out: these are the offsets Aurivex cuts at, whatever the constants say.
        QCOMPARE(cutField(page, 244), QByteArray("257.76"));
        QCOMPARE(cutField(page, 354), QByteArray("258.56"));
    }

    void normalPage_firstMarkerIsTheGoldRowAndASecondOneFollowsLater() {
        const QByteArray page =
            buildQuotePage({u"913.27"_s, u"914.07"_s, u"+0.03"_s, QTime(10, 0, 0)}, QuotePageLayout::Normal);
        const qsizetype first = page.indexOf(rowMarker());
        QVERIFY(first > 0);
        // Only the title, menu and table head come before it, and they name ICBC differently.
        QVERIFY(!gbk::decode(page.left(first)).contains(u"金行家"_s));
        QVERIFY(gbk::decode(page.mid(first, 64)).contains(u"工行-金行家 纸黄金"_s));
        // The silver row repeats the marker after the gold row's sell field.
        const qsizetype second = page.indexOf(rowMarker(), first + 1);
        QVERIFY(second > first + kSellOffset + kFieldLength);
        QVERIFY(gbk::decode(page.mid(second, 64)).contains(u"纸白银"_s));
    }

    void page_isCleanGbkHtml_data() {
        QTest::addColumn<QuotePageLayout>("layout");
        QTest::newRow("normal") << QuotePageLayout::Normal;
        QTest::newRow("no marker") << QuotePageLayout::NoMarker;
        QTest::newRow("broken buy") << QuotePageLayout::BrokenBuy;
        QTest::newRow("broken sell") << QuotePageLayout::BrokenSell;
    }

    void page_isCleanGbkHtml() {
        QFETCH(QuotePageLayout, layout);
        const QByteArray page = buildQuotePage({u"913.27"_s, u"914.07"_s, u"+0.03"_s, QTime()}, layout);
        const QString text = gbk::decode(page);
        // Unconvertible characters would have turned into "?" on the way in.
        QVERIFY(!page.contains('?'));
        QVERIFY(!text.contains(QChar::ReplacementCharacter));
        QCOMPARE(gbk::encode(text), page);
        QVERIFY(text.startsWith(u"<!DOCTYPE html"_s));
        QVERIFY(text.trimmed().endsWith(u"</html>"_s));
        for (const QString& row : {u"建行-账户金"_s, u"中行-黄金宝"_s, u"国际现货黄金"_s, u"美元/盎司"_s})
            QVERIFY2(text.contains(row), qPrintable(row));
        // Whatever the layout, the program can tell the prices are simulated.
        QVERIFY(quotepage::isDemoPage(page));
    }

    void brokenLayouts_showWhatTheCutSees_data() {
        QTest::addColumn<QuotePageLayout>("layout");
        QTest::addColumn<bool>("hasMarker");
        QTest::addColumn<QByteArray>("buyField");
        QTest::addColumn<bool>("sellHoldsTagEnd");
        QTest::newRow("no marker") << QuotePageLayout::NoMarker << false << QByteArray() << false;
        QTest::newRow("broken buy") << QuotePageLayout::BrokenBuy << true << QByteArray("57.76<") << false;
        QTest::newRow("broken sell") << QuotePageLayout::BrokenSell << true << QByteArray("257.76") << true;
    }

    void brokenLayouts_showWhatTheCutSees() {
        QFETCH(QuotePageLayout, layout);
        QFETCH(bool, hasMarker);
        QFETCH(QByteArray, buyField);
        QFETCH(bool, sellHoldsTagEnd);
        const QByteArray page = buildQuotePage({u"257.76"_s, u"258.56"_s, u"+0.00"_s, QTime()}, layout);
        QCOMPARE(page.contains(rowMarker()), hasMarker);
        QCOMPARE(cutField(page, kBuyOffset), buyField);
        QCOMPARE(cutField(page, kSellOffset).contains('>'), sellHoldsTagEnd);
        if (sellHoldsTagEnd)
            QVERIFY(page.contains("258.56"));
    }

    void walk_keepsSixCharacterPricesWithTheSpreadInsideTheBand_data() {
        QTest::addColumn<int>("start"); // 0: the walk's own start near 900.00
        QTest::newRow("own start") << 0;
        // Starting at an edge makes the walk bounce off it straight away.
        QTest::newRow("at the floor") << PriceWalk::kLowestBuyCents;
        QTest::newRow("at the ceiling") << PriceWalk::kHighestSellCents - PriceWalk::kSpreadCents;
        QTest::newRow("beyond the band") << 999'99;
    }

    void walk_keepsSixCharacterPricesWithTheSpreadInsideTheBand() {
        QFETCH(int, start);
        for (quint32 seed = 0; seed < 10; ++seed) {
            PriceWalk walk = start == 0 ? PriceWalk(seed) : PriceWalk(seed, start);
            QSet<QString> seen;
            int previous = cents(walk.buy());
            for (int i = 0; i < 10000; ++i) {
                walk.step();
                const QString buy = walk.buy();
                const QString sell = walk.sell();
                QVERIFY2(PriceWalk::isPriceText(buy) && buy.size() == 6 && buy[3] == u'.', qPrintable(buy));
                QVERIFY2(PriceWalk::isPriceText(sell) && sell.size() == 6 && sell[3] == u'.',
                         qPrintable(sell));
                QCOMPARE(cents(sell) - cents(buy), PriceWalk::kSpreadCents);
                QVERIFY2(cents(buy) >= PriceWalk::kLowestBuyCents, qPrintable(buy));
                QVERIFY2(cents(sell) <= PriceWalk::kHighestSellCents, qPrintable(sell));
                const int step = cents(buy) - previous;
                QVERIFY(std::abs(step) <= PriceWalk::kMaxStepCents);
                QCOMPARE(cents(walk.change()), step);
                QVERIFY(walk.change().startsWith(step < 0 ? u'-' : u'+'));
                previous = cents(buy);
                seen.insert(buy);
            }
            // It is a walk, not a constant.
            QVERIFY(seen.size() > 50);
        }
    }

    void walk_repeatsForTheSameSeedOnly() {
        PriceWalk first(42), second(42), other(43);
        QStringList a, b, c;
        for (int i = 0; i < 100; ++i) {
            first.step();
            second.step();
            other.step();
            a << first.buy();
            b << second.buy();
            c << other.buy();
        }
        QCOMPARE(a, b);
        QVERIFY(a != c);
    }

    void walk_pinnedPricesStayUntilUnpinned() {
        PriceWalk walk(5);
        walk.step();
        const QString before = walk.buy();
        walk.pin(u"257.76"_s, u"258.56"_s);
        for (int i = 0; i < 10; ++i)
            walk.step();
        QCOMPARE(walk.buy(), u"257.76"_s);
        QCOMPARE(walk.sell(), u"258.56"_s);
        QCOMPARE(walk.change(), u"+0.00"_s);
        walk.unpin();
        QCOMPARE(walk.buy(), before);
        walk.step();
        QVERIFY(std::abs(cents(walk.buy()) - cents(before)) <= PriceWalk::kMaxStepCents);
    }

    void priceText_mustBeSixNumericCharacters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("typical") << u"257.76"_s << true;
        QTest::newRow("one decimal") << u"1234.5"_s << true;
        QTest::newRow("no point") << u"257760"_s << true;
        QTest::newRow("five characters") << u"57.76"_s << false;
        QTest::newRow("seven characters") << u"1257.76"_s << false;
        QTest::newRow("letter") << u"25a.76"_s << false;
        QTest::newRow("two points") << u"2.5.76"_s << false;
        QTest::newRow("sign") << u"-57.76"_s << false;
        QTest::newRow("comma") << u"257,76"_s << false;
        QTest::newRow("tag character") << u"57.76<"_s << false;
        QTest::newRow("empty") << QString() << false;
    }

    void priceText_mustBeSixNumericCharacters() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(PriceWalk::isPriceText(text), valid);
    }
};

QTEST_GUILESS_MAIN(QuotePageBuilderTest)
#include "test_quote_page_builder.moc"
