// CPU of the real program under Xvfb with the floating strip open and
// auto-hide on (a 100 ms timer reading the mouse), against the same program
// without the strip. Prints figures; asserts nothing.
#include "program_run.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kSettleMs = 5000;
constexpr int kMeasureMs = 30000;

// User plus system time of one process so far, in clock ticks.
qint64 cpuTicks(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    // The fields after the command name, which may hold blanks, in brackets.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the whole line, 12 and 13 here.
    return fields.size() > 13 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// Percent of one core over kMeasureMs once prices show; -1 when the run failed.
double measure(bool withStrip) {
    ProgramRun run;
    if (!run.prepare()) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(run.error()));
        return -1;
    }
    const QString config = run.programDir() + QStringLiteral("/config.ini");
    const QString on = QStringLiteral("1");
    const QString value = withStrip ? on : QStringLiteral("0");
    if (!settings::writeItem(config, settings::key::floatingAtStart, value) ||
        !settings::writeItem(config, settings::key::autoHide, value) ||
        !settings::writeItem(config, settings::key::showIcbc, on))
        return -1;
    if (!run.startProgram(QProcess::SeparateChannels))
        return -1;
    const bool ready = run.waitForState(
        [withStrip](const QJsonObject& s) {
            const QJsonObject strip = findWindow(s, QStringLiteral("纸小窗口"));
            const bool stripReady =
                findControl(strip, QStringLiteral("时钟_窗口自动隐藏判断"))[QStringLiteral("interval")]
                    .toInt() == 100;
            return !s[QStringLiteral("quotes")][QStringLiteral("icbcBuy")].toString().isEmpty() &&
                   stripReady == withStrip;
        },
        40000);
    if (!ready) {
        std::fprintf(stderr, "bench: the program did not come up as expected\n");
        return -1;
    }
    QThread::msleep(kSettleMs);
    const qint64 pid = run.program().processId();
    const qint64 before = cpuTicks(pid);
    QElapsedTimer wall;
    wall.start();
    QThread::msleep(kMeasureMs);
    const qint64 after = cpuTicks(pid);
    const double seconds = wall.nsecsElapsed() / 1e9;
    if (before < 0 || after < 0)
        return -1;
    const double cpuSeconds = double(after - before) / double(sysconf(_SC_CLK_TCK));
    return 100.0 * cpuSeconds / seconds;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const double without = measure(false);
    const double with = measure(true);
    std::printf("CPU over %d s once prices show, program process, %% of one core:\n", kMeasureMs / 1000);
    std::printf("  without the floating strip: %.2f %%\n", without);
    std::printf("  floating strip open, auto-hide on: %.2f %% (target below 2 %%)\n", with);
    return 0;
}
