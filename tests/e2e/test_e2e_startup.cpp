// The real program under Xvfb: the splash hands over to the main window, the
// first quote page arrives, and a changed page ends the program after its one
// message.
#include "program_run.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTest>

class StartupEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void pricesArriveBehindTheSplash();
    void changedPageEndsTheProgramAfterOneMessage();
};

void StartupEndToEnd::pricesArriveBehindTheSplash() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));

    bool sawSplash = false;
    QVERIFY(run.waitForState(
        [&](const QJsonObject& s) {
            if (findWindow(s, u"欢迎使用Aurivex"_qs)[u"visible"].toBool())
                sawSplash = true;
            return findWindow(s, u"Aurivex3.0"_qs)[u"visible"].toBool();
        },
        20000));
    QVERIFY(sawSplash);

    const QRegularExpression price(u"^\\d{3}\\.\\d{2}$"_qs);
    QVERIFY(run.waitForState(
        [&](const QJsonObject& s) { return price.match(s[u"quotes"][u"baseBuy"].toString()).hasMatch(); },
        20000));
    const QJsonObject state = run.state();
    const QString buy = state[u"quotes"][u"baseBuy"].toString();
    const QString sell = state[u"quotes"][u"baseSell"].toString();
    QVERIFY2(price.match(sell).hasMatch(), qPrintable(sell));
    QVERIFY(buy.toDouble() < sell.toDouble());
    QVERIFY(state[u"messages"].toArray().isEmpty());
    // The splash is gone once the main window runs.
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return findWindow(s, u"欢迎使用Aurivex"_qs).isEmpty(); }, 5000));
    const QJsonObject main = findWindow(run.state(), u"Aurivex3.0"_qs);
    bool hasFetchTimer = false;
    for (const QJsonValue& control : main[u"controls"].toArray())
        hasFetchTimer |= control[u"name"] == u"时钟_取价格数据"_qs && control[u"interval"].toInt() == 60000;
    QVERIFY(hasFetchTimer);
}

void StartupEndToEnd::changedPageEndsTheProgramAfterOneMessage() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY(run.setPortalMode(u"broken-sell"_qs));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));

    QVERIFY(run.waitForState([](const QJsonObject& s) { return !findWindow(s, u"数据错误"_qs).isEmpty(); },
                             20000));
    const QJsonObject state = run.state();
    QCOMPARE(state[u"messages"].toArray().size(), 1);
    QCOMPARE(state[u"messages"][0][u"text"].toString(), u"敬告：服务器数据错误！"_qs);
    QCOMPARE(state[u"messages"][0][u"title"].toString(), u"数据错误"_qs);
    // The buy field was stored before the broken sell field was seen.
    QVERIFY(!state[u"quotes"][u"baseBuy"].toString().isEmpty());
    QVERIFY(state[u"quotes"][u"baseSell"].toString().isEmpty());
    QVERIFY(run.program().state() == QProcess::Running);

    QVERIFY(ProgramRun::pressReturnIn(u"数据错误"_qs));
    QVERIFY(run.waitForExit(10000));
    QCOMPARE(run.program().exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.program().exitCode(), 0);
    QCOMPARE(run.state()[u"messages"].toArray().size(), 1);
}

QTEST_GUILESS_MAIN(StartupEndToEnd)
#include "test_e2e_startup.moc"
