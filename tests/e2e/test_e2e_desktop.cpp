// The real program under Xvfb, which has no notification area: "隐藏窗口"
// minimises the main window instead of hiding it, and a second start of the
// program on the same directory brings the window back and ends, while a
// program on another directory runs beside it. A stale lock keeps nothing out.
#include "app/desktop_rules.h"
#include "core/runtime_dir.h"
#include "program_run.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

class DesktopEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void hidingWithoutATrayMinimisesAndASecondStartBringsItBack();
};

void DesktopEndToEnd::hidingWithoutATrayMinimisesAndASecondStartBringsItBack() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    // A lock that no running program answers for, as a crash or a full disk may leave it.
    const runtimedir::Location runtime = runtimedir::locate();
    QVERIFY2(runtime.problem.isEmpty(), qPrintable(runtime.problem));
    QFile lock(runtime.path + u'/' + desktop::instanceKey(QDir(run.programDir()).canonicalPath()) +
               u".lock"_s);
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write("\0\0 not a lock\n");
    lock.close();
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    const auto mainWindow = [](const QJsonObject& s) { return findWindow(s, u"Aurivex3.0"_s); };
    QVERIFY(
        run.waitForState([&](const QJsonObject& s) { return mainWindow(s)[u"visible"].toBool(); }, 20000));
    // The program took the lock over.
    QVERIFY(lock.open(QIODevice::ReadOnly));
    QVERIFY(lock.readAll().startsWith(QByteArray::number(run.program().processId()) + '\n'));
    lock.close();
    // Wait until the splash is gone, so that the click lands on the main window.
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return findWindow(s, u"欢迎使用Aurivex"_s).isEmpty(); }, 10000));

    const QJsonObject before = mainWindow(run.state());
    QVERIFY(findControl(before, u"命令_隐藏窗口"_s)[u"enabled"].toBool());
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(before, u"命令_隐藏窗口"_s)));
    QVERIFY(run.waitForState(
        [&](const QJsonObject& s) {
            const QJsonObject w = mainWindow(s);
            return w[u"minimized"].toBool() && findControl(w, u"状态条_新闻"_s)[u"text"].toString() ==
                                                   u"桌面没有系统托盘，主窗口已最小化到任务栏。"_s;
        },
        10000));
    // Minimised, never hidden: a hidden window could not be brought back here.
    QVERIFY(mainWindow(run.state())[u"visible"].toBool());
    ProgramRun::screenshot(u"desktop-minimised"_s);

    // A program on another directory runs beside it.
    ProgramRun other;
    QVERIFY2(other.prepare(), qPrintable(other.error()));
    QVERIFY2(other.startProgram(), qPrintable(other.error()));
    QVERIFY(other.waitForState([&](const QJsonObject& s) { return !mainWindow(s).isEmpty(); }, 20000));

    // A second start on the first directory brings its window forward and ends.
    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(run.programDir() + u"/Aurivex"_s, {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(run.waitForState(
        [&](const QJsonObject& s) {
            const QJsonObject w = mainWindow(s);
            return w[u"visible"].toBool() && !w[u"minimized"].toBool();
        },
        10000));
    QCOMPARE(run.program().state(), QProcess::Running);
    QCOMPARE(other.program().state(), QProcess::Running);
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());
}

QTEST_GUILESS_MAIN(DesktopEndToEnd)
#include "test_e2e_desktop.moc"
