// The real program under Xvfb: the toolbar opens the floating strip, which
// shows the ICBC prices of the demo portal on its next tick, and the strip
// opens the desktop chart with the portal's 24-hour image, which lets clicks
// through to the windows beneath once asked to.
#include "program_run.h"
#include "settings/settings_store.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString quote(const QJsonObject& state, const QString& name) {
    return state[u"quotes"][name].toString();
}

QJsonObject timerOf(const QJsonObject& window, const QString& name) {
    return findControl(window, name);
}

} // namespace

class FloatingEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void toolbarOpensTheStripWithTheIcbcLineAndTheDesktopChart();
};

void FloatingEndToEnd::toolbarOpensTheStripWithTheIcbcLineAndTheDesktopChart() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    const QString config = run.programDir() + u"/config.ini"_s;
    QVERIFY(settings::writeItem(config, settings::key::showIcbc, u"1"_s));
    QVERIFY(settings::writeItem(config, settings::key::chartOpacity, u"80"_s));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    const auto mainWindow = [](const QJsonObject& s) { return findWindow(s, u"Aurivex3.0"_s); };
    QVERIFY(run.waitForMainWindow());
    QVERIFY(findWindow(run.state(), u"纸小窗口"_s).isEmpty());
    // The bank rows show their first prices on their 15-second timers.
    QVERIFY(run.waitForState([](const QJsonObject& s) { return !quote(s, u"icbcSell"_s).isEmpty(); }, 30000));

    const QJsonObject main = mainWindow(run.state());
    QVERIFY(findControl(main, u"命令_小窗口"_s)[u"enabled"].toBool());
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(main, u"命令_小窗口"_s)));
    QElapsedTimer sinceClick;
    sinceClick.start();
    const auto showsIcbc = [](const QJsonObject& s) {
        const QJsonObject strip = findWindow(s, u"纸小窗口"_s);
        const QString line = findControl(strip, u"标签_价格显示"_s)[u"text"].toString();
        return strip[u"visible"].toBool() &&
               line == u"工行买入:"_s + quote(s, u"icbcBuy"_s) + u"  工行卖出:"_s + quote(s, u"icbcSell"_s);
    };
    // The line is rebuilt every second; the bound only keeps a loaded machine from failing the run.
    QVERIFY(run.waitForState(showsIcbc, 10000));
    qInfo("the strip showed the ICBC line %lld ms after the click (state dump every 500 ms)",
          static_cast<long long>(sinceClick.elapsed()));

    const QJsonObject strip = findWindow(run.state(), u"纸小窗口"_s);
    QVERIFY(strip[u"topmost"].toBool());
    QCOMPARE(strip[u"w"].toInt(), 432);
    QCOMPARE(strip[u"h"].toInt(), 33);
    QCOMPARE(strip[u"y"].toInt(), 0);
    QCOMPARE(strip[u"x"].toInt(), (1440 - 432) / 2);
    QCOMPARE(timerOf(strip, u"取行情时钟"_s)[u"interval"].toInt(), 1000);
    QVERIFY(findControl(strip, u"选择框_工行价格"_s)[u"checked"].toBool());
    ProgramRun::screenshot(u"floating-strip"_s);

    // Unfolded, the strip opens the desktop chart, which shows the portal's chart image.
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(strip, u"按钮_高级设置"_s)));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return findWindow(s, u"纸小窗口"_s)[u"h"].toInt() == 169; }, 5000));
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(strip, u"按钮_打开桌面行情"_s)));
    const auto chartShown = [](const QJsonObject& s) {
        const QJsonObject chart = findWindow(s, u"黄金行情小窗口hj"_s);
        const QJsonObject panel = findControl(chart, u"超文本浏览框_行情显示"_s);
        return chart[u"visible"].toBool() && panel[u"loaded"].toBool();
    };
    QVERIFY2(run.waitForState(chartShown, 15000), "the desktop chart did not show its image");
    const QJsonObject chart = findWindow(run.state(), u"黄金行情小窗口hj"_s);
    QCOMPARE(findControl(chart, u"超文本浏览框_行情显示"_s)[u"image"].toString(), u"450x275"_s);
    QVERIFY(chart[u"topmost"].toBool());
    QCOMPARE(chart[u"opacity"].toInt(), 200); // the stored position 80, × 2.5
    QVERIFY(
        findControl(findWindow(run.state(), u"纸小窗口"_s), u"选择框_桌面行情穿透"_s)[u"enabled"].toBool());
    ProgramRun::screenshot(u"desktop-chart"_s);

    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(strip, u"选择框_桌面行情穿透"_s)));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return findWindow(s, u"黄金行情小窗口hj"_s)[u"clickThrough"].toBool(); },
        5000));

    // The strip closes by its own button and the chart stays; the main window carries on.
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(strip, u"按钮_退出"_s)));
    QVERIFY(
        run.waitForState([](const QJsonObject& s) { return findWindow(s, u"纸小窗口"_s).isEmpty(); }, 5000));
    QVERIFY(findWindow(run.state(), u"黄金行情小窗口hj"_s)[u"visible"].toBool());

    // A click on the chart reaches the main window's toolbar beneath it, which opens the strip again.
    const QPoint beneath = ProgramRun::controlCentre(mainWindow(run.state()), u"命令_小窗口"_s);
    QVERIFY(QRect(chart[u"x"].toInt(), chart[u"y"].toInt(), chart[u"w"].toInt(), chart[u"h"].toInt())
                .contains(beneath));
    QVERIFY(ProgramRun::clickAt(beneath));
    QVERIFY2(
        run.waitForState(
            [](const QJsonObject& s) { return findWindow(s, u"纸小窗口"_s)[u"visible"].toBool(); }, 5000),
        "the click did not pass through the desktop chart");
    QCOMPARE(run.program().state(), QProcess::Running);
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());
}

QTEST_GUILESS_MAIN(FloatingEndToEnd)
#include "test_e2e_floating.moc"
