// One program per directory: the first claims it, a later start reaches the
// first and asks it forward, another directory runs on its own, and a claim
// ends with its program.
#include "app/single_instance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void secondStartAsksTheFirstForward();
    void withoutARunningProgramNothingAnswers();
};

void SingleInstanceTest::secondStartAsksTheFirstForward() {
    QTemporaryDir runtime;
    auto first = std::make_unique<SingleInstance>(u"/opt/a/Aurivex"_s, runtime.path());
    QVERIFY(first->claim());
    QSignalSpy asked(first.get(), &SingleInstance::activationRequested);

    SingleInstance second(u"/opt/a/Aurivex/"_s, runtime.path());
    QVERIFY(!second.claim());
    QVERIFY(second.activateRunning(5000));
    QTRY_COMPARE(asked.size(), 1);

    // Another directory is another program.
    SingleInstance elsewhere(u"/opt/b/Aurivex"_s, runtime.path());
    QVERIFY(elsewhere.claim());
    QTest::qWait(100);
    QCOMPARE(asked.size(), 1);

    // Once the first has ended, the directory can be claimed again.
    first.reset();
    SingleInstance third(u"/opt/a/Aurivex"_s, runtime.path());
    QVERIFY(third.claim());
}

void SingleInstanceTest::withoutARunningProgramNothingAnswers() {
    QTemporaryDir runtime;
    SingleInstance lone(u"/opt/c/Aurivex"_s, runtime.path());
    QVERIFY(!lone.activateRunning(300));
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"
