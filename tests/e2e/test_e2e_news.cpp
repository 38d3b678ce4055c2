// The real program under Xvfb against the demo portal: the headline the news
// file points at scrolls through the status bar, and the file moves on past it.
#include "news/news_list.h"
#include "program_run.h"
#include "records/passwords.h"
#include "records/record_file.h"

#include <QJsonArray>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kLink = u"新闻显示链接框"_s;

QJsonObject newsLink(const QJsonObject& state) {
    return findControl(findWindow(state, u"Aurivex3.0"_s), kLink);
}

int storedPosition(const QString& path) {
    RecordFile news;
    if (!news.openForReading(path, recordpasswords::newsPassword(), recordpasswords::newsFields()))
        return -1;
    return news.read(recordpasswords::newsfield::line).toInt();
}

} // namespace

class NewsEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void firstHeadlineScrollsThroughTheStatusBar();
};

void NewsEndToEnd::firstHeadlineScrollsThroughTheStatusBar() {
    ProgramRun run;
    QVERIFY2(run.prepare(), qPrintable(run.error()));
    // The portal's list as the program gets it.
    QByteArray list;
    portalGet(run.portalPort(), u"/news/newslist.txt"_s, &list);
    QVERIFY2(newslist::isNewsList(list), list.constData());
    // The copied program directory may have been run before: the run starts
    // where its news file says.
    const QString newsFile = run.programDir() + u"/"_s + recordpasswords::kNewsFile;
    const QList<QByteArray> lines = newslist::splitLines(list);
    const int start = newslist::runStart(storedPosition(newsFile), int(lines.size()));
    const auto item = newslist::parseLine(lines.value(start - 1));
    QVERIFY(item);
    const QString first = item->headline;
    QVERIFY2(run.startProgram(), qPrintable(run.error()));

    QVERIFY(run.waitForState([](const QJsonObject& s) { return !newsLink(s)[u"text"].toString().isEmpty(); },
                             20000));
    const QJsonObject link = newsLink(run.state());
    QCOMPARE(link[u"text"].toString(), first);
    const int x = link[u"x"].toInt();
    // One pixel every 15 ms: well over 20 pixels within two seconds.
    QVERIFY(run.waitForState(
        [x, first](const QJsonObject& s) {
            const QJsonObject now = newsLink(s);
            return now[u"text"].toString() == first && now[u"x"].toInt() < x - 20;
        },
        5000));
    QVERIFY(run.state()[u"messages"].toArray().isEmpty());

    // The line is shown, so the news file already points past it.
    QCOMPARE(storedPosition(newsFile), start + 1);

    const QString shot = ProgramRun::screenshot(u"news-ticker"_s);
    QVERIFY2(!shot.isEmpty(), "the screenshot could not be taken");
    qInfo("screenshot: %s", qPrintable(shot));
}

QTEST_GUILESS_MAIN(NewsEndToEnd)
#include "test_e2e_news.moc"
