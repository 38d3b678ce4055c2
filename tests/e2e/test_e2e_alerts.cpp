// The real program under Xvfb: with the portal's price below a saved
// threshold and alerts set to start with the program, the pop-up slides in
// with the right message and rests on the bottom of the screen; "停止提醒"
// stops the checking, and a double-click closes the pop-up.
#include "program_run.h"
#include "settings/settings_store.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kPopup = u"Aurisa提醒您："_s;
const QString kMain = u"Aurivex3.0"_s;

QJsonObject control(const QJsonObject& state, const QString& window, const QString& name) {
    return findControl(findWindow(state, window), name);
}

} // namespace

class AlertsEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void popupAppearsAndAlertsStop();
};

void AlertsEndToEnd::popupAppearsAndAlertsStop() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY(portalGet(run.portalPort(), u"/demo/price?buy=257.76&sell=258.56"_s));
    const QString config = run.programDir() + u"/config.ini"_s;
    const QList<QStringList> keys{
        {u"黄金选项"_s, u"提醒"_s, u"1"_s},
        {u"提醒设置"_s, u"买入价低于"_s, u"1"_s},
        {u"提醒设置"_s, u"买入价低于数值"_s, u"300"_s},
        {u"提醒设置"_s, u"声音提醒选中"_s, u"1"_s},
        {u"提醒设置"_s, u"气泡提醒选中"_s, u"1"_s},
        // Sounds on a machine that may have no sound device: the alert must still pop up.
        {u"声音提醒"_s, u"系统声音使用"_s, u"1"_s},
        {u"声音提醒"_s, u"系统声音"_s, u"1"_s},
    };
    for (const QStringList& key : keys)
        QVERIFY(settings::writeItem(config, key[0], key[1], key[2]));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));

    // The international price (no bank checked) is under 300 once the first prices show.
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) {
            return control(s, kPopup, u"标签_价格提醒显示标签"_s)[u"text"].toString() ==
                   u"速度啊，国际买入价低于达到标准了！"_s;
        },
        30000));
    // It rests on the bottom of the 1440 x 900 screen, and its timer sleeps.
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) {
            const QJsonObject popup = findWindow(s, kPopup);
            return popup[u"visible"].toBool() && popup[u"y"].toInt() == 900 - 127 &&
                   findControl(popup, u"时钟_右下角渐渐弹出窗口"_s)[u"interval"].toInt() == 0;
        },
        10000));
    QJsonObject state = run.state();
    QCOMPARE(findWindow(state, kPopup)[u"x"].toInt(), 1440 - 326 - 1);
    QCOMPARE(control(state, kMain, u"标签_当前状态"_s)[u"text"].toString(),
             u"当前状态：声音提醒及弹窗提醒运行中..."_s);
    QCOMPARE(control(state, kMain, u"声音提醒检测时钟"_s)[u"interval"].toInt(), 3200);
    QVERIFY(control(state, kMain, u"图片框_买入价低于成立"_s)[u"visible"].toBool());
    QVERIFY(!control(state, kMain, u"编辑框_买入价低于"_s)[u"enabled"].toBool());
    const QString shot = ProgramRun::screenshot(u"alert-popup"_s);
    QVERIFY2(!shot.isEmpty(), "the screenshot could not be taken");
    qInfo("screenshot: %s", qPrintable(shot));

    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(findWindow(state, kMain), u"按钮_暂停提醒"_s)));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) {
            return control(s, kMain, u"标签_当前状态"_s)[u"text"].toString() == u"当前状态：停止中......"_s;
        },
        10000));
    state = run.state();
    QCOMPARE(control(state, kMain, u"声音提醒检测时钟"_s)[u"interval"].toInt(), 0);
    QCOMPARE(control(state, kMain, u"时钟_屏幕下方提醒检测"_s)[u"interval"].toInt(), 0);
    QVERIFY(!control(state, kMain, u"图片框_买入价低于成立"_s)[u"visible"].toBool());
    QVERIFY(control(state, kMain, u"编辑框_买入价低于"_s)[u"enabled"].toBool());
    // Stopping leaves the pop-up; a double-click on it closes it.
    const QJsonObject popup = findWindow(state, kPopup);
    QVERIFY(popup[u"visible"].toBool());
    const QPoint centre = ProgramRun::controlCentre(popup, u"标签_价格提醒显示标签"_s);
    QCOMPARE(QProcess::execute(u"xdotool"_s,
                               {u"mousemove"_s, QString::number(centre.x()), QString::number(centre.y()),
                                u"click"_s, u"--repeat"_s, u"2"_s, u"--delay"_s, u"80"_s, u"1"_s}),
             0);
    QVERIFY(run.waitForState([](const QJsonObject& s) { return !findWindow(s, kPopup)[u"visible"].toBool(); },
                             10000));
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());
}

QTEST_GUILESS_MAIN(AlertsEndToEnd)
#include "test_e2e_alerts.moc"
