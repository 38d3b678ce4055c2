// Smoothness of the news ticker in the real program against the demo portal:
// the gaps between the headline's one-pixel steps (due every 15 ms) over one
// minute of scrolling, headline changes and their position writes included.
// Prints figures; asserts nothing.
#include "program_run.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
    qputenv("AURIVEX_NEWS_TRACE", "1");
    if (!run.startProgram(QProcess::SeparateChannels)) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(run.error()));
        return 1;
    }
    QProcess& program = run.program();
    QElapsedTimer clock;
    clock.start();
    QByteArray pending;
    QList<qint64> steps; // the program's own monotonic nanoseconds
    int headlines = 0;
    while (clock.elapsed() < 30'000 + kMeasureNs / 1'000'000 &&
           (steps.isEmpty() || steps.last() - steps.first() < kMeasureNs)) {
        program.waitForReadyRead(100);
        pending += program.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.startsWith("aurivex-trace news-step "))
                steps << line.mid(24).toLongLong();
            else if (line.startsWith("aurivex-trace news-headline"))
                ++headlines;
        }
        if (program.state() == QProcess::NotRunning)
            break;
    }
    if (steps.size() < 2) {
        std::fprintf(stderr, "bench: the news ticker did not scroll\n");
        return 1;
    }
    QList<double> gaps;
    for (qsizetype i = 1; i < steps.size(); ++i)
        gaps << (steps[i] - steps[i - 1]) / 1e6;
    const double longest = *std::max_element(gaps.begin(), gaps.end());
    std::printf("news scroll: %lld steps over %.1f s, %d headlines started\n",
                static_cast<long long>(steps.size()), (steps.last() - steps.first()) / 1e9, headlines);
    std::printf(
        "news scroll gap: median %.2f ms, 99th percentile %.2f ms, longest %.2f ms (target under %.0f ms)\n",
        percentile(gaps, 0.5), percentile(gaps, 0.99), longest, kTargetMs);
    std::printf(
        "news scroll gaps over 20 ms: %lld\n",
        static_cast<long long>(std::count_if(gaps.begin(), gaps.end(), [](double g) { return g > 20; })));
    return 0;
}
