// The floating strip's rules: its price line and where auto-hide puts it.
#include "floating/auto_hide.h"
#include "floating/quote_line.h"

#include <QTest>

using namespace Qt::StringLiterals;
using quoteline::Source;

Q_DECLARE_METATYPE(Source)

namespace {

// Screens whole and their work areas, each losing a panel at its bottom.
const QRect kPrimary(0, 0, 1920, 1080);
const QRect kPrimaryWork(0, 0, 1920, 1040);
const QRect kRight(1920, 0, 1280, 1024);
const QRect kRightWork(1920, 0, 1280, 984);
const QRect kLeft(-1280, 0, 1280, 1024);
const QRect kLeftWork(-1280, 0, 1280, 984);
const QRect kAbove(0, -1080, 1920, 1080);
const QRect kAboveWork(0, -1080, 1920, 1040);
// A desktop with a top panel and a dock at the left.
const QRect kPanelledWork(64, 32, 1856, 1048);
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
    void shownPart_data();
    void shownPart();
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
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QList<QRect>>("works");
    QTest::addColumn<QRect>("strip");
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<QPoint>("to");
    const QList<QRect> one{kPrimary};
    const QList<QRect> oneWork{kPrimaryWork};
    const auto row = [&](const char* name, const QRect& at, const QPoint& cursor, std::optional<QPoint> to) {
        QTest::newRow(name) << one << oneWork << at << cursor << to.has_value() << to.value_or(QPoint());
    };
    row("left edge: docks", strip(0, 300), kFarAway, QPoint(2 - kW, 300));
    row("left edge: its 2 pixels bring it back", strip(2 - kW, 300), QPoint(0, 310), QPoint(0, 300));
    row("left edge: partly off screen, under the mouse", strip(-100, 300), QPoint(10, 310), QPoint(0, 300));
    row("right edge: docks", strip(1920 - kW, 300), kFarAway, QPoint(1918, 300));
    row("right edge: its 2 pixels bring it back", strip(1918, 300), QPoint(1919, 320),
        QPoint(1920 - kW, 300));
    row("top edge: docks", strip(744, 0), kFarAway, QPoint(744, 2 - kH));
    row("top edge: unfolded, docks", strip(744, 0, 169), kFarAway, QPoint(744, -167));
    row("top edge: its 2 pixels bring it back", strip(744, 2 - kH), QPoint(900, 1), QPoint(744, 0));
    row("corner: the left edge first", strip(0, 0), kFarAway, QPoint(2 - kW, 0));
    row("away from the edges: stays", strip(500, 500), kFarAway, std::nullopt);
    row("the bottom edge never docks", strip(500, 1040 - kH), kFarAway, std::nullopt);
    row("under the mouse, at the edge: stays", strip(0, 300), QPoint(kW, 300 + kH), std::nullopt);
    row("on no screen: back home", strip(2500, 300), kFarAway, QPoint(744, 0));

    const auto rows = [](const char* name, const QList<QRect>& screens, const QList<QRect>& works,
                         const QRect& at, const QPoint& cursor, std::optional<QPoint> to) {
        QTest::newRow(name) << screens << works << at << cursor << to.has_value() << to.value_or(QPoint());
    };
    // Docked at the work area's edges, beside the panels and never over them.
    const QList<QRect> panelled{kPanelledWork};
    rows("panels: beside the dock, docks at its edge", one, panelled, strip(64, 300), kFarAway,
         QPoint(66 - kW, 300));
    rows("panels: comes back beside the dock", one, panelled, strip(66 - kW, 300), QPoint(64, 300),
         QPoint(64, 300));
    rows("panels: over the dock the mouse leaves it docked", one, panelled, strip(66 - kW, 300),
         QPoint(20, 300), std::nullopt);
    rows("panels: below the top panel, docks below it", one, panelled, strip(744, 32), kFarAway,
         QPoint(744, 34 - kH));
    rows("panels: comes back below the top panel", one, panelled, strip(744, 34 - kH), QPoint(800, 33),
         QPoint(744, 32));
    rows("panels: over the top panel the mouse leaves it docked", one, panelled, strip(744, 34 - kH),
         QPoint(800, 10), std::nullopt);

    const QList<QRect> pair{kPrimary, kRight};
    const QList<QRect> pairWork{kPrimaryWork, kRightWork};
    rows("two screens: inner edge of the primary stays", pair, pairWork, strip(1920 - kW, 300), kFarAway,
         std::nullopt);
    rows("two screens: inner edge of the second stays", pair, pairWork, strip(1920, 300), QPoint(2600, 700),
         std::nullopt);
    rows("two screens: outer right edge docks", pair, pairWork, strip(3200 - kW, 300), kFarAway,
         QPoint(3198, 300));
    rows("two screens: the outer right edge brings it back", pair, pairWork, strip(3198, 300),
         QPoint(3199, 300), QPoint(3200 - kW, 300));
    rows("two screens: the second's top edge docks", pair, pairWork, strip(1920, 0), kFarAway,
         QPoint(1920, 2 - kH));
    rows("two screens: the second's top edge brings it back", pair, pairWork, strip(1920, 2 - kH),
         QPoint(2000, 0), QPoint(1920, 0));
    rows("two screens: below the shorter neighbour the edge is outer", pair, pairWork, strip(1920 - kW, 1030),
         kFarAway, QPoint(1918, 1030));
    rows("two screens: the primary's left edge beside a screen stays", {kPrimary, kLeft},
         {kPrimaryWork, kLeftWork}, strip(0, 300), kFarAway, std::nullopt);
    rows("two screens: the left screen's outer edge docks", {kPrimary, kLeft}, {kPrimaryWork, kLeftWork},
         strip(-1280, 300), kFarAway, QPoint(-1280 + 2 - kW, 300));
    rows("two screens: a top edge under another screen stays", {kPrimary, kAbove}, {kPrimaryWork, kAboveWork},
         strip(744, 0), kFarAway, std::nullopt);
    rows("two screens: a strip left on none comes to the primary", pair, pairWork, strip(3300, 300), kFarAway,
         QPoint(744, 0));
}

void FloatingRulesTest::autoHide() {
    QFETCH(QList<QRect>, screens);
    QFETCH(QList<QRect>, works);
    QFETCH(QRect, strip);
    QFETCH(QPoint, cursor);
    QFETCH(bool, moves);
    const std::optional<QPoint> step =
        autohide::autoHideStep(strip, cursor, autohide::screenAreas(screens, works));
    QCOMPARE(step.has_value(), moves);
    if (moves)
        QTEST(*step, "to");
}

void FloatingRulesTest::shownPart_data() {
    QTest::addColumn<QRect>("work");
    QTest::addColumn<QRect>("strip");
    QTest::addColumn<QRect>("shown");
    QTest::addColumn<QRect>("undocked");
    QTest::newRow("docked left") << kPrimaryWork << strip(2 - kW, 300) << QRect(0, 300, 2, kH)
                                 << strip(0, 300);
    QTest::newRow("docked right") << kPrimaryWork << strip(1918, 300) << QRect(1918, 300, 2, kH)
                                  << strip(1920 - kW, 300);
    QTest::newRow("docked top, unfolded")
        << kPrimaryWork << strip(744, 2 - 169, 169) << QRect(744, 0, kW, 2) << strip(744, 0, 169);
    QTest::newRow("docked below a top panel")
        << kPanelledWork << strip(744, 34 - kH) << QRect(744, 32, kW, 2) << strip(744, 32);
    QTest::newRow("docked beside a left dock")
        << kPanelledWork << strip(66 - kW, 300) << QRect(64, 300, 2, kH) << strip(64, 300);
    QTest::newRow("in the open: whole")
        << kPrimaryWork << strip(500, 500) << strip(500, 500) << strip(500, 500);
    QTest::newRow("partly off screen, not docked: whole")
        << kPrimaryWork << strip(-100, 300) << strip(-100, 300) << strip(-100, 300);
}

void FloatingRulesTest::shownPart() {
    QFETCH(QRect, work);
    QFETCH(QRect, strip);
    const QList<autohide::ScreenArea> screens = autohide::screenAreas({kPrimary}, {work});
    QTEST(autohide::shownPart(strip, screens), "shown");
    QTEST(autohide::undocked(strip, screens), "undocked");
}

void FloatingRulesTest::homeAndScreen() {
    QCOMPARE(autohide::homePosition({kW, kH}, kPrimaryWork), QPoint(744, 0));
    QCOMPARE(autohide::homePosition({kW, kH}, kPanelledWork), QPoint(776, 32));
    const QList<autohide::ScreenArea> pair =
        autohide::screenAreas({kPrimary, kRight}, {kPrimaryWork, kRightWork});
    QCOMPARE(autohide::screenOf(strip(2000, 300), pair).work, kRightWork);
    // Docked at the second screen's right edge, its centre on no screen.
    QCOMPARE(autohide::screenOf(strip(3198, 300), pair).whole, kRight);
    QCOMPARE(autohide::screenOf(strip(5000, 300), pair).whole, kPrimary);
}

QTEST_GUILESS_MAIN(FloatingRulesTest)
#include "test_floating_rules.moc"
