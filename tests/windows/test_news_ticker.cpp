// The news ticker over a real news file: where each run starts and what it
// leaves stored, the scroll and its end, lines that are no headlines, hostile
// addresses, and a news file that does not open.
#include "core/app_dir.h"
#include "news/news_list.h"
#include "news/news_store.h"
#include "news/news_strip.h"
#include "news/news_ticker.h"
#include "platform/gbk.h"
#include "platform/timer.h"
#include "provisioner.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "support/fake_services.h"
#include "support/program_dir.h"
#include "ui/fonts.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QUrl kListUrl(u"http://news.test/news/newslist.txt"_s);
const QString kOpenFailure = u"数据库打开失败，请重新运行软件！"_s;

// "Headline N|>http://news.test/N" for N = 1..count, without a final line end.
QByteArray numberedList(int count) {
    QList<QByteArray> lines;
    for (int i = 1; i <= count; ++i)
        lines << gbk::encode(u"黄金快讯 %1"_s.arg(i)) + "|>http://news.test/" + QByteArray::number(i);
    return lines.join("\r\n");
}

QStringList headlines(std::initializer_list<int> numbers) {
    QStringList list;
    for (int n : numbers)
        list << u"黄金快讯 %1"_s.arg(n);
    return list;
}

} // namespace

class NewsTickerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }
    void init();
    void cleanup();

    void positionsAcrossRuns_data();
    void positionsAcrossRuns();
    void quittingHalfwayGoesOnWithTheNextLine();
    void scrollsOutThenStopsEmpty();
    void stripAndLinkShowWhatLiesBeneath();
    void noListLeavesTickerAndFileAlone_data();
    void noListLeavesTickerAndFileAlone();
    void onlyWebAddressesOpen();
    void newsFileThatDoesNotOpenEndsTheProgram_data();
    void newsFileThatDoesNotOpenEndsTheProgram();

private:
    void startTicker();
    // Answers the list request and waits for the first headline.
    bool feed(const QByteArray& list);
    // Scrolls until the ticker stops; the headlines in the order shown.
    QStringList runToEnd();
    void tick() { scrollTimer()->tick(); }
    Timer* scrollTimer() const { return client->findChild<Timer*>(u"时钟_新闻滚动时钟"_s); }
    QLabel* link() const { return ticker->link(); }
    void setStored(int newsLine);
    int stored() const { return newsstore::readPosition().value_or(-1); }
    // Ends the run as closing the program does.
    void endRun() {
        delete ticker;
        ticker = nullptr;
    }

    std::unique_ptr<ProgramDir> dir;
    std::unique_ptr<FakeServices> fakes;
    std::unique_ptr<QWidget> client;
    NewsTicker* ticker = nullptr;
};

void NewsTickerTest::init() {
    dir = std::make_unique<ProgramDir>();
    QVERIFY(provision::run({dir->path(), u"127.0.0.1:9"_s, true, false}).isEmpty());
    fakes = std::make_unique<FakeServices>();
    client = std::make_unique<QWidget>();
    client->resize(1015, 688);
    startTicker();
    client->show();
}

void NewsTickerTest::cleanup() {
    endRun();
    client.reset();
    fakes.reset();
    dir.reset();
}

void NewsTickerTest::startTicker() {
    endRun();
    fakes->http.pending.clear();
    ticker = new NewsTicker(client.get(), fakes->services, kListUrl);
    // The design's 250-pixel strip keeps the runs short.
    ticker->strip()->setGeometry(84, 671, 250, 16);
    ticker->strip()->show();
}

bool NewsTickerTest::feed(const QByteArray& list) {
    ticker->fetchNewsList();
    if (fakes->http.requested.value(fakes->http.requested.size() - 1) != kListUrl)
        return false;
    fakes->http.answer(list);
    return QTest::qWaitFor([this] { return scrollTimer()->isRunning(); }, 5000);
}

QStringList NewsTickerTest::runToEnd() {
    QStringList shown{link()->text()};
    for (int i = 0; i < 100000 && scrollTimer()->isRunning(); ++i) {
        tick();
        if (!link()->text().isEmpty() && link()->text() != shown.last())
            shown << link()->text();
    }
    return shown;
}

void NewsTickerTest::setStored(int newsLine) {
    RecordFile file;
    QVERIFY(file.open(appPath(recordpasswords::kNewsFile), recordpasswords::newsPassword()));
    QVERIFY(file.modify({newsLine}));
    QVERIFY(file.close());
}

void NewsTickerTest::positionsAcrossRuns_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("storedBefore");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("storedAfter");
    QTest::newRow("first run") << numberedList(5) << 1 << headlines({1, 2, 3, 4, 5}) << 6;
    QTest::newRow("next run goes on") << numberedList(5) << 3 << headlines({3, 4, 5}) << 6;
    QTest::newRow("used up starts over") << numberedList(5) << 6 << headlines({1, 2, 3, 4, 5}) << 6;
    QTest::newRow("on the last line starts over") << numberedList(5) << 5 << headlines({1, 2, 3, 4, 5}) << 6;
    QTest::newRow("list shorter than the position")
        << numberedList(5) << 40 << headlines({1, 2, 3, 4, 5}) << 6;
    // Lines that are no headlines are passed over and keep their numbers; the
    // final line end leaves an empty sixth line.
    const QByteArray mixed = numberedList(1) + "\r\nno separator\r\n" + gbk::encode(u"黄金快讯 3"_s) +
                             "|>http://news.test/3\r\n|>http://news.test/4\r\n" +
                             gbk::encode(u"黄金快讯 5"_s) + "|>http://news.test/5\r\n";
    QTest::newRow("skipped lines keep the numbering") << mixed << 1 << headlines({1, 3, 5}) << 7;
    QTest::newRow("position on a skipped line") << mixed << 2 << headlines({3, 5}) << 7;
}

void NewsTickerTest::positionsAcrossRuns() {
    QFETCH(QByteArray, list);
    QFETCH(int, storedBefore);
    QFETCH(QStringList, shown);
    QFETCH(int, storedAfter);
    setStored(storedBefore);
    QVERIFY(feed(list));
    QCOMPARE(runToEnd(), shown);
    endRun();
    QCOMPARE(stored(), storedAfter);
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void NewsTickerTest::quittingHalfwayGoesOnWithTheNextLine() {
    setStored(2);
    QVERIFY(feed(numberedList(5)));
    QCOMPARE(link()->text(), u"黄金快讯 2"_s);
    for (int i = 0; i < 40; ++i)
        tick();
    endRun();
    // Shown, so stored as passed: the next run does not show it again.
    QCOMPARE(stored(), 3);
    startTicker();
    QVERIFY(feed(numberedList(5)));
    QCOMPARE(link()->text(), u"黄金快讯 3"_s);
}

void NewsTickerTest::scrollsOutThenStopsEmpty() {
    QVERIFY(feed(numberedList(2)));
    QCOMPARE(scrollTimer()->interval(), NewsTicker::kScrollIntervalMs);
    const int strip = ticker->strip()->width();
    const int width = link()->width();
    QCOMPARE(link()->x(), strip);
    QCOMPARE(link()->height(), 14);
    // Never narrower than the width rule, never narrower than its text.
    QVERIFY(width >= newslist::linkWidth(int(gbk::encode(link()->text()).size()),
                                         ticker->strip()->fontMetrics().horizontalAdvance(u'A')));
    QVERIFY(width >= link()->fontMetrics().horizontalAdvance(link()->text()));
    tick();
    QCOMPARE(link()->x(), strip - 1);
    // One pixel a tick until its right end reaches the strip's left edge.
    for (int i = 1; i < strip + width; ++i)
        tick();
    QCOMPARE(link()->x() + link()->width(), 0);
    QCOMPARE(link()->text(), u"黄金快讯 1"_s);
    tick();
    QCOMPARE(link()->text(), u"黄金快讯 2"_s);
    QCOMPARE(link()->x(), strip - 1);

    for (int i = 0; i < 10000 && scrollTimer()->isRunning(); ++i)
        tick();
    QCOMPARE(scrollTimer()->interval(), 0);
    QVERIFY(link()->text().isEmpty());
    QVERIFY(ticker->target().isEmpty());
}

// The strip and the link paint a picture of the window beneath them rather
// than letting it paint through; it must follow the window.
void NewsTickerTest::stripAndLinkShowWhatLiesBeneath() {
    const auto paint = [this](const QColor& colour) {
        QPalette palette = client->palette();
        palette.setColor(QPalette::Window, colour);
        client->setPalette(palette);
        client->setAutoFillBackground(true);
    };
    const auto shown = [this](int x, int y) {
        const QRect strip = ticker->strip()->geometry();
        return client->grab(strip).toImage().pixelColor(x, y);
    };
    paint(Qt::darkCyan);
    QVERIFY(feed(numberedList(1)));
    for (int i = 0; i < 100; ++i)
        tick();
    QVERIFY(QTest::qWaitFor([this] { return !ticker->strip()->background().isNull(); }, 2000));
    QVERIFY(link()->testAttribute(Qt::WA_OpaquePaintEvent));
    // Above the link, and the link's own last column, which no glyph reaches.
    const QPoint linkEnd(link()->x() + link()->width() - 1, link()->y() + 4);
    QCOMPARE(shown(5, 0), QColor(Qt::darkCyan));
    QCOMPARE(shown(linkEnd.x(), linkEnd.y()), QColor(Qt::darkCyan));
    QVERIFY(shown(link()->x() + 3, link()->height() - 1 + link()->y()) !=
            QColor(Qt::darkCyan)); // the underline

    paint(Qt::darkYellow);
    QVERIFY(QTest::qWaitFor([this] { return !ticker->strip()->background().isNull(); }, 2000));
    QCOMPARE(shown(5, 0), QColor(Qt::darkYellow));
    ticker->strip()->refreshBackground();
    tick();
    QCOMPARE(shown(linkEnd.x() - 1, linkEnd.y()), QColor(Qt::darkYellow));
}

void NewsTickerTest::noListLeavesTickerAndFileAlone_data() {
    QTest::addColumn<std::optional<QByteArray>>("answer");
    QTest::newRow("no answer") << std::optional<QByteArray>();
    QTest::newRow("no separator") << std::optional<QByteArray>(gbk::encode(u"黄金快讯\r\n维护中"_s));
    QTest::newRow("empty") << std::optional<QByteArray>(QByteArray());
}

void NewsTickerTest::noListLeavesTickerAndFileAlone() {
    QFETCH(std::optional<QByteArray>, answer);
    setStored(3);
    const QDateTime before = QFileInfo(appPath(recordpasswords::kNewsFile)).lastModified();
    ticker->fetchNewsList();
    QCOMPARE(fakes->webCache.clears, 1);
    QVERIFY(fakes->http.answer(answer));
    QTest::qWait(100);
    QCOMPARE(scrollTimer()->interval(), 0);
    QVERIFY(link()->text().isEmpty());
    // Once a run: no second download.
    ticker->fetchNewsList();
    QCOMPARE(fakes->http.requested.size(), 1);
    endRun();
    QCOMPARE(stored(), 3);
    QCOMPARE(QFileInfo(appPath(recordpasswords::kNewsFile)).lastModified(), before);
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void NewsTickerTest::onlyWebAddressesOpen() {
    const QByteArray list = "Safe|>https://news.test/1\r\n"
                            "File|>file:///etc/passwd\r\n"
                            "Script|>javascript:alert(1)\r\n"
                            "Path|>/usr/bin/xterm\r\n"
                            "Controls|>http://news.test/\x07\x1b[2J\r\n"
                            "<img src=x>Plain|>http://news.test/6";
    QVERIFY(feed(list));
    QStringList clicked;
    for (int i = 0; i < 100000 && scrollTimer()->isRunning(); ++i) {
        if (clicked.isEmpty() || clicked.last() != link()->text()) {
            clicked << link()->text();
            QTest::mouseClick(link(), Qt::LeftButton, {}, QPoint(2, 7));
        }
        tick();
    }
    QCOMPARE(clicked, (QStringList{u"Safe"_s, u"File"_s, u"Script"_s, u"Path"_s, u"Controls"_s,
                                   u"<img src=x>Plain"_s}));
    QCOMPARE(fakes->launcher.opened,
             (QList<QUrl>{QUrl(u"https://news.test/1"_s), QUrl(u"http://news.test/6"_s)}));
}

void NewsTickerTest::newsFileThatDoesNotOpenEndsTheProgram_data() {
    QTest::addColumn<bool>("whileRunning");
    QTest::newRow("at the start") << false;
    QTest::newRow("while headlines scroll") << true;
}

void NewsTickerTest::newsFileThatDoesNotOpenEndsTheProgram() {
    QFETCH(bool, whileRunning);
    if (!whileRunning)
        QVERIFY(QFile::remove(appPath(recordpasswords::kNewsFile)));
    ticker->fetchNewsList();
    fakes->http.answer(numberedList(3));
    if (whileRunning) {
        QVERIFY(QTest::qWaitFor([this] { return scrollTimer()->isRunning(); }, 5000));
        QTRY_COMPARE(stored(), 2);
        QVERIFY(QFile::remove(appPath(recordpasswords::kNewsFile)));
        const int steps = ticker->strip()->width() + link()->width() + 1;
        for (int i = 0; i < steps; ++i)
            tick();
    }
    QTRY_COMPARE(fakes->quitCodes, QList<int>{0});
    QCOMPARE(fakes->dialogs.history().size(), 1);
    QCOMPARE(fakes->dialogs.history().first().text, kOpenFailure);
    QCOMPARE(fakes->dialogs.history().first().title, u"友情提示："_s);
    QCOMPARE(scrollTimer()->interval(), 0);
    QVERIFY(link()->text().isEmpty());
    // The program never creates the file.
    QVERIFY(!QFile::exists(appPath(recordpasswords::kNewsFile)));
}

QTEST_MAIN(NewsTickerTest)
#include "test_news_ticker.moc"
