// The real program under Xvfb beside a real XEmbed notification area
// (trayer): "隐藏窗口" hides the main window behind an icon, the icon comes
// back when the notification area restarts, and a double-click on it brings
// the window back and removes it.
#include "program_run.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

std::optional<ServerWindow> waitForTrayIcon(const QString& otherThan, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (auto icon = findTrayIcon(); icon && icon->id != otherThan)
            return icon;
        QThread::msleep(200);
    }
    return std::nullopt;
}

class Trayer {
public:
    bool start() {
        process_.start(u"trayer"_s, {u"--align"_s, u"right"_s, u"--widthtype"_s, u"pixel"_s, u"--width"_s,
                                     u"200"_s, u"--height"_s, u"24"_s});
        return process_.waitForStarted(10000);
    }
    void stop() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    ~Trayer() { stop(); }

private:
    QProcess process_;
};

} // namespace

class TrayEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void iconSurvivesARestartOfTheNotificationArea();
};

void TrayEndToEnd::iconSurvivesARestartOfTheNotificationArea() {
    if (QStandardPaths::findExecutable(u"trayer"_s).isEmpty() ||
        QStandardPaths::findExecutable(u"xwininfo"_s).isEmpty())
        QSKIP("trayer or xwininfo is not installed");
    Trayer trayer;
    QVERIFY(trayer.start());
    QThread::msleep(1000);

    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    const auto mainWindow = [](const QJsonObject& s) { return findWindow(s, u"Aurivex3.0"_s); };
    QVERIFY(run.waitForMainWindow());
    QVERIFY(!findTrayIcon()); // no icon while the window shows

    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(mainWindow(run.state()), u"命令_隐藏窗口"_s)));
    QVERIFY(
        run.waitForState([&](const QJsonObject& s) { return !mainWindow(s)[u"visible"].toBool(); }, 10000));
    const std::optional<ServerWindow> first = waitForTrayIcon({}, 10000);
    QVERIFY(first);

    // The notification area restarts: the icon docks again.
    trayer.stop();
    QVERIFY(trayer.start());
    const std::optional<ServerWindow> again = waitForTrayIcon(first->id, 15000);
    QVERIFY2(again, "the icon did not come back after the notification area restarted");
    ProgramRun::screenshot(u"tray-icon-after-restart"_s);

    // A double-click on it brings the window back; the icon goes.
    QProcess click;
    click.start(u"xdotool"_s, {u"mousemove"_s, QString::number(again->rect.center().x()),
                               QString::number(again->rect.center().y()), u"click"_s, u"--repeat"_s, u"2"_s,
                               u"--delay"_s, u"80"_s, u"1"_s});
    QVERIFY(click.waitForFinished(10000));
    QVERIFY(
        run.waitForState([&](const QJsonObject& s) { return mainWindow(s)[u"visible"].toBool(); }, 10000));
    const QDeadlineTimer gone(10000);
    while (findTrayIcon() && !gone.hasExpired())
        QThread::msleep(200);
    QVERIFY(!findTrayIcon());
    QCOMPARE(run.program().state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TrayEndToEnd)
#include "test_e2e_tray.moc"
