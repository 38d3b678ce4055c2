// Start-up and steady figures of the real program against the demo portal,
// each beside a bare Qt window's: time from process start to the splash shown
// and to the main window's creation handler done, the proportional set size
// of the program and all its child processes once prices show, CPU over an
// idle spell (also without the diagnostics, with the X server's), and how late the UI thread ran a 5 ms timer
// (the program's watchdog), with the thread's own CPU time in its longest stall. Prints figures; asserts
// nothing.
#include "figure.h"
#include "process_figures.h"
#include "program_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

struct Run {
    double splashMs = -1;
    double mainMs = -1;
    double pssMb = -1;
    double idleCpuPercent = -1;
    double stallMs = -1;
    double stallCpuMs = -1;
    double p99Ms = -1;
};

constexpr int kIdleSeconds = 10;

// User and system CPU time of the process tree so far, in seconds.
double cpuSeconds(qint64 pid) {
    double ticks = 0;
    for (qint64 member : processTree(pid)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(member));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        // The fields after the command name, which may hold spaces.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            ticks += fields[11].toDouble() + fields[12].toDouble();
    }
    return ticks / double(sysconf(_SC_CLK_TCK));
}

// Start-up milestones from the trace lines on standard output.
void readMilestones(QProcess& program, const QElapsedTimer& clock, Run& result) {
    QByteArray output;
    while (clock.elapsed() < 20000 && (result.splashMs < 0 || result.mainMs < 0)) {
        program.waitForReadyRead(50);
        output += program.readAllStandardOutput();
        if (result.splashMs < 0 && output.contains("aurivex-trace splash-shown"))
            result.splashMs = clock.nsecsElapsed() / 1e6;
        if (result.mainMs < 0 && output.contains("aurivex-trace main-window-created"))
            result.mainMs = clock.nsecsElapsed() / 1e6;
    }
}

// Memory once ready, then CPU and the watchdog's figures over an idle spell.
void measureSteady(qint64 pid, const QString& watchdogFile, Run& result) {
    qint64 total = 0;
    for (qint64 member : processTree(pid))
        total += pssKb(member);
    result.pssMb = total / 1024.0;
    const double cpuBefore = cpuSeconds(pid);
    QElapsedTimer idle;
    idle.start();
    QThread::sleep(kIdleSeconds);
    result.idleCpuPercent = 100 * (cpuSeconds(pid) - cpuBefore) / (idle.nsecsElapsed() / 1e9);
    QThread::msleep(1200); // the watchdog writes every second
    QFile file(watchdogFile);
    if (file.open(QIODevice::ReadOnly)) {
        const QJsonObject figures = QJsonDocument::fromJson(file.readAll()).object();
        result.stallMs = figures[u"longestStallMs"].toDouble(-1);
        result.stallCpuMs = figures[u"longestStallCpuMs"].toDouble(-1);
        result.p99Ms = figures[u"p99Ms"].toDouble(-1);
    }
}

Run measureProgram(bool steady, const QString& watchdogFile) {
    Run result;
    ProgramRun run;
    if (!run.prepare()) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(run.error()));
        return result;
    }
    qputenv("AURIVEX_STARTUP_TRACE", "1");
    qputenv("AURIVEX_UI_WATCHDOG", watchdogFile.toLocal8Bit());
    QElapsedTimer clock;
    clock.start();
    if (!run.startProgram(QProcess::SeparateChannels))
        return result;
    readMilestones(run.program(), clock, result);
    if (steady &&
        run.waitForState([](const QJsonObject& s) { return !s[u"quotes"][u"icbcBuy"].toString().isEmpty(); },
                         30000))
        measureSteady(run.program().processId(), watchdogFile, result);
    return result;
}

Run measureBareWindow(bool steady, const QString& watchdogFile, const QStringList& arguments) {
    Run result;
    QProcess window;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("AURIVEX_UI_WATCHDOG"), watchdogFile);
    window.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    window.start(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_bare_window"), arguments);
    if (!window.waitForStarted(10000))
        return result;
    readMilestones(window, clock, result);
    if (steady) {
        QThread::msleep(1500);
        measureSteady(window.processId(), watchdogFile, result);
    }
    window.kill();
    window.waitForFinished(5000);
    return result;
}

// CPU of the process and of the X server, in per cent of a core, over an
// idle spell with nothing of the diagnostics running (no state dump, no
// watchdog): the program as a user has it, its news headline scrolling once
// the list has come. {-1, -1} when it did not start.
QPair<double, double> quietCpu(const QString& command) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("AURIVEX_STATE_DUMP"));
    env.remove(QStringLiteral("AURIVEX_UI_WATCHDOG"));
    env.insert(QStringLiteral("AURIVEX_STARTUP_TRACE"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(command, {});
    QElapsedTimer clock;
    clock.start();
    Run started;
    readMilestones(process, clock, started);
    QPair<double, double> result{-1, -1};
    if (started.mainMs >= 0) {
        // Prices, chart and news list arrive, and the first headline starts.
        QThread::sleep(8);
        const qint64 server = xServerPid();
        const double program0 = cpuSeconds(process.processId());
        const double server0 = server ? cpuSeconds(server) : 0;
        QElapsedTimer idle;
        idle.start();
        QThread::sleep(kIdleSeconds);
        const double seconds = idle.nsecsElapsed() / 1e9;
        result = {100 * (cpuSeconds(process.processId()) - program0) / seconds,
                  server ? 100 * (cpuSeconds(server) - server0) / seconds : -1};
    }
    process.kill();
    process.waitForFinished(5000);
    return result;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

// Medians of the start-up times over `runs` starts; the last one also
// measures the steady figures.
Run measure(const std::function<Run(bool, const QString&)>& once, const QString& watchdogFile) {
    constexpr int kRuns = 5;
    QList<double> splash;
    QList<double> created;
    Run last;
    for (int i = 0; i < kRuns; ++i) {
        last = once(i == kRuns - 1, watchdogFile);
        splash << last.splashMs;
        created << last.mainMs;
    }
    last.splashMs = median(splash);
    last.mainMs = median(created);
    return last;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const Run program = measure(measureProgram, dir.filePath(QStringLiteral("program-watchdog.json")));
    // The floor is a window with one label; an empty one, which never starts
    // the font machinery, is shown beside it.
    const Run bare =
        measure([](bool steady, const QString& file) { return measureBareWindow(steady, file, {}); },
                dir.filePath(QStringLiteral("bare-watchdog.json")));
    const Run empty = measure(
        [](bool steady, const QString& file) {
            return measureBareWindow(steady, file, {QStringLiteral("--empty")});
        },
        dir.filePath(QStringLiteral("empty-watchdog.json")));
    QPair<double, double> quietProgram{-1, -1};
    ProgramRun run;
    if (run.prepare())
        quietProgram = quietCpu(run.programDir() + QStringLiteral("/Aurivex"));
    const QPair<double, double> quietBare =
        quietCpu(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_bare_window"));
    // The main window's time includes the splash's 1.25 s fade; the bare window has neither.
    printFigure("start to splash shown (median of 5)", program.splashMs, "ms", bare.splashMs);
    printFigure("start to main window created (median of 5)", program.mainMs, "ms", bare.mainMs);
    printFigure("memory once prices show (PSS with children)", program.pssMb, "MB", bare.pssMb);
    printFigure("start to splash shown, beside an empty window", program.splashMs, "ms", empty.splashMs);
    printFigure("memory once prices show, beside an empty window", program.pssMb, "MB", empty.pssMb);
    printFigure("idle CPU over 10 s", program.idleCpuPercent, "%", bare.idleCpuPercent);
    printFigure("idle CPU over 10 s, headline scrolling, no diagnostics", quietProgram.first, "%",
                quietBare.first);
    printFigure("X server's CPU over the same 10 s", quietProgram.second, "%", quietBare.second);
    printFigure("longest UI stall after start-up (5 ms timer)", program.stallMs, "ms", bare.stallMs);
    // Far below the stall, the thread was waiting (for a CPU or the disk), not working.
    printFigure("UI thread's own CPU time in that stall", program.stallCpuMs, "ms", bare.stallCpuMs);
    printFigure("99th percentile UI lateness after start-up", program.p99Ms, "ms", bare.p99Ms);
    return 0;
}
