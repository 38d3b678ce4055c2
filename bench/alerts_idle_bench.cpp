// Idle CPU of the real program under Xvfb while the price alerts run against
// a pinned price that keeps a rule true: the pop-up channel checking every
// 3.2 s with the pop-up resting at the bottom of the screen and the rule's
// indicator animating; then the sound channel as well, whose built-in sound
// restarts on every check (silent on a machine without a sound device). The
// same program with no alerts set is measured first, so the alerts' own share
// shows. Every run includes the state dump the benchmark reads (rewritten
// every 500 ms). Prints figures; asserts nothing.
#include "figure.h"
#include "process_figures.h"
#include "program_run.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QThread>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kMeasureSeconds = 30;

qint64 treeTicks(qint64 pid) {
    qint64 total = 0;
    for (qint64 process : processTree(pid))
        total += cpuTicks(process);
    return total;
}

enum class Alerts { None, Popup, PopupAndSound };

// Percent of one core over kMeasureSeconds, or -1 when the run failed.
double measure(Alerts alerts) {
    ProgramRun run;
    if (!run.prepare() ||
        !portalGet(run.portalPort(), QStringLiteral("/demo/price?buy=257.76&sell=258.56"))) {
        std::fprintf(stderr, "bench: %s\n", qPrintable(run.error()));
        return -1;
    }
    if (alerts != Alerts::None) {
        const QString sound = alerts == Alerts::PopupAndSound ? QStringLiteral("1") : QStringLiteral("0");
        const QString config = run.programDir() + QStringLiteral("/config.ini");
        const QList<QStringList> keys{
            {QStringLiteral("黄金选项"), QStringLiteral("提醒"), QStringLiteral("1")},
            {QStringLiteral("提醒设置"), QStringLiteral("买入价低于"), QStringLiteral("1")},
            {QStringLiteral("提醒设置"), QStringLiteral("买入价低于数值"), QStringLiteral("300")},
            {QStringLiteral("提醒设置"), QStringLiteral("声音提醒选中"), sound},
            {QStringLiteral("提醒设置"), QStringLiteral("气泡提醒选中"), QStringLiteral("1")},
            {QStringLiteral("声音提醒"), QStringLiteral("系统声音使用"), QStringLiteral("1")},
            {QStringLiteral("声音提醒"), QStringLiteral("系统声音"), QStringLiteral("1")},
        };
        for (const QStringList& key : keys)
            settings::writeItem(config, key[0], key[1], key[2]);
    }
    if (!run.startProgram(QProcess::SeparateChannels))
        return -1;
    const bool ready = run.waitForState(
        [alerts](const QJsonObject& s) {
            if (alerts == Alerts::None)
                return !s[u"quotes"][u"intlBuy"].toString().isEmpty();
            const QJsonObject popup = findWindow(s, QStringLiteral("Aurisa提醒您："));
            return popup[u"visible"].toBool() &&
                   findControl(popup, QStringLiteral("时钟_右下角渐渐弹出窗口"))[u"interval"].toInt() == 0;
        },
        40000);
    if (!ready) {
        std::fprintf(stderr, "bench: the program did not reach its idle state\n");
        return -1;
    }
    // Past the first fetches and bank updates of the start.
    QThread::sleep(5);
    const qint64 pid = run.program().processId();
    const qint64 before = treeTicks(pid);
    QThread::sleep(kMeasureSeconds);
    const qint64 after = treeTicks(pid);
    return 100.0 * double(after - before) / double(sysconf(_SC_CLK_TCK) * kMeasureSeconds);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const double none = measure(Alerts::None);
    const double popup = measure(Alerts::Popup);
    const double both = measure(Alerts::PopupAndSound);
    std::printf("idle CPU over %d s, in %% of one core (target below 2 %%):\n", kMeasureSeconds);
    std::printf("  no alerts set:                                  %.2f %%\n", none);
    std::printf("  pop-up channel checking, pop-up resting:        %.2f %%\n", popup);
    std::printf("  pop-up and sound channels, the sound restarting: %.2f %%\n", both);
    printFigure("idle CPU, no alerts set", none, "%");
    printFigure("idle CPU, alerts checking (pop-up)", popup, "%");
    printFigure("idle CPU, alerts checking (pop-up, sound)", both, "%");
    return 0;
}
