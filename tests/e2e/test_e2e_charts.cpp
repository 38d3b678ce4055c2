// The real program under Xvfb against the demo portal: the 24-hour chart
// arrives as an image from the portal at start-up, with neither the browser
// engine nor the media framework nor a GL driver loaded, and the toolbar's
// K-line command loads the portal's K-line page into the browser engine,
// which draws it without a GL driver.
#include "program_run.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Which of the libraries named by these parts of a file name the process maps.
QStringList mapped(qint64 pid, const QStringList& parts) {
    QFile maps(u"/proc/%1/maps"_s.arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return {u"(no maps)"_s};
    const QString text = QString::fromLocal8Bit(maps.readAll());
    QStringList found;
    for (const QString& part : parts) {
        if (text.contains(part))
            found << part;
    }
    return found;
}

const QStringList kGlDriver = {u"_dri.so"_s, u"libLLVM"_s};

} // namespace

class ChartsEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void dayChartShowsAndKLinePageLoads();
};

void ChartsEndToEnd::dayChartShowsAndKLinePageLoads() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));

    const auto control = [](const QJsonObject& state, const QString& name) {
        return findControl(findWindow(state, u"Aurivex3.0"_s), name);
    };
    const QString dayChart = u"浏览框_二十四小时黄金图超文本"_s;
    QVERIFY2(run.waitForState([&](const QJsonObject& s) { return control(s, dayChart)[u"loaded"].toBool(); },
                              20000),
             "the 24-hour chart did not arrive");
    QJsonObject state = run.state();
    QCOMPARE(control(state, dayChart)[u"image"].toString(), u"450x275"_s);
    QVERIFY(control(state, dayChart)[u"url"].toString().endsWith(
        u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s));

    const qint64 pid = run.program().processId();
    QCOMPARE(mapped(pid, kGlDriver + QStringList{u"libQt6WebEngineCore"_s, u"libQt6Multimedia"_s}),
             QStringList());

    const QJsonObject main = findWindow(state, u"Aurivex3.0"_s);
    QVERIFY(ProgramRun::clickAt(ProgramRun::controlCentre(main, u"命令_黄金K线"_s)));
    const QString kLine = u"超文本浏览框_K线图"_s;
    QVERIFY2(
        run.waitForState([&](const QJsonObject& s) { return control(s, kLine)[u"loaded"].toBool(); }, 90000),
        "the K-line page did not load");
    state = run.state();
    QCOMPARE(control(state, u"标签_K线状态"_s)[u"text"].toString(), u"日K线"_s);
    QVERIFY(control(state, kLine)[u"url"].toString().endsWith(u"/embed.aspx?code=XAUUSD&time=4&type=1"_s));
    QCOMPARE(mapped(pid, kGlDriver + QStringList{u"libQt6WebEngineCore"_s}),
             QStringList{u"libQt6WebEngineCore"_s});
    // Let the page draw before the picture is taken.
    QTest::qWait(1500);
    const QString shot = ProgramRun::screenshot(u"charts-kline"_s);
    QVERIFY2(!shot.isEmpty(), "the screenshot could not be taken");
    qInfo("screenshot: %s", qPrintable(shot));
}

QTEST_GUILESS_MAIN(ChartsEndToEnd)
#include "test_e2e_charts.moc"
