// The real program under Xvfb against hostile pages served on loopback: a
// page that raises dialog after dialog (as the reference browser's first page
// and as the K-line page) never holds the main window; a page that opens
// hundreds of windows by itself gets none, while a click on a link still opens
// a tab; a chart image that would unpack to 5700 x 5700 pixels is refused and
// costs neither CPU nor memory while it "shows".
#include "core/endpoints.h"
#include "page_server.h"
#include "process_figures.h"
#include "program_run.h"
#include "support/gif_forge.h"
#include "support/program_dir.h"

#include <QFile>
#include <QJsonArray>
#include <QTest>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kMain = u"Aurivex3.0"_s;
const QString kBrowser = u"Aurivex相关资料专用浏览器"_s;
const QByteArray kHtml = "text/html; charset=utf-8";

// Every dialog a script can raise, again 50 ms after each returns; the title
// counts the rounds, so a round that never ends shows.
const QByteArray kDialogs = R"(<html><head><title>dialogs 0</title></head><body>
<p style="height:400px">dialogs</p>
<script>
var n = 0;
window.onbeforeunload = function (e) { e.preventDefault(); e.returnValue = 'stay'; return 'stay'; };
function f() { n++; document.title = 'dialogs ' + n; alert(n); confirm('ok?'); prompt('say'); setTimeout(f, 50); }
f();
</script></body></html>)";

// Hundreds of windows at once and more every 100 ms, none asked for; the
// link opens one when clicked.
const QByteArray kPopups = R"(<html><head><title>popups</title></head><body style="margin:0">
<a target="_blank" href="/opened.html" style="display:block;height:300px;font-size:60px">open</a>
<script>
function flood() { for (var i = 0; i < 300; i++) window.open('/opened.html?' + i, '_blank'); }
flood();
setInterval(flood, 100);
</script></body></html>)";

QStringList tabCaptions(const QJsonObject& state) {
    return itemTexts(findControl(findWindow(state, kBrowser), u"选择夹_多页面创建"_s));
}

// The rounds of the dialog page shown in the first tab.
int dialogRounds(const QJsonObject& state) {
    const QString caption = tabCaptions(state).value(0);
    return caption.startsWith(u"dialogs "_s) ? caption.mid(8).toInt() : 0;
}

bool shown(const QJsonObject& state, const QString& title) {
    return findWindow(state, title)[u"visible"].toBool();
}

bool noModalBox(const QJsonObject& state) {
    for (const QJsonValue& window : state[u"windows"].toArray()) {
        const QString kind = window[u"class"].toString();
        if (window[u"visible"].toBool() && (kind == u"QMessageBox"_s || kind == u"QInputDialog"_s))
            return false;
    }
    return true;
}

bool clickCommand(ProgramRun& run, const QString& command) {
    return ProgramRun::clickAt(ProgramRun::controlCentre(findWindow(run.state(), kMain), command));
}

// Proportional set size of the program and the browser engine's processes, in MB.
double treeMb(qint64 pid) {
    qint64 kb = 0;
    for (qint64 process : processTree(pid))
        kb += pssKb(process);
    return kb / 1024.0;
}

} // namespace

class HostileEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void endlessDialogsNeverHoldTheMainWindow();
    void popupFloodOpensNoTab();
    void imageBombIsRefused();
};

void HostileEndToEnd::endlessDialogsNeverHoldTheMainWindow() {
    PageServer site({{"/dialogs.html", kHtml, kDialogs}, {"/embed.aspx", kHtml, kDialogs}});
    QVERIFY(site.listen());
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY(setEndpoint(run.programDir() + u"/endpoints.ini"_s, endpoints::key::klineChartHost, site.host()));
    QVERIFY2(
        run.startProgram(QProcess::ForwardedOutputChannel, {u"http://%1/dialogs.html"_s.arg(site.host())}),
        qPrintable(run.error()));
    QVERIFY(run.waitForState([](const QJsonObject& s) { return shown(s, kMain); }, 20000));

    // The K-line page raises its dialogs in the main window.
    QVERIFY(clickCommand(run, u"命令_黄金K线"_s));
    QVERIFY2(run.waitForState(
                 [](const QJsonObject& s) {
                     return findControl(findWindow(s, kMain), u"超文本浏览框_K线图"_s)[u"loaded"].toBool();
                 },
                 90000),
             "the K-line page did not load");
    QVERIFY(clickCommand(run, u"命令_资料浏览"_s));
    // Round after round goes by: no dialog waits for anyone.
    QVERIFY2(run.waitForState([](const QJsonObject& s) { return dialogRounds(s) >= 20; }, 60000),
             qPrintable(tabCaptions(run.state()).join(u',')));
    QVERIFY(noModalBox(run.state()));

    // Clicked, the page may ask before it is left; it is left all the same.
    const QJsonObject browser = findWindow(run.state(), kBrowser);
    const QJsonObject tabs = findControl(browser, u"选择夹_多页面创建"_s);
    QVERIFY(ProgramRun::clickAt({browser[u"x"].toInt() + tabs[u"wx"].toInt() + 100,
                                 browser[u"y"].toInt() + tabs[u"wy"].toInt() + 100}));
    const int loads = site.requests("/dialogs.html");
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(browser, u"按钮_浏览器刷新"_s)));
    QVERIFY2(QTest::qWaitFor([&] { return site.requests("/dialogs.html") > loads; }, 20000),
             "the page was not reloaded");
    QVERIFY(run.waitForState([](const QJsonObject& s) { return dialogRounds(s) >= 5; }, 20000));
    QVERIFY(noModalBox(run.state()));

    // The main window answers its menu: 设置 → 系统设置.
    QVERIFY(ProgramRun::focusWindow(kMain));
    QVERIFY(ProgramRun::pressKeys(u"alt+s"_s));
    QTest::qWait(300);
    QVERIFY(ProgramRun::pressKeys(u"p"_s));
    QVERIFY2(run.waitForState([](const QJsonObject& s) { return shown(s, u"系统设置"_s); }, 10000),
             "系统设置 did not open");
    const QJsonObject state = run.state();
    QVERIFY(noModalBox(state));
    QVERIFY(state[u"messages"].toArray().isEmpty());
    ProgramRun::screenshot(u"e2e_hostile_dialogs"_s);
}

void HostileEndToEnd::popupFloodOpensNoTab() {
    PageServer site(
        {{"/popups.html", kHtml, kPopups},
         {"/opened.html", kHtml, "<html><head><title>opened</title></head><body>1</body></html>"}});
    QVERIFY(site.listen());
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY2(
        run.startProgram(QProcess::ForwardedOutputChannel, {u"http://%1/popups.html"_s.arg(site.host())}),
        qPrintable(run.error()));
    QVERIFY(run.waitForState([](const QJsonObject& s) { return shown(s, kMain); }, 20000));
    QVERIFY(clickCommand(run, u"命令_资料浏览"_s));
    QVERIFY(run.waitForState([](const QJsonObject& s) { return tabCaptions(s) == QStringList{u"popups"_s}; },
                             60000));

    // Ten seconds of flooding: one tab, and memory as with any page.
    QTest::qWait(10000);
    QCOMPARE(tabCaptions(run.state()), QStringList{u"popups"_s});
    QCOMPARE(site.requests("/opened.html"), 0);
    const double flooded = treeMb(run.program().processId());
    qInfo("program and engine after the flood: %.0f MB", flooded);
    QVERIFY2(flooded < 1024, qPrintable(u"%1 MB"_s.arg(flooded)));

    // A click on the link is the user's own: it opens one tab.
    const QJsonObject browser = findWindow(run.state(), kBrowser);
    const QJsonObject tabs = findControl(browser, u"选择夹_多页面创建"_s);
    QVERIFY(ProgramRun::clickAt({browser[u"x"].toInt() + tabs[u"wx"].toInt() + 60,
                                 browser[u"y"].toInt() + tabs[u"wy"].toInt() + 80}));
    QVERIFY2(run.waitForState(
                 [](const QJsonObject& s) {
                     return tabCaptions(s) == QStringList{u"popups"_s, u"opened"_s};
                 },
                 20000),
             qPrintable(tabCaptions(run.state()).join(u',')));
    QTest::qWait(3000);
    QCOMPARE(tabCaptions(run.state()).size(), 2);
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());
}

void HostileEndToEnd::imageBombIsRefused() {
    // Three frames of 5700 x 5700 in about 45 KB.
    const gifforge::Frame frame{QRect(0, 0, 5700, 5700)};
    const QByteArray bomb = gifforge::gif({5700, 5700}, {frame, frame, frame});
    QVERIFY(bomb.size() < 64 * 1024);
    PageServer site({{"/", "image/gif", bomb}});
    QVERIFY(site.listen());
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY(setEndpoint(run.programDir() + u"/endpoints.ini"_s, endpoints::key::chartImageHost, site.host()));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    QVERIFY(run.waitForState([](const QJsonObject& s) { return shown(s, kMain); }, 20000));
    const QString dayChart = u"浏览框_二十四小时黄金图超文本"_s;
    // The 24-hour chart is asked for at start-up and arrives as the bomb.
    QVERIFY(QTest::qWaitFor([&] { return site.requests("/") > 0; }, 30000));
    QTest::qWait(2000);

    const qint64 pid = run.program().processId();
    const qint64 ticks = cpuTicks(pid);
    QTest::qWait(5000);
    const double cpu = double(cpuTicks(pid) - ticks) / sysconf(_SC_CLK_TCK) / 5 * 100;
    const double memory = pssKb(pid) / 1024.0;
    qInfo("with the bomb shown: %.0f %% of a core, %.0f MB", cpu, memory);
    // A decoded bomb holds 124 MB per copy and keeps a core busy.
    QVERIFY2(cpu < 30, qPrintable(u"%1 %"_s.arg(cpu)));
    QVERIFY2(memory < 200, qPrintable(u"%1 MB"_s.arg(memory)));

    // The panel is empty, as for a chart that did not arrive.
    const QJsonObject panel = findControl(findWindow(run.state(), kMain), dayChart);
    QVERIFY(panel[u"url"].toString().startsWith(u"http://%1/"_s.arg(site.host())));
    QVERIFY(!panel[u"loaded"].toBool());
    QVERIFY(panel[u"image"].toString().isEmpty());
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());
    ProgramRun::screenshot(u"e2e_hostile_image_bomb"_s);
}

QTEST_GUILESS_MAIN(HostileEndToEnd)
#include "test_e2e_hostile.moc"
