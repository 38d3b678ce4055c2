// The main window's resize arithmetic, the fold buttons of the right column
// and the bank panel's splitter, on the window's design rectangles.
#include "app/main_layout.h"
#include "quotes/panel_rules.h"

#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kToolbarHeight = 28;
constexpr int kStatusHeight = 20;
constexpr int kSideWidth = 62;
const QSize kContentSizes[MainLayout::kPages] = {{}, {600, 560}, {672, 560}, {600, 540}, {660, 480}};

int t(double value) {
    return static_cast<int>(std::trunc(value));
}

// The frame as the window builds it at its design size 1015 x 688, with the
// status bar already docked at the foot of a w x h client area.
MainLayout designLayout(int w, int h) {
    MainLayout l;
    l.toolbarHeight = kToolbarHeight;
    l.statusBar = QRect(0, h - kStatusHeight, w, kStatusHeight);
    l.rightColumn = QRect(749, 26, 264, 640);
    l.tabs = QRect(2, 52, 745, 614);
    l.clockBar = QRect(2, 27, 745, 24);
    l.clockPanel = QRect(4, 1, 736, 22);
    l.bankSplitter = QRect(0, 386, 745, 8);
    l.bankPanel = QRect(0, 394, 745, 220);
    l.bankAdaptive = QRect(5, 5, 735, 210);
    l.chart24 = QRect(95, 52, 492, 310);
    l.speedPanel = QRect(2, 24, 660, 26);
    for (int i = 0; i < MainLayout::kPages; ++i) {
        l.sidePanels[size_t(i)] = QRect(745 - kSideWidth - 1, 1, kSideWidth, 611);
        if (i > 0) {
            const QSize size = kContentSizes[i];
            l.contentFrames[size_t(i)] = QRect((683 - size.width()) / 2, 30, size.width(), size.height());
        }
    }
    l.tvFold = QRect(973, 22, 35, 10);
    l.alertFold = QRect(975, 255, 35, 10);
    l.tvGroup = QRect(1, 1, 260, 228);
    l.alertGroup = QRect(1, 232, 260, 318);
    l.intlPanel = QRect(2, 564, 260, 70);
    l.newsStrip = QRect(502, 668, 250, 16);
    l.newsLink = QRect(250, 0, 400, 16);
    return l;
}

MainLayout laidOut(int w, int h) {
    MainLayout l = designLayout(w, h);
    l.apply(w, h);
    return l;
}

void addClientSizes() {
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::newRow("design 1015x688") << 1015 << 688;
    QTest::newRow("larger 1400x900") << 1400 << 900;
    QTest::newRow("smaller 800x500") << 800 << 500;
    QTest::newRow("odd 1001x701") << 1001 << 701;
    QTest::newRow("odd small 801x501") << 801 << 501;
    QTest::newRow("odd large 1921x1081") << 1921 << 1081;
    QTest::newRow("tiny 300x200") << 300 << 200;
}

} // namespace

class MainLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void designSizeKeepsTheDesign();
    void everyStep_data();
    void everyStep();
    void enlargingKeepsEdgesAndCentres_data();
    void enlargingKeepsEdgesAndCentres();
    void resizeUnfoldsTheAlertGroup_data();
    void resizeUnfoldsTheAlertGroup();
    void alertFoldTogglesBetween0And308();
    void tvFoldMovesTheAlertGroup();
    void bankPanelToggle_data();
    void bankPanelToggle();
    void bankPanelToggleFromTheLaidOutWindow();
};

// At its design size the window lands on (nearly) the rectangles it was
// built with.
void MainLayoutTest::designSizeKeepsTheDesign() {
    const MainLayout l = laidOut(1015, 688);
    QCOMPARE(l.rightColumn, QRect(749, 26, 264, 640));
    QCOMPARE(l.tabs, QRect(2, 52, 745, 614));
    QCOMPARE(l.clockBar, QRect(2, 27, 745, 24));
    QCOMPARE(l.clockPanel, QRect(4, 1, 736, 22));
    QCOMPARE(l.bankSplitter, QRect(0, 386, 745, 8));
    QCOMPARE(l.bankPanel, QRect(0, 394, 745, 220));
    QCOMPARE(l.bankAdaptive, QRect(5, 5, 735, 210));
    QCOMPARE(l.sidePanels[0], QRect(682, 1, 62, 393));
    QCOMPARE(l.chart24, QRect(95, 29, 492, 310));
    QCOMPARE(l.tvFold, QRect(972, 22, 35, 10));
    QCOMPARE(l.alertFold, QRect(972, 261, 35, 10));
    QCOMPARE(l.alertGroup, QRect(1, 241, 260, 330));
    QCOMPARE(l.intlPanel, QRect(2, 568, 260, 70));
    for (int i = 1; i < MainLayout::kPages; ++i)
        QCOMPARE(l.sidePanels[size_t(i)], QRect(682, 1, 62, 612));
    QCOMPARE(l.contentFrames[1], QRect(41, 27, 600, 560));
    QCOMPARE(l.contentFrames[2], QRect(5, 27, 672, 560));
    QCOMPARE(l.contentFrames[3], QRect(41, 37, 600, 540));
    QCOMPARE(l.contentFrames[4], QRect(11, 67, 660, 480));
    QCOMPARE(l.newsStrip, QRect(84, 671, 909, 16));
    QCOMPARE(l.statusPart1Width, 915);
    QCOMPARE(l.newsLink.left(), 909);
}

void MainLayoutTest::everyStep_data() {
    addClientSizes();
}

// The fourteen steps computed here in floating point and truncated, each from
// the values the earlier steps left.
void MainLayoutTest::everyStep() {
    QFETCH(int, w);
    QFETCH(int, h);
    const MainLayout before = designLayout(w, h);
    MainLayout l = before;
    l.apply(w, h);

    // 1-4
    const int rightLeft = t(double(w) - 264 - 2);
    const int rightHeight = t(double(h) - kToolbarHeight - kStatusHeight);
    const int tabsWidth = t(double(w) - 264 - 6);
    const int tabsHeight = t(double(rightHeight) - 24 - 2);
    QCOMPARE(l.rightColumn, QRect(rightLeft, 26, 264, rightHeight));
    QCOMPARE(l.tabs, QRect(2, 52, tabsWidth, tabsHeight));
    // 5
    QCOMPARE(l.clockBar, QRect(2, 27, tabsWidth, 24));
    QCOMPARE(l.clockPanel, QRect(t(tabsWidth / 2.0 - 736 / 2.0), 1, 736, 22));
    // 6
    QCOMPARE(l.bankSplitter, QRect(0, tabsHeight - 228, tabsWidth, 8));
    // 7
    const int bankTop = t(double(h) - 220 - kStatusHeight - 24 - 30);
    QCOMPARE(l.bankPanel, QRect(0, bankTop, tabsWidth, 220));
    QCOMPARE(l.bankAdaptive, QRect(t(tabsWidth / 2.0 - 735 / 2.0), 5, 735, 210));
    // 8
    QCOMPARE(l.sidePanels[0], QRect(tabsWidth - kSideWidth - 1, 1, kSideWidth, tabsHeight - 220 - 1));
    // 9
    QCOMPARE(l.chart24, QRect(t((tabsWidth - kSideWidth) / 2.0 - 492 / 2.0),
                              t((bankTop - 26) / 2.0 - 310 / 2.0), 492, 310));
    QCOMPARE(l.speedPanel, before.speedPanel);
    // 10
    QCOMPARE(l.tvFold, QRect(w - 35 - 8, 22, 35, 10));
    QCOMPARE(l.alertFold, QRect(w - 35 - 8, 228 + 33, 35, 10));
    // 11
    QCOMPARE(l.alertGroup, QRect(1, 228 + 33 - 20, 260, t(double(h) - 228 - 70 - kStatusHeight - 40)));
    QCOMPARE(l.tvGroup, before.tvGroup);
    // 12
    QCOMPARE(l.intlPanel, QRect(2, (h - kStatusHeight) - 70 - 30, 260, 70));
    // 13
    for (int i = 1; i < MainLayout::kPages; ++i) {
        const QSize size = kContentSizes[i];
        QCOMPARE(l.sidePanels[size_t(i)], QRect(tabsWidth - kSideWidth - 1, 1, kSideWidth, tabsHeight - 2));
        QCOMPARE(l.contentFrames[size_t(i)],
                 QRect(t((tabsWidth - kSideWidth) / 2.0 - size.width() / 2.0),
                       t(tabsHeight / 2.0 - size.height() / 2.0), size.width(), size.height()));
    }
    // 14
    QCOMPARE(l.newsStrip, QRect(0 + 84, (h - kStatusHeight) + 3, w - 106, 16));
    QCOMPARE(l.statusPart1Width, w - 100);
    QCOMPARE(l.newsLink, QRect(w - 106, 0, 400, 16));
    // Docked bars are the window's: the layout leaves them alone.
    QCOMPARE(l.statusBar, before.statusBar);
    QCOMPARE(l.toolbarHeight, kToolbarHeight);
}

void MainLayoutTest::enlargingKeepsEdgesAndCentres_data() {
    addClientSizes();
}

void MainLayoutTest::enlargingKeepsEdgesAndCentres() {
    QFETCH(int, w);
    QFETCH(int, h);
    const MainLayout l = laidOut(w, h);
    // The right column ends 2 pixels short of the right edge; the tabs and the
    // column are 2 pixels apart.
    QCOMPARE(w - (l.rightColumn.left() + l.rightColumn.width()), 2);
    QCOMPARE(l.rightColumn.left() - (l.tabs.left() + l.tabs.width()), 2);
    QCOMPARE(l.clockBar.width(), l.tabs.width());
    QCOMPARE(l.bankPanel.width(), l.tabs.width());
    // Centred: the gaps on both sides differ by less than a pixel's rounding.
    const int clockGap = l.clockBar.width() - l.clockPanel.width() - 2 * l.clockPanel.left();
    QVERIFY2(clockGap == 0 || clockGap == 1 || clockGap == -1, qPrintable(QString::number(clockGap)));
    const int bankGap = l.bankPanel.width() - l.bankAdaptive.width() - 2 * l.bankAdaptive.left();
    QVERIFY2(bankGap == 0 || bankGap == 1 || bankGap == -1, qPrintable(QString::number(bankGap)));
    // The bank panel keeps its height and hangs directly under its splitter.
    QCOMPARE(l.bankPanel.height(), 220);
    QCOMPARE(l.bankPanel.top(), l.bankSplitter.top() + l.bankSplitter.height());
    // The international panel ends 30 pixels above the status bar.
    QCOMPARE(l.intlPanel.top() + l.intlPanel.height() + 30, l.statusBar.top());
}

void MainLayoutTest::resizeUnfoldsTheAlertGroup_data() {
    addClientSizes();
}

void MainLayoutTest::resizeUnfoldsTheAlertGroup() {
    QFETCH(int, w);
    QFETCH(int, h);
    MainLayout l = laidOut(w, h);
    const int alertHeight = l.alertGroup.height();
    const int intlTop = l.intlPanel.top();

    folds::toggleAlertGroup(l);
    QCOMPARE(l.alertGroup.height(), 0);
    QCOMPARE(l.alertGroup.top(), 241);
    QCOMPARE(l.intlPanel.top(), 241 + 10);

    l.apply(w, h);
    QCOMPARE(l.alertGroup.height(), alertHeight);
    QCOMPARE(l.alertGroup.height(), h - 228 - 70 - kStatusHeight - 40);
    QCOMPARE(l.intlPanel.top(), intlTop);
}

void MainLayoutTest::alertFoldTogglesBetween0And308() {
    MainLayout l = laidOut(1015, 688);
    QCOMPARE(l.alertGroup.height(), 330);
    folds::toggleAlertGroup(l);
    QCOMPARE(l.alertGroup.height(), 0);
    QCOMPARE(l.intlPanel.top(), 251);
    folds::toggleAlertGroup(l);
    QCOMPARE(l.alertGroup.height(), 308);
    QCOMPARE(l.alertGroup.top(), 241);
    QCOMPARE(l.intlPanel.top(), 241 + 308 + 10);
    // Nothing else in the column moves.
    QCOMPARE(l.alertFold.top(), 261);
    QCOMPARE(l.tvGroup.height(), 228);
}

void MainLayoutTest::tvFoldMovesTheAlertGroup() {
    MainLayout l = laidOut(1015, 688);
    const int alertHeight = l.alertGroup.height();

    folds::toggleTvGroup(l);
    QCOMPARE(l.tvGroup.height(), 0);
    QCOMPARE(l.alertFold.top(), 33);
    QCOMPARE(l.alertGroup.top(), 13);
    QCOMPARE(l.alertGroup.height(), alertHeight);
    QCOMPARE(l.intlPanel.top(), 13 + alertHeight + 10);

    // With both folded the international panel sits under the alert fold.
    folds::toggleAlertGroup(l);
    QCOMPARE(l.intlPanel.top(), 13 + 10);
    folds::toggleAlertGroup(l);

    folds::toggleTvGroup(l);
    QCOMPARE(l.tvGroup.height(), 228);
    QCOMPARE(l.alertFold.top(), 261);
    QCOMPARE(l.alertGroup.top(), 241);
    QCOMPARE(l.intlPanel.top(), 241 + 308 + 10);

    // A resize with the TV group folded lays the alert group out under it.
    folds::toggleTvGroup(l);
    l.apply(1015, 688);
    QCOMPARE(l.alertFold.top(), 33);
    QCOMPARE(l.alertGroup.top(), 13);
    QCOMPARE(l.alertGroup.height(), 688 - 0 - 70 - kStatusHeight - 40);
}

void MainLayoutTest::bankPanelToggle_data() {
    QTest::addColumn<int>("tabsHeight");
    QTest::addColumn<int>("splitterTop");
    QTest::addColumn<int>("chartHeight");
    QTest::addColumn<int>("expectedSplitter");
    QTest::addColumn<int>("expectedPanel");
    QTest::addColumn<int>("expectedChart");
    QTest::newRow("614 shown → hidden") << 614 << 386 << 310 << 605 << 613 << 138;
    QTest::newRow("614 hidden → shown") << 614 << 605 << 310 << 386 << 394 << 29;
    QTest::newRow("614 elsewhere → hidden") << 614 << 100 << 310 << 605 << 613 << 138;
    QTest::newRow("615 hidden → shown") << 615 << 606 << 310 << 387 << 395 << 29;
    QTest::newRow("odd chart height") << 614 << 605 << 311 << 386 << 394 << 28;
    QTest::newRow("small tabs, negative, truncated toward zero") << 101 << 92 << 310 << -127 << -119 << -227;
    QTest::newRow("small tabs hidden") << 101 << -127 << 310 << 92 << 100 << -118;
}

void MainLayoutTest::bankPanelToggle() {
    QFETCH(int, tabsHeight);
    QFETCH(int, splitterTop);
    QFETCH(int, chartHeight);
    QFETCH(int, expectedSplitter);
    QFETCH(int, expectedPanel);
    QFETCH(int, expectedChart);
    const quotepanels::SplitterToggle toggled =
        quotepanels::toggleBankPanel(splitterTop, 8, tabsHeight, 26, chartHeight);
    QCOMPARE(toggled.splitterTop, expectedSplitter);
    QCOMPARE(toggled.panelTop, expectedPanel);
    QCOMPARE(toggled.chartTop, expectedChart);
    QCOMPARE(toggled.chartTop, t((expectedPanel - 26) / 2.0 - chartHeight / 2.0));
}

// On a freshly laid-out window the first click hides the panel and moves the
// chart down; the second puts both back where the layout had them.
void MainLayoutTest::bankPanelToggleFromTheLaidOutWindow() {
    for (const QSize size : {QSize(1015, 688), QSize(1400, 900), QSize(1001, 701)}) {
        const MainLayout l = laidOut(size.width(), size.height());
        const int h = l.tabs.height();
        QCOMPARE(l.bankSplitter.top(), h - 228);
        const quotepanels::SplitterToggle hidden = quotepanels::toggleBankPanel(
            l.bankSplitter.top(), l.bankSplitter.height(), h, l.speedPanel.height(), l.chart24.height());
        QCOMPARE(hidden.splitterTop, h - 9);
        QCOMPARE(hidden.panelTop, h - 1);
        QVERIFY(hidden.chartTop > l.chart24.top());
        const quotepanels::SplitterToggle shown = quotepanels::toggleBankPanel(
            hidden.splitterTop, l.bankSplitter.height(), h, l.speedPanel.height(), l.chart24.height());
        QCOMPARE(shown.splitterTop, h - 228);
        QCOMPARE(shown.panelTop, h - 220);
        QCOMPARE(shown.panelTop, l.bankPanel.top());
        QCOMPARE(shown.chartTop, l.chart24.top());
    }
}

QTEST_APPLESS_MAIN(MainLayoutTest)
#include "test_main_layout.moc"
