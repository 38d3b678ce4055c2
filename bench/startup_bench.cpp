// Start-up and memory figures of the real program against the demo portal:
// time from process start to the splash shown and to the main window's
// creation handler done, and the proportional set size of the program and all
// its child processes once prices show. Prints figures; asserts nothing.
#include "program_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

namespace {

// Proportional set size of one process, in kB, from smaps_rollup.
qint64 pssKb(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// The process and all its descendants.
QList<qint64> processTree(qint64 pid) {
    QList<qint64> tree{pid};
    for (qsizetype i = 0; i < tree.size(); ++i) {
        const QDir tasks(QStringLiteral("/proc/%1/task").arg(tree[i]));
        for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile children(tasks.filePath(task) + QStringLiteral("/children"));
            if (!children.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray& child : children.readAll().split(' ')) {
                if (!child.trimmed().isEmpty())
                    tree.append(child.trimmed().toLongLong());
            }
        }
    }
    return tree;
}

struct Run {
    double splashMs = -1;
    double mainMs = -1;
    double pssMb = -1;
};

Run measureOnce(bool withMemory) {
    Run result;
    ProgramRun run;
    if (!run.prepare()) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(run.error()));
        return result;
    }
    qputenv("AURIVEX_STARTUP_TRACE", "1");
    QElapsedTimer clock;
    clock.start();
    if (!run.startProgram(QProcess::SeparateChannels))
        return result;
    QProcess& program = run.program();
    QByteArray output;
    while (clock.elapsed() < 20000 && (result.splashMs < 0 || result.mainMs < 0)) {
        program.waitForReadyRead(50);
        output += program.readAllStandardOutput();
        if (result.splashMs < 0 && output.contains("aurivex-trace splash-shown"))
            result.splashMs = clock.nsecsElapsed() / 1e6;
        if (result.mainMs < 0 && output.contains("aurivex-trace main-window-created"))
            result.mainMs = clock.nsecsElapsed() / 1e6;
    }
    if (withMemory &&
        run.waitForState([](const QJsonObject& s) { return !s[u"quotes"][u"icbcBuy"].toString().isEmpty(); },
                         30000)) {
        qint64 total = 0;
        for (qint64 pid : processTree(program.processId()))
            total += pssKb(pid);
        result.pssMb = total / 1024.0;
    }
    return result;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    constexpr int kRuns = 5;
    QList<double> splash;
    QList<double> created;
    double pss = -1;
    for (int i = 0; i < kRuns; ++i) {
        const Run run = measureOnce(i == kRuns - 1);
        splash << run.splashMs;
        created << run.mainMs;
        if (run.pssMb >= 0)
            pss = run.pssMb;
        std::printf("run %d: splash shown %.1f ms, main window created %.1f ms\n", i + 1, run.splashMs,
                    run.mainMs);
    }
    std::printf("splash shown: median %.1f ms (target 150 ms)\n", median(splash));
    std::printf("main window creation handler done: median %.1f ms (1.25 s of it is the splash fade)\n",
                median(created));
    std::printf("memory once prices show (PSS, program and children): %.1f MB (target 120 MB)\n", pss);
    return 0;
}
