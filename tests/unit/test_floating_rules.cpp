// The floating strip's rules: its price line and where auto-hide puts it.
#include "floating/auto_hide.h"
#include "floating/quote_line.h"

#include <QTest>

using namespace Qt::StringLiterals;
using quoteline::Source;

Q_DECLARE_METATYPE(Source)

namespace {

// Work areas as a desktop reports them.
const QRect kPrimary(0, 0, 1920, 1040);
const QRect kRightOfPrimary(1920, 0, 1280, 984);
const QRect kLeftOfPrimary(-1280, 0, 1280, 984);
const QRect kAbovePrimary(0, -1080, 1920, 1040);
constexpr int kW = 432;
constexpr int kH = 33;
const QPoint kFarAway(960, 700);

QRect strip(int x, int y, int h = kH) {
    return {x, y, kW, h};
}

} // namespace

class FloatingRulesTest : public QObject {
    Q_OBJECT
private slots:
    void chosenSource_data();
    void chosenSource();
    void priceLine_data();
    void priceLine();
    void alphaOfPosition_data();
    void alphaOfPosition();
    void autoHide_data();
    void autoHide();
    void homeAndScreen();
};

void FloatingRulesTest::chosenSource_data() {
    QTest::addColumn<bool>("icbc");
    QTest::addColumn<bool>("ccb");
    QTest::addColumn<bool>("boc");
    QTest::addColumn<Source>("source");
    QTest::newRow("none: international") << false << false << false << Source::International;
    QTest::newRow("ICBC first of all") << true << true << true << Source::Icbc;
    QTest::newRow("CCB before BOC") << false << true << true << Source::Ccb;
    QTest::newRow("BOC alone") << false << false << true << Source::Boc;
}

void FloatingRulesTest::chosenSource() {
    QFETCH(bool, icbc);
    QFETCH(bool, ccb);
    QFETCH(bool, boc);
    QTEST(quoteline::chosenSource(icbc, ccb, boc), "source");
}

void FloatingRulesTest::priceLine_data() {
    QTest::addColumn<Source>("source");
    QTest::addColumn<QString>("buy");
    QTest::addColumn<QString>("sell");
    QTest::addColumn<bool>("gain");
    QTest::addColumn<QString>("yours");
    QTest::addColumn<QString>("line");
    QTest::newRow("ICBC") << Source::Icbc << u"257.76"_s << u"258.56"_s << false << u"250"_s
                          << u"工行买入:257.76  工行卖出:258.56"_s;
    QTest::newRow("CCB with its gain") << Source::Ccb << u"301.25"_s << u"302.05"_s << true << u"300"_s
                                       << u"建行买入:301.25  建行卖出:302.05  您的涨跌:1.25"_s;
    QTest::newRow("gain cut to 5 characters")
        << Source::Boc << u"312.34"_s << u"313.14"_s << true << u"299.995"_s
        << u"中行买入:312.34  中行卖出:313.14  您的涨跌:12.34"_s;
    QTest::newRow("a loss keeps its sign") << Source::Icbc << u"257.76"_s << u"258.56"_s << true << u"260"_s
                                           << u"工行买入:257.76  工行卖出:258.56  您的涨跌:-2.24"_s;
    // 257.76 − 250 is 7.7599999999999909 in doubles.
    QTest::newRow("no cent lost to rounding")
        << Source::Icbc << u"257.76"_s << u"258.56"_s << true << u"250"_s
        << u"工行买入:257.76  工行卖出:258.56  您的涨跌:7.76"_s;
    QTest::newRow("leading number of the typed price")
        << Source::Ccb << u"301.25"_s << u"302.05"_s << true << u" 300元"_s
        << u"建行买入:301.25  建行卖出:302.05  您的涨跌:1.25"_s;
    QTest::newRow("no number: the price itself, cut")
        << Source::Icbc << u"257.76"_s << u"258.56"_s << true << u"abc"_s
        << u"工行买入:257.76  工行卖出:258.56  您的涨跌:257.7"_s;
    QTest::newRow("international never shows a gain")
        << Source::International << u"900.01"_s << u"901.22"_s << true << u"800"_s
        << u"国际买入:900.01  国际卖出:901.22"_s;
    QTest::newRow("no prices yet: empty places, no gain")
        << Source::Boc << QString() << QString() << true << u"300"_s << u"中行买入:  中行卖出:  您的涨跌:"_s;
}

void FloatingRulesTest::priceLine() {
    quoteline::Input input;
    QFETCH(Source, source);
    QFETCH(QString, buy);
    QFETCH(QString, sell);
    QFETCH(bool, gain);
    QFETCH(QString, yours);
    input.source = source;
    input.buy = buy;
    input.sell = sell;
    input.gainShown = gain;
    input.yourBuyPrice = yours;
    QTEST(quoteline::priceLine(input), "line");
}

void FloatingRulesTest::alphaOfPosition_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("alpha");
    QTest::newRow("strip lowest") << 35 << 87;
    QTest::newRow("strip default position") << 98 << 245;
    QTest::newRow("strip highest") << 100 << 250;
    QTest::newRow("chart form position") << 75 << 187;
    QTest::newRow("chart lowest") << 15 << 37;
}

void FloatingRulesTest::alphaOfPosition() {
    QFETCH(int, position);
    QTEST(quoteline::alphaOfPosition(position), "alpha");
}

void FloatingRulesTest::autoHide_data() {
    QTest::addColumn<QList<QRect>>("areas");
    QTest::addColumn<QRect>("strip");
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<QPoint>("to");
    const QList<QRect> one{kPrimary};
    const QList<QRect> sideBySide{kPrimary, kRightOfPrimary};

    QTest::newRow("left edge: docks") << one << strip(0, 300) << kFarAway << true << QPoint(2 - kW, 300);
    QTest::newRow("left edge: its 2 pixels bring it back")
        << one << strip(2 - kW, 300) << QPoint(0, 310) << true << QPoint(0, 300);
    QTest::newRow("left edge: partly off screen, under the mouse")
        << one << strip(-100, 300) << QPoint(10, 310) << true << QPoint(0, 300);
    QTest::newRow("right edge: docks")
        << one << strip(1920 - kW, 300) << kFarAway << true << QPoint(1918, 300);
    QTest::newRow("right edge: its 2 pixels bring it back")
        << one << strip(1918, 300) << QPoint(1919, 320) << true << QPoint(1920 - kW, 300);
    QTest::newRow("top edge: docks") << one << strip(744, 0) << kFarAway << true << QPoint(744, 2 - kH);
    QTest::newRow("top edge: unfolded, docks")
        << one << strip(744, 0, 169) << kFarAway << true << QPoint(744, -167);
    QTest::newRow("top edge: its 2 pixels bring it back")
        << one << strip(744, 2 - kH) << QPoint(900, 1) << true << QPoint(744, 0);
    QTest::newRow("corner: the left edge first")
        << one << strip(0, 0) << kFarAway << true << QPoint(2 - kW, 0);
    QTest::newRow("away from the edges: stays") << one << strip(500, 500) << kFarAway << false << QPoint();
    QTest::newRow("the bottom edge never docks")
        << one << strip(500, 1040 - kH) << kFarAway << false << QPoint();
    QTest::newRow("under the mouse, at the edge: stays")
        << one << strip(0, 300) << QPoint(kW, 300 + kH) << false << QPoint();
    QTest::newRow("on no screen: back home") << one << strip(2500, 300) << kFarAway << true << QPoint(744, 0);

    QTest::newRow("two screens: inner edge of the primary stays")
        << sideBySide << strip(1920 - kW, 300) << kFarAway << false << QPoint();
    QTest::newRow("two screens: inner edge of the second stays")
        << sideBySide << strip(1920, 300) << QPoint(2600, 700) << false << QPoint();
    QTest::newRow("two screens: outer right edge docks")
        << sideBySide << strip(3200 - kW, 300) << kFarAway << true << QPoint(3198, 300);
    QTest::newRow("two screens: the outer right edge brings it back")
        << sideBySide << strip(3198, 300) << QPoint(3199, 300) << true << QPoint(3200 - kW, 300);
    QTest::newRow("two screens: the second's top edge docks")
        << sideBySide << strip(1920, 0) << kFarAway << true << QPoint(1920, 2 - kH);
    QTest::newRow("two screens: the second's top edge brings it back")
        << sideBySide << strip(1920, 2 - kH) << QPoint(2000, 0) << true << QPoint(1920, 0);
    QTest::newRow("two screens: below the shorter neighbour the edge is outer")
        << sideBySide << strip(1920 - kW, 1000) << kFarAway << true << QPoint(1918, 1000);
    QTest::newRow("two screens: the primary's left edge beside a screen stays")
        << QList<QRect>{kPrimary, kLeftOfPrimary} << strip(0, 300) << kFarAway << false << QPoint();
    QTest::newRow("two screens: the left screen's outer edge docks")
        << QList<QRect>{kPrimary, kLeftOfPrimary} << strip(-1280, 300) << kFarAway << true
        << QPoint(-1280 + 2 - kW, 300);
    QTest::newRow("two screens: a top edge under another screen stays")
        << QList<QRect>{kPrimary, kAbovePrimary} << strip(744, 0) << kFarAway << false << QPoint();
}

void FloatingRulesTest::autoHide() {
    QFETCH(QList<QRect>, areas);
    QFETCH(QRect, strip);
    QFETCH(QPoint, cursor);
    QFETCH(bool, moves);
    const std::optional<QPoint> step = autohide::autoHideStep(strip, cursor, areas);
    QCOMPARE(step.has_value(), moves);
    if (moves)
        QTEST(*step, "to");
}

void FloatingRulesTest::homeAndScreen() {
    QCOMPARE(autohide::homePosition({kW, kH}, kPrimary), QPoint(744, 0));
    QCOMPARE(autohide::homePosition({kW, kH}, QRect(0, 27, 1440, 873)), QPoint(504, 27)); // below a top panel
    const QList<QRect> sideBySide{kPrimary, kRightOfPrimary};
    QCOMPARE(autohide::screenOf(strip(2000, 300), sideBySide), kRightOfPrimary);
    // Docked at the second screen's right edge, its centre on no screen.
    QCOMPARE(autohide::screenOf(strip(3198, 300), sideBySide), kRightOfPrimary);
    QCOMPARE(autohide::screenOf(strip(5000, 300), sideBySide), kPrimary);
}

QTEST_GUILESS_MAIN(FloatingRulesTest)
#include "test_floating_rules.moc"
