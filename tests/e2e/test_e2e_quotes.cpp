// The real program under Xvfb against the demo portal: the international row
// shows prices within seconds, the bank rows follow, and the window looks as
// designed (a screenshot is kept among the test artifacts).
#include "program_run.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString quote(const QJsonObject& state, const QString& name) {
    return state[u"quotes"][name].toString();
}

QJsonObject control(const QJsonObject& window, const QString& name) {
    for (const QJsonValue& c : window[u"controls"].toArray()) {
        if (c[u"name"].toString() == name)
            return c.toObject();
    }
    return {};
}

// Cents of a shown price text.
qint64 cents(const QString& text) {
    return qRound64(text.toDouble() * 100);
}

} // namespace

class QuotesEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void pricesArriveAndBanksFollow();
};

void QuotesEndToEnd::pricesArriveAndBanksFollow() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));

    // The connection check publishes the first prices within a few seconds.
    QVERIFY(run.waitForState([](const QJsonObject& s) { return !quote(s, u"intlBuy"_s).isEmpty(); }, 15000));
    QJsonObject state = run.state();
    const QRegularExpression price(u"^\\d{3}(\\.\\d{1,2})?$"_s);
    QVERIFY2(price.match(quote(state, u"intlBuy"_s)).hasMatch(), qPrintable(quote(state, u"intlBuy"_s)));
    QJsonObject main = findWindow(state, u"Aurivex3.0"_s);
    QCOMPARE(control(main, u"标签_国际买入价"_s)[u"text"].toString(), quote(state, u"intlBuy"_s));
    QVERIFY(!control(main, u"标签_连接服务器"_s)[u"visible"].toBool());

    // The bank rows follow on their 15-second timers.
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) {
            return !quote(s, u"icbcBuy"_s).isEmpty() && !quote(s, u"ccbBuy"_s).isEmpty() &&
                   !quote(s, u"bocBuy"_s).isEmpty();
        },
        25000));
    state = run.state();
    main = findWindow(state, u"Aurivex3.0"_s);
    const qint64 base = cents(quote(state, u"baseBuy"_s));
    for (const QString& bank : {u"icbc"_s, u"ccb"_s, u"boc"_s}) {
        const QString buy = quote(state, bank + u"Buy"_s);
        const QString sell = quote(state, bank + u"Sell"_s);
        QVERIFY2(price.match(buy).hasMatch() && price.match(sell).hasMatch(), qPrintable(buy + u' ' + sell));
        QCOMPARE(cents(sell) - cents(buy), qint64(80));
        // The base may have moved with a fetch since; the step is 0..15 cents of some recent base.
        QVERIFY2(std::abs(cents(buy) - base) <= 30, qPrintable(buy));
    }
    QCOMPARE(control(main, u"标签_工行买入价"_s)[u"text"].toString(), quote(state, u"icbcBuy"_s));
    QVERIFY(!control(main, u"北京时间显示标签"_s)[u"text"].toString().isEmpty());

    const QString shot = ProgramRun::screenshot(u"main-window"_s);
    QVERIFY2(!shot.isEmpty(), "the screenshot could not be taken");
    qInfo("screenshot: %s", qPrintable(shot));
}

QTEST_GUILESS_MAIN(QuotesEndToEnd)
#include "test_e2e_quotes.moc"
