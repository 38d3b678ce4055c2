// The timer's contract: an interval starts or restarts it, 0 stops it, tick()
// runs the handlers at once.
#include "diagnostics/diagnostics.h"
#include "platform/time_scale.h"
#include "platform/timer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

class TimerTest : public QObject {
    Q_OBJECT
private slots:
    void intervalStartsAndZeroStops();
    void tickRunsHandlersWithoutWaiting();
    void firesRepeatedlyWhileRunning();
    void restartPostponesTheNextTick();
    void soakSpeedsUpOnlySlowTimers_data();
    void soakSpeedsUpOnlySlowTimers();
    void soakSpeedComesFromTheEnvironment_data();
    void soakSpeedComesFromTheEnvironment();
};

void TimerTest::intervalStartsAndZeroStops() {
    Timer timer(nullptr, u"时钟_取价格数据"_qs, 60000);
    QCOMPARE(timer.objectName(), u"时钟_取价格数据"_qs);
    QCOMPARE(timer.interval(), 60000);
    timer.setInterval(0);
    QCOMPARE(timer.interval(), 0);
    QVERIFY(!timer.isRunning());
    timer.setInterval(25);
    QCOMPARE(timer.interval(), 25);
    Timer stopped(nullptr, u"时钟_左移动"_qs);
    QCOMPARE(stopped.interval(), 0);
}

void TimerTest::tickRunsHandlersWithoutWaiting() {
    Timer timer(nullptr, u"t"_qs);
    QSignalSpy spy(&timer, &Timer::timeout);
    timer.tick();
    timer.tick();
    QCOMPARE(spy.count(), 2);
}

void TimerTest::firesRepeatedlyWhileRunning() {
    Timer timer(nullptr, u"t"_qs, 5);
    QSignalSpy spy(&timer, &Timer::timeout);
    QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 3, 5000);
    timer.setInterval(0);
    const int seen = spy.count();
    QTest::qWait(30);
    QCOMPARE(spy.count(), seen);
}

void TimerTest::restartPostponesTheNextTick() {
    Timer timer(nullptr, u"t"_qs, 1000);
    QSignalSpy spy(&timer, &Timer::timeout);
    QTest::qWait(600);
    const int before = spy.count();
    timer.setInterval(1000); // pressing "start" again restarts the wait
    QElapsedTimer sinceRestart;
    sinceRestart.start();
    QTest::qWait(600);
    // Only meaningful when the machine kept up with the wait.
    if (sinceRestart.elapsed() < 950)
        QCOMPARE(spy.count(), before);
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), before + 1, 5000);
}

void TimerTest::soakSpeedsUpOnlySlowTimers_data() {
    QTest::addColumn<int>("ms");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("runs");
    QTest::newRow("real time") << 60000 << 1 << 60000;
    QTest::newRow("price fetch") << 60000 << 20 << 3000;
    QTest::newRow("floored at the dump's beat") << 3200 << 20 << 500;
    QTest::newRow("dump beat kept") << 500 << 20 << 500;
    QTest::newRow("news scroll kept") << 15 << 20 << 15;
    QTest::newRow("stopped stays stopped") << 0 << 20 << 0;
}

void TimerTest::soakSpeedsUpOnlySlowTimers() {
    QFETCH(int, ms);
    QFETCH(int, speed);
    QFETCH(int, runs);
    QCOMPARE(timescale::scaled(ms, speed), runs);
}

void TimerTest::soakSpeedComesFromTheEnvironment_data() {
    QTest::addColumn<QString>("value"); // null: unset
    QTest::addColumn<int>("speed");
    QTest::newRow("unset") << QString() << 1;
    QTest::newRow("soak") << u"20"_qs << 20;
    QTest::newRow("hexadecimal") << u"0x14"_qs << 20;
    QTest::newRow("zero is real time") << u"0"_qs << 1;
    QTest::newRow("negative is real time") << u"-3"_qs << 1;
    QTest::newRow("capped") << u"5000"_qs << timescale::kMaxSpeed;
    QTest::newRow("a word is real time") << u"fast"_qs << 1;
}

void TimerTest::soakSpeedComesFromTheEnvironment() {
    QFETCH(QString, value);
    QFETCH(int, speed);
    QProcessEnvironment environment;
    if (!value.isNull())
        environment.insert(u"AURIVEX_SOAK_SPEED"_qs, value);
    QCOMPARE(Diagnostics::from(environment).soakSpeed, speed);
}

QTEST_GUILESS_MAIN(TimerTest)
#include "test_timer.moc"
