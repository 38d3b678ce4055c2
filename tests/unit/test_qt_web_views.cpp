// Web views on the real browser engine, offscreen: the engine waits for the
// first page, pages load and answer scripts, failed loads say so, and
// new-window requests follow the view's policy.
#include "platform/qt_web_views.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

QUrl page(const QString& body) {
    return QUrl(u"data:text/html;charset=utf-8,"_s + QString::fromLatin1(QUrl::toPercentEncoding(body)));
}

// Runs a script and waits for its value.
QVariant evaluate(WebView* view, const QString& script) {
    QVariant value;
    bool answered = false;
    view->runJavaScript(script, [&](const QVariant& result) {
        value = result;
        answered = true;
    });
    if (!QTest::qWaitFor([&] { return answered; }, 10000))
        return u"<no answer>"_s;
    return value;
}

} // namespace

class QtWebViewsTest : public QObject {
    Q_OBJECT
private slots:
    void engineWaitsForTheFirstPage();
    void loadsPagesAndAnswersScripts();
    void newWindowRequestsFollowThePolicy_data();
    void newWindowRequestsFollowThePolicy();

private:
    QtWebViews views;
};

void QtWebViewsTest::engineWaitsForTheFirstPage() {
    QWidget window;
    WebView* view = views.create(&window);
    QCOMPARE(view->parent(), &window);
    view->runJavaScript(u"1"_s, [](const QVariant& result) { QVERIFY(!result.isValid()); });
    QVERIFY(!view->findChild<QWebEngineView*>());
    QVERIFY(!QtWebViews::engineStarted());
}

void QtWebViewsTest::loadsPagesAndAnswersScripts() {
    QWidget window;
    window.resize(400, 300);
    WebView* view = views.create(&window);
    view->setGeometry(0, 0, 400, 300);
    window.show();
    QSignalSpy loads(view, &WebView::loaded);
    view->navigate(page(u"<title>金价</title><body>1</body>"_s));
    QVERIFY(loads.wait(20000));
    QCOMPARE(loads.takeFirst().value(0).toBool(), true);
    QVERIFY(QtWebViews::engineStarted());
    QCOMPARE(evaluate(view, u"document.title"_s).toString(), u"金价"_s);
    QCOMPARE(view->findChild<QWebEngineView*>()->contextMenuPolicy(), Qt::NoContextMenu);

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    view->navigate(QUrl(u"http://127.0.0.1:%1/chart.gif"_s.arg(port)));
    QVERIFY(loads.wait(20000));
    QCOMPARE(loads.takeFirst().value(0).toBool(), false);
}

void QtWebViewsTest::newWindowRequestsFollowThePolicy_data() {
    QTest::addColumn<WebView::NewWindowPolicy>("policy");
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<bool>("reported");
    QTest::newRow("refuse") << WebView::NewWindowPolicy::Refuse << u"opener"_s << false;
    QTest::newRow("open here") << WebView::NewWindowPolicy::OpenHere << u"opened"_s << false;
    QTest::newRow("report") << WebView::NewWindowPolicy::Report << u"opener"_s << true;
}

void QtWebViewsTest::newWindowRequestsFollowThePolicy() {
    QFETCH(WebView::NewWindowPolicy, policy);
    QFETCH(QString, shownAfter);
    QFETCH(bool, reported);
    QWidget window;
    window.resize(400, 300);
    WebView* view = views.create(&window, policy);
    view->setGeometry(0, 0, 400, 300);
    window.show();
    QSignalSpy loads(view, &WebView::loaded);
    QSignalSpy requests(view, &WebView::newWindowRequested);
    view->navigate(page(u"<title>opener</title>"_s));
    QVERIFY(loads.wait(20000));
    const QUrl target = page(u"<title>opened</title>"_s);
    view->runJavaScript(u"window.open('%1', '_blank')"_s.arg(target.toString()));
    if (reported) {
        QVERIFY(requests.wait(10000));
        QCOMPARE(requests.first().value(0).toUrl(), target);
    } else if (policy == WebView::NewWindowPolicy::OpenHere) {
        QVERIFY(loads.wait(20000));
    } else {
        QTest::qWait(500);
    }
    QCOMPARE(evaluate(view, u"document.title"_s).toString(), shownAfter);
    QCOMPARE(window.findChildren<QWebEngineView*>().size(), 1);
    if (!reported)
        QCOMPARE(requests.count(), 0);
}

int main(int argc, char* argv[]) {
    QtWebViews::prepareApplication();
    QApplication app(argc, argv);
    QtWebViewsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_qt_web_views.moc"
