// The real program under Xvfb: enter the simulated account from the menu, buy
// and sell with real clicks and typing, close, enter again and find the
// account as it was left.
#include "program_run.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kTrading = u"模拟炒金平台"_s;

QString boxText(const QJsonObject& state, const QString& name) {
    return findControl(findWindow(state, kTrading), name)[u"text"].toString();
}

} // namespace

class TradingEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void buySellAndComeBack();

private:
    bool fillAndPress(ProgramRun& run, const QString& box, const QString& quantity, const QString& button);
};

bool TradingEndToEnd::fillAndPress(ProgramRun& run, const QString& box, const QString& quantity,
                                   const QString& button) {
    const QJsonObject window = findWindow(run.state(), kTrading);
    return ProgramRun::clickAt(ProgramRun::controlCentre(window, box)) && ProgramRun::typeText(quantity) &&
           run.waitForState([&](const QJsonObject& s) { return boxText(s, box) == quantity; }, 5000) &&
           ProgramRun::clickAt(ProgramRun::controlCentre(window, button));
}

void TradingEndToEnd::buySellAndComeBack() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    // The bank prices are what the simulation trades at.
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return !s[u"quotes"][u"icbcSell"].toString().isEmpty(); }, 30000));

    // 工具(&T) → 模拟炒金(&G), by keyboard.
    QVERIFY(ProgramRun::focusWindow(u"Aurivex3.0"_s));
    QVERIFY(ProgramRun::pressKeys(u"alt+t"_s));
    QTest::qWait(300);
    QVERIFY(ProgramRun::pressKeys(u"g"_s));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return findWindow(s, kTrading)[u"visible"].toBool(); }, 10000));
    QCOMPARE(boxText(run.state(), u"编辑框_模拟现有资产"_s), u"100000"_s);

    QVERIFY(fillAndPress(run, u"编辑框_模拟买入数量"_s, u"10"_s, u"按钮_模拟买入"_s));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return boxText(s, u"编辑框_模拟当前持有量"_s) == u"10"_s; }, 10000));
    QVERIFY(fillAndPress(run, u"编辑框_模拟卖出数量"_s, u"4"_s, u"按钮_模拟卖出"_s));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return boxText(s, u"编辑框_模拟当前持有量"_s) == u"6"_s; }, 10000));
    QJsonObject state = run.state();
    const QString cash = boxText(state, u"编辑框_模拟现有资产"_s);
    QVERIFY(cash.toDouble() < 100000 && cash.toDouble() > 90000);
    const QJsonArray rows =
        findControl(findWindow(state, kTrading), u"高级表格_交易记录显示"_s)[u"items"].toArray();
    QCOMPARE(rows.size(), 3); // header and two trades
    QCOMPARE(rows[1][2].toString(), u"卖出"_s);
    QCOMPARE(rows[2][2].toString(), u"买入"_s);
    QVERIFY(state[u"messages"].toArray().isEmpty());

    // "退出炒金平台" closes the window; entering again from the toolbar finds the same account.
    QVERIFY(ProgramRun::clickAt(
        ProgramRun::controlCentre(findWindow(state, kTrading), u"工具条按钮_退出炒金平台"_s)));
    QVERIFY(run.waitForState([](const QJsonObject& s) { return findWindow(s, kTrading).isEmpty(); }, 10000));
    QVERIFY(ProgramRun::clickAt(
        ProgramRun::controlCentre(findWindow(run.state(), u"Aurivex3.0"_s), u"命令_模拟炒金"_s)));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return findWindow(s, kTrading)[u"visible"].toBool(); }, 10000));
    state = run.state();
    QCOMPARE(boxText(state, u"编辑框_模拟当前持有量"_s), u"6"_s);
    QCOMPARE(boxText(state, u"编辑框_模拟现有资产"_s), cash);
    QCOMPARE(findControl(findWindow(state, kTrading), u"高级表格_交易记录显示"_s)[u"items"].toArray().size(),
             3);
}

QTEST_GUILESS_MAIN(TradingEndToEnd)
#include "test_e2e_trading.moc"
