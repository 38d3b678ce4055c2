// The portal's news list as the program reads it: GBK lines of
// "headline|>address", every address an article page on the portal.
#include "demo_portal.h"
#include "news/news_list.h"
#include "news_routes.h"
#include "support/http_get.h"

#include <QNetworkAccessManager>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class DemoPortalNewsTest : public QObject {
    Q_OBJECT

    QNetworkAccessManager network_;

    HttpAnswer get(const QUrl& url) { return httpGet(network_, url); }

private slots:
    void everyHeadlineLinksToItsArticleOnThePortal() {
        demoportal::DemoPortal portal(7);
        const quint16 port = portal.listen(0);
        QVERIFY(port > 0);
        const HttpAnswer list = get(newslist::listUrl(u"127.0.0.1:%1"_s.arg(port)));
        QCOMPARE(list.status, 200);
        QCOMPARE(list.contentType, QByteArray("text/plain; charset=gbk"));
        QVERIFY(newslist::isNewsList(list.body));

        QStringList headlines;
        for (const QByteArray& line : newslist::splitLines(list.body)) {
            const auto item = newslist::parseLine(line);
            if (!item)
                continue;
            headlines << item->headline;
            QVERIFY2(newslist::isOpenableAddress(item->address), qPrintable(item->address));
            const QUrl address(item->address);
            QCOMPARE(address.host(), u"127.0.0.1"_s);
            QCOMPARE(address.port(), int(port));
            const HttpAnswer article = get(address);
            QCOMPARE(article.status, 200);
            QVERIFY(QString::fromUtf8(article.body).contains(item->headline));
        }
        QCOMPARE(headlines, demoportal::newsHeadlines());
        QVERIFY(headlines.size() >= 8);
        QCOMPARE(get(QUrl(u"http://127.0.0.1:%1/news/article/99"_s.arg(port))).status, 404);
    }
};

QTEST_GUILESS_MAIN(DemoPortalNewsTest)
#include "test_demo_portal_news.moc"
