// The real program under Xvfb: the toolbar opens the floating strip, which
// shows the ICBC prices of the demo portal on its next tick.
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
    void toolbarOpensTheStripWithTheIcbcLine();
};

void FloatingEndToEnd::toolbarOpensTheStripWithTheIcbcLine() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY(settings::writeItem(run.programDir() + u"/config.ini"_s, settings::key::showIcbc, u"1"_s));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    const auto mainWindow = [](const QJsonObject& s) { return findWindow(s, u"Aurivex3.0"_s); };
    QVERIFY(run.waitForState(
        [&](const QJsonObject& s) {
            return mainWindow(s)[u"visible"].toBool() && findWindow(s, u"欢迎使用Aurivex"_s).isEmpty();
        },
        20000));
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

    // Closed by its own button; the main window carries on.
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(strip, u"按钮_退出"_s)));
    QVERIFY(
        run.waitForState([](const QJsonObject& s) { return findWindow(s, u"纸小窗口"_s).isEmpty(); }, 5000));
    QCOMPARE(run.program().state(), QProcess::Running);
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());
}

QTEST_GUILESS_MAIN(FloatingEndToEnd)
#include "test_e2e_floating.moc"
