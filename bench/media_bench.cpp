// Figures of the media tools, from the real program under Xvfb against the
// demo portal: what the magnifier costs at 20 frames a second (the program's
// CPU and the X server's), what one shared-memory grab of its region costs,
// and whether closing a web window gives its memory back (proportional set
// size of the program and all its children before, with and after each
// window). Prints figures; asserts nothing.
#include "figure.h"
#include "platform/widgets/x11_grab.h"
#include "process_figures.h"
#include "program_run.h"
#include "window_close.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

double treePssMb(qint64 pid) {
    qint64 total = 0;
    for (qint64 member : processTree(pid))
        total += pssKb(member);
    return total / 1024.0;
}

// User and system CPU time of one process so far, in seconds.
double cpuSeconds(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = file.readAll();
    // Fields after the command name, which may hold spaces: state is field 3.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return (fields[11].toLongLong() + fields[12].toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

// CPU per cent of one core of the program and of the X server over `ms`.
QPair<double, double> cpuOver(qint64 program, qint64 server, int ms) {
    const double p0 = cpuSeconds(program);
    const double s0 = server ? cpuSeconds(server) : 0;
    QElapsedTimer clock;
    clock.start();
    QThread::msleep(static_cast<unsigned long>(ms));
    const double seconds = clock.elapsed() / 1000.0;
    return {(cpuSeconds(program) - p0) / seconds * 100,
            server ? (cpuSeconds(server) - s0) / seconds * 100 : -1};
}

QStringList tabCaptions(const QJsonObject& state) {
    QStringList captions;
    const QJsonObject browser = findWindow(state, QStringLiteral("Aurivex相关资料专用浏览器"));
    for (const QJsonValue& item :
         findControl(browser, QStringLiteral("选择夹_多页面创建"))[u"items"].toArray())
        captions << item.toString();
    return captions;
}

void settle() {
    // Renderer processes end, and freed pages return, in their own time.
    QThread::msleep(4000);
}

void measureGrab() {
    constexpr int kGrabs = 400;
    const QRect region(600, 300, 240, 180);
    x11grab::grab(region);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kGrabs; ++i)
        x11grab::grab(region);
    const double each = clock.nsecsElapsed() / 1e6 / kGrabs;
    std::printf("shared-memory grab of the magnifier's 240 x 180 region: %.3f ms each\n", each);
    printFigure("shared-memory grab, 240 x 180 region", each, "ms");
}

void measureProgram() {
    ProgramRun run;
    if (!run.prepare() || !run.startProgram(QProcess::SeparateChannels)) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(run.error()));
        return;
    }
    const qint64 pid = run.program().processId();
    if (!run.waitForState([](const QJsonObject& s) { return !s[u"quotes"][u"icbcBuy"].toString().isEmpty(); },
                          30000)) {
        std::fprintf(stderr, "bench: no prices\n");
        return;
    }
    const QString main = QStringLiteral("Aurivex3.0");
    const qint64 server = xServerPid();

    // The magnifier, 20 frames a second, the pointer still over the main window.
    const QJsonObject window = findWindow(run.state(), main);
    ProgramRun::clickAt({window[u"x"].toInt() + 300, window[u"y"].toInt() + 300});
    const auto idle = cpuOver(pid, server, 10000);
    ProgramRun::focusWindow(main);
    ProgramRun::pressKeys(QStringLiteral("alt+t"));
    QThread::msleep(300);
    ProgramRun::pressKeys(QStringLiteral("Return"));
    if (run.waitForState(
            [](const QJsonObject& s) { return !findWindow(s, QStringLiteral("超酷放大镜")).isEmpty(); },
            10000)) {
        QThread::msleep(1000);
        const auto lens = cpuOver(pid, server, 10000);
        std::printf("magnifier at 20 frames a second: program %.1f %% of a core (idle %.1f %%), "
                    "X server %.1f %% (idle %.1f %%)\n",
                    lens.first, idle.first, lens.second, idle.second);
        printFigure("program CPU, magnifier closed", idle.first, "%");
        printFigure("program CPU, magnifier at 20 frames/s", lens.first, "%");
        printFigure("X server CPU, magnifier closed", idle.second, "%");
        printFigure("X server CPU, magnifier at 20 frames/s", lens.second, "%");
        ProgramRun::pressKeys(QStringLiteral("F12"));
        run.waitForState(
            [](const QJsonObject& s) { return findWindow(s, QStringLiteral("超酷放大镜")).isEmpty(); }, 5000);
    } else {
        std::fprintf(stderr, "bench: the magnifier did not open\n");
    }

    // Web windows: memory before, with and after each.
    settle();
    const double before = treePssMb(pid);
    std::printf("memory before any web page (PSS, program and children): %.1f MB\n", before);
    printFigure("memory before any web page (PSS)", before, "MB");
    for (int round = 1; round <= 2; ++round) {
        ProgramRun::clickAt(
            ProgramRun::controlCentre(findWindow(run.state(), main), QStringLiteral("命令_资料浏览")));
        if (!run.waitForState([](const QJsonObject& s) { return !tabCaptions(s).value(0).isEmpty(); },
                              30000)) {
            std::fprintf(stderr, "bench: the reference browser did not load\n");
            return;
        }
        settle();
        const double open = treePssMb(pid);
        closeWindow(QStringLiteral("Aurivex相关资料专用浏览器"));
        settle();
        const double closed = treePssMb(pid);
        std::printf(
            "reference browser, round %d: open %.1f MB, closed %.1f MB (of it the program itself %.1f MB)\n",
            round, open, closed, pssKb(pid) / 1024.0);
        const QByteArray label = "memory, reference browser round " + QByteArray::number(round);
        printFigure(label + " open (PSS)", open, "MB");
        printFigure(label + " closed (PSS)", closed, "MB");
    }
    ProgramRun::focusWindow(main);
    ProgramRun::pressKeys(QStringLiteral("alt+t"));
    QThread::msleep(300);
    ProgramRun::pressKeys(QStringLiteral("u"));
    if (run.waitForState(
            [](const QJsonObject& s) { return !findWindow(s, QStringLiteral("dud实时单位换算")).isEmpty(); },
            10000)) {
        settle();
        const double open = treePssMb(pid);
        closeWindow(QStringLiteral("dud实时单位换算"));
        settle();
        const double closed = treePssMb(pid);
        std::printf("unit converter: open %.1f MB, closed %.1f MB\n", open, closed);
        printFigure("memory, unit converter open (PSS)", open, "MB");
        printFigure("memory, unit converter closed (PSS)", closed, "MB");
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    measureGrab();
    measureProgram();
    return 0;
}
