// Memory and page-switch figures of the chart desk: the program's main window
// with the real services (browser engine included) against the demo portal.
// Prints the proportional set size of this process and all its children
// before any web page, and with all five chart pages visited and every chart
// window open; then the time to switch to a page whose images are cached.
// Runs under Xvfb; asserts nothing.
#include "app/main_window.h"
#include "app/qt_services.h"
#include "charts/chart_panel.h"
#include "core/endpoints.h"
#include "figure.h"
#include "platform/web_views.h"
#include "platform/widgets/modules.h"
#include "process_figures.h"
#include "support/program_dir.h"
#include "ui/fonts.h"
#include "ui/translations.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

// The demo portal, a child of the benchmark but no part of the program.
qint64 portalPid = 0;

// This process and all its descendants (the browser engine's processes).
// With `detail`, each process's share is printed too.
double treePssMb(bool detail = false) {
    const QList<qint64> tree = processTree(QCoreApplication::applicationPid(), portalPid);
    qint64 total = 0;
    for (qint64 pid : tree) {
        const qint64 kb = pssKb(pid);
        total += kb;
        if (detail) {
            QFile command(QStringLiteral("/proc/%1/cmdline").arg(pid));
            command.open(QIODevice::ReadOnly);
            const QByteArray line = command.readAll().replace('\0', ' ');
            const qsizetype type = line.indexOf("--type=");
            const QByteArray kind = type < 0 ? QByteArray("program") : line.mid(type + 7).split(' ').first();
            std::printf("  %-10s %7.1f MB\n", kind.constData(), kb / 1024.0);
        }
    }
    return total / 1024.0;
}

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

void settle(int ms) {
    waitFor([] { return false; }, ms);
}

QList<ChartPanel*> allPanels() {
    QList<ChartPanel*> panels;
    for (QWidget* top : QApplication::topLevelWidgets())
        panels += top->findChildren<ChartPanel*>();
    return panels;
}

bool loaded(const QString& panel) {
    for (ChartPanel* found : allPanels()) {
        if (found->objectName() == panel)
            return found->property("loaded").toBool();
    }
    return false;
}

QPushButton* button(const QString& name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* found = top->findChild<QPushButton*>(name); found && found->isVisible())
            return found;
    }
    return nullptr;
}

QAction* command(QWidget* window, const QString& caption) {
    return window->findChild<QAction*>(QStringLiteral("命令_") + caption);
}

bool clickAndWait(const QString& name, const QString& panel) {
    QPushButton* found = button(name);
    if (!found) {
        std::fprintf(stderr, "bench: no button %s\n", qPrintable(name));
        return false;
    }
    found->click();
    return waitFor([&] { return loaded(panel); }, 30000);
}

} // namespace

int main(int argc, char* argv[]) {
    // Figures reach the terminal as they are measured.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    // The program's modules, not beside this benchmark.
    modules::setDirectory(qEnvironmentVariable("AURIVEX_PROGRAM_DIR"));
    app.setQuitOnLastWindowClosed(false);
    installFontSubstitutions();
    installChineseTranslations();
    app.setFont(QFont(QStringLiteral("宋体"), 9));

    QProcess portal;
    portal.setProgram(qEnvironmentVariable("AURIVEX_TOOLS_DIR") + QStringLiteral("/aurivex-demo-portal"));
    portal.setArguments(
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed"), QStringLiteral("1")});
    portal.start();
    if (!portal.waitForStarted(5000) || !portal.waitForReadyRead(10000)) {
        std::fprintf(stderr, "bench: the demo portal did not start\n");
        return 1;
    }
    portalPid = portal.processId();
    const QString host =
        QStringLiteral("127.0.0.1:") + QString::fromLatin1(portal.readLine().trimmed().mid(13));

    const ProgramDir dir;
    for (const QString& key :
         {endpoints::key::quotePortalHost, endpoints::key::chartImageHost, endpoints::key::chartImageIntlHost,
          endpoints::key::klineChartHost, endpoints::key::partnerChartHost})
        dir.setEndpoint(key, host);

    QtServices qtServices;
    Services& services = qtServices.services();
    // The window's end must not end anything here.
    services.quit = [](int) {};

    auto* window = new MainWindow(services);
    window->show();
    const QString dayChart = QStringLiteral("浏览框_二十四小时黄金图超文本");
    if (!waitFor([&] { return loaded(dayChart); }, 20000)) {
        std::fprintf(stderr, "bench: the 24-hour chart did not arrive\n");
        return 1;
    }
    settle(2000);
    const double firstMb = treePssMb();
    std::printf(
        "memory with the 24-hour chart, before any web page (PSS, all processes): %.1f MB (target 120 MB)\n",
        firstMb);

    // Every page by its command, each waiting for its charts.
    struct Visit {
        const char* command;
        const char* panel;
    };
    for (const Visit& visit :
         {Visit{"历史走势", "超文本浏览框_十年黄金图"}, Visit{"影响走势", "超文本浏览框_世界黄金图"},
          Visit{"黄金K线", "超文本浏览框_K线图"}, Visit{"技术分析", "超文本浏览框_势技术分析图"},
          Visit{"实时黄金", "浏览框_二十四小时黄金图超文本"}}) {
        command(window, QString::fromUtf8(visit.command))->trigger();
        if (!waitFor([&] { return loaded(QString::fromUtf8(visit.panel)); }, 60000))
            std::fprintf(stderr, "bench: %s did not load\n", visit.panel);
    }

    // Every chart window.
    bool opened = clickAndWait(QStringLiteral("按钮_三天黄金走势图"),
                               QStringLiteral("三天黄金走势图人民币超文本浏览框")) &&
                  clickAndWait(QStringLiteral("按钮_三天黄金走势图美元"),
                               QStringLiteral("超文本浏览框_三天黄金走势图美元")) &&
                  clickAndWait(QStringLiteral("按钮_纽约黄金价格走势图"),
                               QStringLiteral("纽约黄金价格走势图超文本浏览框"));
    command(window, QStringLiteral("历史走势"))->trigger();
    opened = opened &&
             clickAndWait(QStringLiteral("按钮_十年黄金价格图放大"), QStringLiteral("黄金历史大图浏览框"));
    command(window, QStringLiteral("影响走势"))->trigger();
    opened = opened && clickAndWait(QStringLiteral("按钮_原油放大"), QStringLiteral("浏览框_原油走势大图")) &&
             clickAndWait(QStringLiteral("按钮_美元指数放大"), QStringLiteral("美指走势大图浏览框"));
    command(window, QStringLiteral("综合看盘"))->trigger();
    WebView* partner = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("综合看盘窗口"))
            partner = top->findChild<WebView*>();
    }
    bool partnerLoaded = false;
    if (partner)
        QObject::connect(partner, &WebView::loaded, [&](bool ok) { partnerLoaded = ok; });
    opened = opened && partner && waitFor([&] { return partnerLoaded; }, 60000);
    if (QPushButton* help = button(QStringLiteral("按钮_看盘帮助")))
        help->click();
    if (!opened)
        std::fprintf(stderr, "bench: not every chart window opened\n");
    settle(5000);
    const double allMb = treePssMb(true);
    std::printf("memory with every page visited and every chart window open (PSS, all processes): %.1f MB "
                "(target 260 MB)\n",
                allMb);

    // Switching to the history page while its six images are cached. The
    // 24-hour refresh, which empties the cache, is stopped for the measurement.
    window->findChild<QPushButton*>(QStringLiteral("按钮_二十四小时黄金停止刷新"))->click();
    QAction* history = command(window, QStringLiteral("历史走势"));
    QAction* technical = command(window, QStringLiteral("技术分析"));
    history->trigger();
    waitFor([] { return loaded(QStringLiteral("超文本浏览框_十年黄金图")); }, 20000);
    technical->trigger();
    waitFor([] { return loaded(QStringLiteral("超文本浏览框_势技术分析图")); }, 20000);
    QList<double> switches;
    for (int i = 0; i < 20; ++i) {
        technical->trigger();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        history->trigger();
        const bool shown = waitFor(
            [] {
                for (ChartPanel* panel : allPanels()) {
                    if (panel->objectName().endsWith(QStringLiteral("黄金图")) &&
                        !panel->property("loaded").toBool())
                        return false;
                }
                return true;
            },
            5000);
        window->repaint();
        if (shown)
            switches << timer.nsecsElapsed() / 1e6;
    }
    std::sort(switches.begin(), switches.end());
    const double switchMs = switches.isEmpty() ? -1.0 : switches[switches.size() / 2];
    std::printf(
        "switch to the history page with its six images cached, drawn: median %.2f ms over %lld switches\n",
        switchMs, static_cast<long long>(switches.size()));
    printFigure("memory, 24-hour chart only (PSS)", firstMb, "MB");
    printFigure("memory, all chart pages and windows (PSS)", opened ? allMb : -1, "MB");
    printFigure("switch to cached history page (median)", switchMs, "ms");

    delete window;
    portal.terminate();
    portal.waitForFinished(5000);
    return 0;
}
