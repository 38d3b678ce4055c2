// The news list's rules: what counts as a list, how it splits into numbered
// lines, which lines carry a headline and an address, which addresses may go
// to the browser, the link's width and where a run starts.
#include "news/news_list.h"
#include "platform/gbk.h"

#include <QTest>

using namespace Qt::StringLiterals;

class NewsListTest : public QObject {
    Q_OBJECT
private slots:
    void listUrlFollowsTheHost();
    void splitsAtEveryLineEnd_data();
    void splitsAtEveryLineEnd();
    void linesWithoutBothPartsAreNoItems_data();
    void linesWithoutBothPartsAreNoItems();
    void headlinesShowSafely_data();
    void headlinesShowSafely();
    void onlyWebAddressesOpen_data();
    void onlyWebAddressesOpen();
    void widthRule_data();
    void widthRule();
    void runStart_data();
    void runStart();
};

void NewsListTest::listUrlFollowsTheHost() {
    QCOMPARE(newslist::listUrl(u"127.0.0.1:18090"_s), QUrl(u"http://127.0.0.1:18090/news/newslist.txt"_s));
    QVERIFY(newslist::listUrl(u" "_s).isEmpty());
}

void NewsListTest::splitsAtEveryLineEnd_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("isList");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("two lines") << QByteArray("a|>http://x/1\r\nb|>http://x/2") << true
                               << QList<QByteArray>{"a|>http://x/1", "b|>http://x/2"};
    QTest::newRow("final line end") << QByteArray("a|>u\r\n") << true << QList<QByteArray>{"a|>u", ""};
    QTest::newRow("bare LF is no line end")
        << QByteArray("a|>u\nb|>v") << true << QList<QByteArray>{"a|>u\nb|>v"};
    QTest::newRow("no separator") << QByteArray("<html>404</html>") << false
                                  << QList<QByteArray>{"<html>404</html>"};
    // "|" can be the second byte of a GBK character: 0xB0 0x7C then ">" is
    // a character and a ">", not a separator.
    QTest::newRow("separator inside a character")
        << QByteArray("\xB0|>abc") << false << QList<QByteArray>{"\xB0|>abc"};
    QTest::newRow("empty") << QByteArray() << false << QList<QByteArray>{""};
}

void NewsListTest::splitsAtEveryLineEnd() {
    QFETCH(QByteArray, text);
    QFETCH(bool, isList);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(newslist::isNewsList(text), isList);
    QCOMPARE(newslist::splitLines(text), lines);
}

void NewsListTest::linesWithoutBothPartsAreNoItems_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("isItem");
    QTest::addColumn<QString>("address");
    QTest::newRow("headline and address") << QByteArray("Gold up|>http://x/1") << true << u"http://x/1"_s;
    QTest::newRow("spaces around the address")
        << QByteArray("Gold up |> http://x/1 ") << true << u"http://x/1"_s;
    QTest::newRow("a further separator ends the address")
        << QByteArray("Gold|>http://x/1|>extra") << true << u"http://x/1"_s;
    QTest::newRow("no separator") << QByteArray("Gold up http://x/1") << false << QString();
    QTest::newRow("empty line") << QByteArray() << false << QString();
    QTest::newRow("no headline") << QByteArray(" |>http://x/1") << false << QString();
    QTest::newRow("no address") << QByteArray("Gold up|>") << false << QString();
}

void NewsListTest::linesWithoutBothPartsAreNoItems() {
    QFETCH(QByteArray, line);
    QFETCH(bool, isItem);
    QFETCH(QString, address);
    const auto item = newslist::parseLine(line);
    QCOMPARE(item.has_value(), isItem);
    if (item)
        QCOMPARE(item->address, address);
}

void NewsListTest::headlinesShowSafely_data() {
    QTest::addColumn<QByteArray>("headline");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("bytes");
    QTest::newRow("chinese counts two a character")
        << gbk::encode(u"国际金价震荡走高"_s) << u"国际金价震荡走高"_s << 16;
    QTest::newRow("mixed") << gbk::encode(u"T+D成交"_s) << u"T+D成交"_s << 7;
    QTest::newRow("control characters become spaces")
        << QByteArray("Gold\tup\x07now\x1b") << u"Gold up now"_s << 11;
    QTest::newRow("bad bytes become replacement characters")
        << QByteArray("Gold\xFF") << u"Gold\uFFFD"_s << 5;
    QTest::newRow("markup stays text") << QByteArray("<b>Gold</b>") << u"<b>Gold</b>"_s << 11;
    QTest::newRow("overlong headline is cut")
        << QByteArray(500, 'A') << QString(newslist::kMaxHeadlineChars, u'A') + u'…' << 202;
}

void NewsListTest::headlinesShowSafely() {
    QFETCH(QByteArray, headline);
    QFETCH(QString, shown);
    QFETCH(int, bytes);
    const auto item = newslist::parseLine(headline + "|>http://x/1");
    QVERIFY(item);
    QCOMPARE(item->headline, shown);
    QCOMPARE(item->headlineBytes, bytes);
}

void NewsListTest::onlyWebAddressesOpen_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("opens");
    QTest::newRow("http") << u"http://127.0.0.1:18090/news/article/1"_s << true;
    QTest::newRow("https") << u"https://news.example.com/a?id=3"_s << true;
    QTest::newRow("capital scheme") << u"HTTP://news.example.com/"_s << true;
    QTest::newRow("file") << u"file:///etc/passwd"_s << false;
    QTest::newRow("javascript") << u"javascript:alert(1)"_s << false;
    QTest::newRow("local path") << u"/home/user/.bashrc"_s << false;
    QTest::newRow("windows path") << u"C:\\Windows\\notepad.exe"_s << false;
    QTest::newRow("no host") << u"http:///news"_s << false;
    QTest::newRow("control character") << u"http://x/\x01"_s << false;
    QTest::newRow("line break") << u"http://x/a\nb"_s << false;
    QTest::newRow("other scheme") << u"ftp://x/list"_s << false;
    QTest::newRow("malformed") << u"http://[x/"_s << false;
}

void NewsListTest::onlyWebAddressesOpen() {
    QFETCH(QString, address);
    QFETCH(bool, opens);
    QCOMPARE(newslist::isOpenableAddress(address), opens);
}

void NewsListTest::widthRule_data() {
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("widthOfA");
    QTest::addColumn<int>("width");
    QTest::newRow("ten chinese characters, A of 8") << 20 << 8 << 80;
    QTest::newRow("odd A truncates") << 7 << 7 << 24;
    QTest::newRow("nothing") << 0 << 8 << 0;
}

void NewsListTest::widthRule() {
    QFETCH(int, bytes);
    QFETCH(int, widthOfA);
    QFETCH(int, width);
    QCOMPARE(newslist::linkWidth(bytes, widthOfA), width);
}

void NewsListTest::runStart_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("start");
    QTest::newRow("first run") << 1 << 5 << 1;
    QTest::newRow("next run goes on") << 3 << 5 << 3;
    QTest::newRow("on the last line starts over") << 5 << 5 << 1;
    QTest::newRow("used up starts over") << 6 << 5 << 1;
    QTest::newRow("list shorter than the position") << 40 << 5 << 1;
    QTest::newRow("below 1") << 0 << 5 << 1;
}

void NewsListTest::runStart() {
    QFETCH(int, stored);
    QFETCH(int, lines);
    QFETCH(int, start);
    QCOMPARE(newslist::runStart(stored, lines), start);
}

QTEST_GUILESS_MAIN(NewsListTest)
#include "test_news_list.moc"
