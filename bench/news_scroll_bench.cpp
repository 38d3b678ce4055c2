// Smoothness of the news ticker in the real program against the demo portal:
// the gaps between the headline's one-pixel steps (due every 15 ms) over one
// minute of scrolling, headline changes and their position writes included.
// Each gap is also split by the user-interface thread's scheduler figures:
// its own CPU time and its time runnable but waiting for a CPU, which on a
// busy machine is what stretches a gap, not the program. Prints figures;
// asserts nothing.
#include "figure.h"
#include "program_run.h"
#include "records/passwords.h"
#include "records/record_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>

namespace {

constexpr qint64 kMeasureNs = 60'000'000'000; // one minute
constexpr double kTargetMs = 30;

double percentile(QList<double> values, double share) {
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[std::min<qsizetype>(values.size() - 1, qsizetype(values.size() * share))];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    ProgramRun run;
    if (!run.prepare()) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(run.error()));
        return 1;
    }
    // From the top of the list, which keeps headlines coming for the whole
    // minute whatever an earlier run of the copied program left stored.
    RecordFile news;
    if (!news.open(run.programDir() + QStringLiteral("/") + recordpasswords::kNewsFile,
                   recordpasswords::newsPassword(), recordpasswords::newsFields()) ||
        !news.modify({1}) || !news.close()) {
        std::fprintf(stderr, "bench: the news file could not be set to its first line\n");
        return 1;
    }
    // The program as a user runs it: without the state dump, whose writes
    // would be measured too.
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("AURIVEX_NEWS_TRACE"), QStringLiteral("1"));
    env.remove(QStringLiteral("AURIVEX_STATE_DUMP"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(run.programDir() + QStringLiteral("/Aurivex"), {});
    if (!program.waitForStarted(10000)) {
        std::fprintf(stderr, "bench: the program did not start\n");
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    QByteArray pending;
    struct Step {
        qint64 at;      // the program's monotonic clock, ns
        qint64 cpu;     // the thread's CPU time so far, ns
        qint64 waiting; // its time waiting for a CPU so far, ns
    };
    QList<Step> steps;
    QList<qint64> headlineTimes;
    while (clock.elapsed() < 30'000 + kMeasureNs / 1'000'000 &&
           (steps.isEmpty() || steps.last().at - steps.first().at < kMeasureNs)) {
        program.waitForReadyRead(100);
        pending += program.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.startsWith("aurivex-trace news-step ")) {
                const QList<QByteArray> f = line.mid(24).split(' ');
                if (f.size() == 3)
                    steps.append({f[0].toLongLong(), f[1].toLongLong(), f[2].toLongLong()});
            } else if (line.startsWith("aurivex-trace news-headline") && !steps.isEmpty()) {
                headlineTimes << steps.last().at;
            }
        }
        if (program.state() == QProcess::NotRunning)
            break;
    }
    if (program.state() == QProcess::NotRunning)
        std::fprintf(stderr, "bench: the program ended on its own (exit code %d)\n", program.exitCode());
    program.terminate();
    if (!program.waitForFinished(5000))
        program.kill();
    if (steps.size() < 2) {
        std::fprintf(stderr, "bench: the news ticker did not scroll\n");
        return 1;
    }
    QList<double> gaps;
    QList<double> ownGaps; // less the time waiting for a CPU
    QList<double> cpu;
    qsizetype longestAt = 1;
    for (qsizetype i = 1; i < steps.size(); ++i) {
        gaps << (steps[i].at - steps[i - 1].at) / 1e6;
        ownGaps << (steps[i].at - steps[i - 1].at - (steps[i].waiting - steps[i - 1].waiting)) / 1e6;
        cpu << (steps[i].cpu - steps[i - 1].cpu) / 1e6;
        if (gaps.last() > gaps[longestAt - 1])
            longestAt = i;
    }
    const Step& before = steps[longestAt - 1];
    const Step& after = steps[longestAt];
    std::printf("news scroll: %lld steps over %.1f s, %d headlines started\n",
                static_cast<long long>(steps.size()), (steps.last().at - steps.first().at) / 1e9,
                int(headlineTimes.size()));
    std::printf(
        "news scroll gap: median %.2f ms, 99th percentile %.2f ms, longest %.2f ms (target under %.0f ms)\n",
        percentile(gaps, 0.5), percentile(gaps, 0.99), gaps[longestAt - 1], kTargetMs);
    std::printf(
        "  the longest gap: %.2f s into the program's run, %.2f ms of the thread's CPU, %.2f ms waiting "
        "for a CPU\n",
        after.at / 1e9, (after.cpu - before.cpu) / 1e6, (after.waiting - before.waiting) / 1e6);
    std::printf("news scroll gap less CPU waits: 99th percentile %.2f ms, longest %.2f ms\n",
                percentile(ownGaps, 0.99), percentile(ownGaps, 1.0));
    // The step that brings a new headline in also starts its position write.
    double atHeadlines = 0;
    double ownAtHeadlines = 0;
    for (qsizetype i = 1; i < steps.size(); ++i) {
        if (headlineTimes.contains(steps[i].at)) {
            atHeadlines = std::max(atHeadlines, gaps[i - 1]);
            ownAtHeadlines = std::max(ownAtHeadlines, ownGaps[i - 1]);
        }
    }
    std::printf("news scroll gap as a headline starts: longest %.2f ms, less CPU waits %.2f ms\n",
                atHeadlines, ownAtHeadlines);
    std::printf("user-interface thread CPU per step: median %.2f ms, longest %.2f ms\n", percentile(cpu, 0.5),
                percentile(cpu, 1.0));
    const auto over = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g > kTargetMs; });
    std::printf("news scroll gaps over 30 ms: %lld\n", static_cast<long long>(over));
    printFigure("news scroll: median gap", percentile(gaps, 0.5), "ms");
    printFigure("news scroll: 99th percentile gap", percentile(gaps, 0.99), "ms");
    printFigure("news scroll: longest gap", gaps[longestAt - 1], "ms");
    printFigure("news scroll: longest gap less CPU waits", percentile(ownGaps, 1.0), "ms");
    printFigure("news scroll: gaps over 30 ms", double(over), "gaps");
    return 0;
}
