// Runs the whole real program many times faster than real time (its slow
// timers and HTTP deadline sped up by AURIVEX_SOAK_SPEED) with the price
// alerts checking, the floating strip open and the news ticker running, against a portal that goes
// away, resets, stalls, answers slowly, with garbage and with endless bodies.
// It must not crash or hang, show no message, never have more than one
// request outstanding per caller, grow by less than 5 MB, and take up the
// quotes again once the portal is well.
//
//   aurivex-soak [minutes]      (under an X display; default 2)
// Needs AURIVEX_PROGRAM_DIR and AURIVEX_TOOLS_DIR, as the end-to-end tests.
#include "failing_portal.h"
#include "program_run.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;
using Fault = FailingPortal::Fault;

namespace {

constexpr int kSpeed = 20;
constexpr qint64 kMaxGrowthKb = 5 * 1024;
constexpr int kSampleMs = 500;
constexpr int kPhaseMs = 5000;

const QString kMain = u"Aurivex3.0"_s;

int fail(const QString& why) {
    std::fprintf(stderr, "soak: FAIL: %s\n", qPrintable(why));
    return 1;
}

// Memory the process allocated itself, in kB: its anonymous pages (heap,
// thread stacks, anonymous mappings). Pages of mapped libraries and fonts are
// left out even when they are private: a library page counts as private only
// while no other process maps it, so the figure would jump by tens of
// megabytes as other programs on the same libraries start and end. -1 when it
// cannot be read.
qint64 privateKb(qint64 pid) {
    QFile file(u"/proc/%1/smaps_rollup"_s.arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("Anonymous:"))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The median of a few looks: a single one catches a body on its way through.
qint64 settledPrivateKb(qint64 pid) {
    QList<qint64> looks;
    for (int i = 0; i < 7; ++i) {
        looks << privateKb(pid);
        QThread::msleep(300);
    }
    std::sort(looks.begin(), looks.end());
    return looks[looks.size() / 2];
}

QString controlText(const QJsonObject& state, const QString& name) {
    return findControl(findWindow(state, kMain), name)[u"text"].toString();
}

struct Figures {
    int samples = 0;
    int maxInFlight = 0;
    QString busiestCaller;
    qsizetype messages = 0;
};

// One look at the program; an empty string when all is well.
QString sample(ProgramRun& run, const QString& dumpPath, Figures& figures) {
    if (run.program().state() != QProcess::Running)
        return u"the program ended (exit code %1)"_s.arg(run.program().exitCode());
    // The dump is rewritten every 500 ms by the user-interface thread.
    const qint64 age = QFileInfo(dumpPath).lastModified().msecsTo(QDateTime::currentDateTime());
    if (age > 5000)
        return u"the user-interface thread has not run for %1 ms"_s.arg(age);
    const QJsonObject state = run.state();
    if (state.isEmpty())
        return {};
    ++figures.samples;
    const QJsonArray messages = state[u"messages"].toArray();
    figures.messages = messages.size();
    if (!messages.isEmpty())
        return u"a message was shown: %1"_s.arg(messages.last()[u"text"].toString());
    const QJsonObject requests = state[u"requests"].toObject();
    for (auto it = requests.begin(); it != requests.end(); ++it) {
        const int peak = it->toObject()[u"peak"].toInt();
        if (peak > figures.maxInFlight) {
            figures.maxInFlight = peak;
            figures.busiestCaller = it.key();
        }
        if (peak > 1)
            return u"%1 had %2 requests outstanding at once"_s.arg(it.key()).arg(peak);
    }
    return {};
}

int startedRequests(const QJsonObject& state) {
    int started = 0;
    const QJsonObject requests = state[u"requests"].toObject();
    for (auto it = requests.begin(); it != requests.end(); ++it)
        started += it->toObject()[u"started"].toInt();
    return started;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const double minutes = argc > 1 ? QByteArray(argv[1]).toDouble() : 2.0;
    if (minutes < 1.0)
        return fail(u"the soak needs at least one minute"_s);
    qputenv("AURIVEX_SOAK_SPEED", QByteArray::number(kSpeed));

    ProgramRun run;
    if (!run.prepare())
        return fail(run.error());
    FailingPortal portal(quint16(run.portalPort()), 16);
    const quint16 port = portal.start();
    if (port == 0)
        return fail(u"the failing portal cannot listen"_s);
    const QString config = run.programDir() + u"/config.ini"_s;
    // Point the program at the failing portal, with every alert channel on and always hit.
    const bool configured =
        QProcess::execute(qEnvironmentVariable("AURIVEX_TOOLS_DIR") + u"/aurivex-provision"_s,
                          {u"--dir"_s, run.programDir(), u"--portal"_s, u"127.0.0.1:%1"_s.arg(port)}) == 0 &&
        settings::writeItem(config, settings::key::floatingAtStart, u"1"_s) &&
        settings::writeItem(config, settings::key::showIcbc, u"1"_s) &&
        settings::writeItem(config, settings::key::alertsAtStart, u"1"_s) &&
        settings::writeItem(config, settings::key::buyAbove, u"1"_s) &&
        settings::writeItem(config, settings::key::buyAboveValue, u"1"_s) &&
        settings::writeItem(config, settings::key::soundAlert, u"1"_s) &&
        settings::writeItem(config, settings::key::popupAlert, u"1"_s) &&
        settings::writeItem(config, settings::key::useBuiltInSound, u"1"_s) &&
        settings::writeItem(config, settings::key::builtInSound, u"1"_s);
    if (!configured)
        return fail(u"the program directory cannot be set up"_s);
    if (!run.startProgram(QProcess::SeparateChannels))
        return fail(run.error());
    const QString dumpPath = QFileInfo(run.programDir()).path() + u"/state.json"_s;

    // Everything running: prices, the alerts, the strip, the ticker.
    const bool running = run.waitForState(
        [](const QJsonObject& s) {
            return !s[u"quotes"][u"baseBuy"].toString().isEmpty() &&
                   controlText(s, u"标签_当前状态"_s) == u"当前状态：声音提醒及弹窗提醒运行中..."_s &&
                   findWindow(s, u"纸小窗口"_s)[u"visible"].toBool() &&
                   !controlText(s, u"新闻显示链接框"_s).isEmpty();
        },
        60000);
    if (!running)
        return fail(u"the program did not start with prices, alerts, the strip and news"_s);

    Figures figures;
    auto soakFor = [&](int ms, const std::function<void(int)>& each) -> QString {
        const QDeadlineTimer deadline(ms);
        for (int step = 0; !deadline.hasExpired(); ++step) {
            if (each)
                each(step);
            QThread::msleep(kSampleMs);
            if (QString why = sample(run, dumpPath, figures); !why.isEmpty())
                return why;
        }
        return {};
    };

    const int totalMs = int(minutes * 60000);
    const int warmUpMs = 15000;
    const int recoveryMs = 15000;
    if (QString why = soakFor(warmUpMs, {}); !why.isEmpty())
        return fail(why);
    const qint64 pid = run.program().processId();

    // Each fault in turn, then a well spell; flapping switches between down,
    // reset and well every second. The first rounds are part of the warm-up
    // (caches and the allocator settle over them; one run read 52 MB after the
    // first round and 79 MB ever after): memory counts from the end of the
    // second round when the run has three or more, else from the first.
    const Fault faults[] = {Fault::Down,    Fault::Stall,     Fault::Slow,
                            Fault::Garbage, Fault::Oversized, Fault::None};
    const int round = int(std::size(faults));
    qint64 memoryStart = -1;
    int phases = 0;
    for (QDeadlineTimer faultTime(totalMs - warmUpMs - recoveryMs); !faultTime.hasExpired() || phases < round;
         ++phases) {
        const Fault fault = faults[phases % round];
        std::printf("soak: %s (memory %lld kB)\n",
                    fault == Fault::Down ? "flapping" : FailingPortal::faultName(fault),
                    static_cast<long long>(privateKb(pid)));
        std::fflush(stdout);
        const QString why = soakFor(kPhaseMs, [&](int step) {
            if (fault == Fault::Down)
                portal.setFault(step % 2 ? Fault::None : (step % 4 ? Fault::Reset : Fault::Down));
            else if (step == 0)
                portal.setFault(fault);
        });
        if (!why.isEmpty())
            return fail(u"while %1: %2"_s.arg(QString::fromLatin1(FailingPortal::faultName(fault)), why));
        const int warmRounds = totalMs - warmUpMs - recoveryMs >= 3 * round * kPhaseMs ? 2 : 1;
        if (phases == warmRounds * round - 1)
            memoryStart = settledPrivateKb(pid);
    }

    // Well again: the prices must come back.
    portal.setFault(Fault::None);
    const QString before = run.state()[u"quotes"][u"baseBuy"].toString();
    bool pricesBack = false;
    if (QString why = soakFor(
            recoveryMs,
            [&](int) { pricesBack = pricesBack || run.state()[u"quotes"][u"baseBuy"].toString() != before; });
        !why.isEmpty())
        return fail(u"after the faults: "_s + why);
    const qint64 memoryEnd = settledPrivateKb(pid);
    const QJsonObject last = run.state();

    std::printf("soak: %.1f min at %dx (%.0f min of program time), %d fault phases, %d connections\n",
                minutes, kSpeed, minutes * kSpeed, phases, portal.connections());
    std::printf("soak: %d requests started, at most %d outstanding per caller (%s), %lld messages\n",
                startedRequests(last), figures.maxInFlight, qPrintable(figures.busiestCaller),
                static_cast<long long>(figures.messages));
    std::printf("soak: memory %lld kB after the warm-up round, %lld kB at the end, growth %lld kB\n",
                static_cast<long long>(memoryStart), static_cast<long long>(memoryEnd),
                static_cast<long long>(memoryEnd - memoryStart));
    std::fflush(stdout);
    if (!pricesBack)
        return fail(u"the prices did not come back once the portal was well"_s);
    if (memoryStart < 0 || memoryEnd < 0)
        return fail(u"the memory could not be read"_s);
    if (memoryEnd - memoryStart >= kMaxGrowthKb)
        return fail(u"memory grew by %1 kB"_s.arg(memoryEnd - memoryStart));
    std::printf("soak: PASS\n");
    return 0;
}
