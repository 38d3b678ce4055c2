// The real program under Xvfb against the demo portal: the reference browser
// opens demo pages from its tree and from the command line, and the TV panel
// plays the demo stream (or says the player failed) without hanging the window.
#include "program_run.h"
#include "window_close.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kMain = u"Aurivex3.0"_s;
const QString kBrowser = u"Aurivex相关资料专用浏览器"_s;

QStringList tabCaptions(const QJsonObject& state) {
    return itemTexts(findControl(findWindow(state, kBrowser), u"选择夹_多页面创建"_s));
}

QString text(const QJsonObject& state, const QString& window, const QString& name) {
    return findControl(findWindow(state, window), name)[u"text"].toString();
}

bool mainWindowShown(const QJsonObject& s) {
    return findWindow(s, kMain)[u"visible"].toBool();
}

} // namespace

class MediaEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void referenceBrowserOpensDemoPages();
    void commandLineAddressOpensInTheFirstTab();
    void tvPanelPlaysTheDemoStream();
};

void MediaEndToEnd::referenceBrowserOpensDemoPages() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    QVERIFY(run.waitForState(mainWindowShown, 20000));

    QVERIFY(
        ProgramRun::clickAt(ProgramRun::controlCentre(findWindow(run.state(), kMain), u"命令_资料浏览"_s)));
    // " 今日数据" opens first; its title, cut to 16 bytes, names the tab.
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return tabCaptions(s) == QStringList{u"今日全球经济数据"_s}; }, 30000));

    // The side bar, then the tree's last link by keyboard.
    const QJsonObject browser = findWindow(run.state(), kBrowser);
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(browser, u"按钮_浏览器侧边栏"_s)));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) {
            return findControl(findWindow(s, kBrowser), u"树型框_侧边栏"_s)[u"visible"].toBool();
        },
        5000));
    const QJsonObject tree = findControl(findWindow(run.state(), kBrowser), u"树型框_侧边栏"_s);
    QVERIFY(ProgramRun::clickAt(
        {browser[u"x"].toInt() + tree[u"wx"].toInt() + 30, browser[u"y"].toInt() + tree[u"wy"].toInt() + 8}));
    QVERIFY(ProgramRun::pressKeys(u"End"_s));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return tabCaptions(s) == QStringList{u"金价行情站 - 实"_s}; }, 20000));
    ProgramRun::screenshot(u"e2e_media_reference_browser"_s);
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());

    // Closed, it is gone, and the main window carries on.
    QVERIFY(closeWindow(kBrowser));
    QVERIFY(run.waitForState([](const QJsonObject& s) { return findWindow(s, kBrowser).isEmpty(); }, 10000));
    QVERIFY(run.program().state() == QProcess::Running);
}

void MediaEndToEnd::commandLineAddressOpensInTheFirstTab() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    const QString address = u"http://127.0.0.1:%1/ref/sina/nmetal/"_s.arg(run.portalPort());
    QVERIFY2(run.startProgram(QProcess::ForwardedOutputChannel, {address}), qPrintable(run.error()));
    QVERIFY(run.waitForState(mainWindowShown, 20000));
    QVERIFY(
        ProgramRun::clickAt(ProgramRun::controlCentre(findWindow(run.state(), kMain), u"命令_资料浏览"_s)));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return tabCaptions(s) == QStringList{u"新浪财经 - 贵金"_s}; }, 30000));
    // The start line is marked but has not replaced the page.
    QTest::qWait(1000);
    QCOMPARE(tabCaptions(run.state()), QStringList{u"新浪财经 - 贵金"_s});
}

void MediaEndToEnd::tvPanelPlaysTheDemoStream() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    QVERIFY(run.waitForState(mainWindowShown, 20000));
    QCOMPARE(text(run.state(), kMain, u"播放状态标签"_s), u"已停止"_s);

    QVERIFY(
        ProgramRun::clickAt(ProgramRun::controlCentre(findWindow(run.state(), kMain), u"按钮_电视播放"_s)));
    // Playing, or, on a machine without a media backend, the player's failure.
    const QStringList outcomes = {u"正在播放"_s, u"播放失败，请稍后重试"_s};
    QVERIFY(run.waitForState(
        [&](const QJsonObject& s) { return outcomes.contains(text(s, kMain, u"播放状态标签"_s)); }, 30000));
    const QString outcome = text(run.state(), kMain, u"播放状态标签"_s);
    qInfo("TV: %s", qPrintable(outcome));
    ProgramRun::screenshot(u"e2e_media_tv"_s);

    // The window keeps working: the world clock goes on and the stop button stops.
    const QString clock = text(run.state(), kMain, u"北京时间显示标签"_s);
    QVERIFY(run.waitForState(
        [&](const QJsonObject& s) { return text(s, kMain, u"北京时间显示标签"_s) != clock; }, 5000));
    QVERIFY(
        ProgramRun::clickAt(ProgramRun::controlCentre(findWindow(run.state(), kMain), u"按钮_电视停止"_s)));
    QVERIFY(run.waitForState(
        [](const QJsonObject& s) { return text(s, kMain, u"播放状态标签"_s) == u"已停止"_s; }, 10000));
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());
}

QTEST_GUILESS_MAIN(MediaEndToEnd)
#include "test_e2e_media.moc"
