// The real program under Xvfb against the demo portal: when the portal stops
// serving the 24-hour chart image (a server error, then a web page in its
// place) the panel shows the day this computer recorded, marked "本机记录",
// and goes back to the image as soon as one loads; the prices the run shows
// reach the history file.
#include "core/app_dir.h"
#include "history/history_store.h"
#include "history/price_history.h"
#include "program_run.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace history;

class HistoryEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void recordedChartStandsInForTheImage();
};

void HistoryEndToEnd::recordedChartStandsInForTheImage() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    // A day of the international buy price, recorded by earlier runs.
    appdir::set(run.programDir());
    const QString path = appPath(QString::fromLatin1(PriceHistory::kFile));
    const qint64 start = QDateTime::currentMSecsSinceEpoch();
    {
        HistoryStore store;
        QVERIFY(store.open(path));
        QList<std::pair<Series, Change>> day;
        for (int minute = 0; minute < 1440; ++minute)
            day.append({Series::IntlBuy,
                        {start - kDayMs + minute * kMinuteMs, Fen(90000 + 300 * std::sin(minute / 150.0))}});
        QVERIFY(store.append(day));
    }
    QVERIFY(run.setChartMode(u"error"_s));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));

    const auto main = [](const QJsonObject& s) { return findWindow(s, u"Aurivex3.0"_s); };
    const auto panel = [&](const QJsonObject& s) {
        return findControl(main(s), u"浏览框_二十四小时黄金图超文本"_s);
    };
    const auto recordedShown = [&](const QJsonObject& s) {
        return panel(s)[u"recorded"].toBool() &&
               findControl(main(s), u"图表_本机记录"_s)[u"visible"].toBool();
    };
    QVERIFY2(run.waitForState(recordedShown, 30000),
             "the recorded chart did not stand in for the missing image");
    QCOMPARE(findControl(main(run.state()), u"标签_本机记录"_s)[u"text"].toString(), u"本机记录"_s);
    const QString shot = ProgramRun::screenshot(u"history-recorded-chart"_s);
    QVERIFY2(!shot.isEmpty(), "the screenshot could not be taken");
    qInfo("screenshot: %s", qPrintable(shot));

    // The portal serves images again: the next refresh (every 15 s) shows one.
    QVERIFY(run.setChartMode(u"normal"_s));
    QVERIFY2(run.waitForState(
                 [&](const QJsonObject& s) {
                     return !panel(s)[u"recorded"].toBool() &&
                            panel(s)[u"image"].toString() == u"450x275"_s &&
                            !findControl(main(s), u"图表_本机记录"_s)[u"visible"].toBool();
                 },
                 40000),
             "the image did not come back");
    // A web page where the image should be is no image either.
    QVERIFY(run.setChartMode(u"page"_s));
    QVERIFY2(run.waitForState(recordedShown, 40000), "a page in place of the image left the panel blank");

    // What this run showed reached the file with a commit (every 30 s).
    const QDeadlineTimer deadline(45000);
    qsizetype recorded = 0;
    while (recorded == 0 && !deadline.hasExpired()) {
        HistoryStore store;
        QVERIFY(store.open(path));
        recorded = store.read(Series::IntlBuy, start, std::numeric_limits<qint64>::max()).changes.size();
        if (recorded == 0)
            QThread::msleep(1000);
    }
    QVERIFY2(recorded > 0, "the prices shown were not recorded");
}

QTEST_GUILESS_MAIN(HistoryEndToEnd)
#include "test_e2e_history.moc"
