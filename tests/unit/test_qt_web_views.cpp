// Web views on the real browser engine, offscreen: the engine waits for the
// first page, pages load and answer scripts, failed loads say so, a page's
// script dialogs never show, new windows the user clicked for follow the
// view's policy and those a script opens alone are refused, an emptied cache
// makes the next load ask the server, and a hidden view that may do so gives
// its page up until shown.
#include "platform/web/qt_web_cache.h"
#include "platform/web/qt_web_views.h"
#include "platform/widgets/modules.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

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

// Serves cacheable pages on loopback and counts the requests for each.
class CacheablePage : public QObject {
public:
    CacheablePage() {
        server.listen(QHostAddress::LocalHost);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                // Each connection gathers its own request; the engine opens several.
                auto request = std::make_shared<QByteArray>();
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                    *request += socket->readAll();
                    if (!request->contains("\r\n\r\n"))
                        return;
                    // The engine asks for a favicon too; only the pages count.
                    const QByteArray path = request->split(' ').value(1);
                    if (path.startsWith("/chart"))
                        ++requests[path];
                    request->clear();
                    const QByteArray body = "<title>chart</title><body>1</body>";
                    socket->write(
                        "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nCache-Control: max-age=3600\r\n"
                        "Connection: close\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QUrl url(const QString& page) const {
        return QUrl(u"http://127.0.0.1:%1/%2"_s.arg(server.serverPort()).arg(page));
    }

    QTcpServer server;
    QHash<QByteArray, int> requests;
};

// A click into the page, as a person gives it.
void clickPage(WebView* view) {
    QWidget* input = view->findChild<QWebEngineView*>()->focusProxy();
    QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(20, 20));
}

// Counts the modal windows shown while it lives, closing each at once.
class ModalWatch {
public:
    ModalWatch() {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++shown;
                modal->close();
            }
        });
        poll_.start(20);
    }
    int shown = 0;

private:
    QTimer poll_;
};

} // namespace

class QtWebViewsTest : public QObject {
    Q_OBJECT
private slots:
    void engineWaitsForTheFirstPage();
    void loadsPagesAndAnswersScripts();
    void scriptDialogsNeverShow_data();
    void scriptDialogsNeverShow();
    void newWindowRequestsFollowThePolicy_data();
    void newWindowRequestsFollowThePolicy();
    void emptiedCacheMakesTheNextLoadAskTheServer();
    void hiddenPageIsDiscardedUntilShown();

private:
    // A view filling a shown 400 x 300 window.
    WebView* shownView(QWidget& window, WebView::NewWindowPolicy policy = WebView::NewWindowPolicy::Refuse) {
        window.resize(400, 300);
        WebView* view = views.create(&window, policy);
        view->setGeometry(0, 0, 400, 300);
        window.show();
        return view;
    }

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
    WebView* view = shownView(window);
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

void QtWebViewsTest::scriptDialogsNeverShow_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("answer");
    QTest::newRow("alert") << u"alert('hi'); 'went on'"_s << u"went on"_s;
    QTest::newRow("confirm") << u"String(confirm('sure?'))"_s << u"false"_s;
    QTest::newRow("prompt") << u"String(prompt('name?', 'x'))"_s << u"null"_s;
    QTest::newRow("endless alerts") << u"for (var i = 0; i < 50; i++) alert(i); 'went on'"_s << u"went on"_s;
}

void QtWebViewsTest::scriptDialogsNeverShow() {
    QFETCH(QString, script);
    QFETCH(QString, answer);
    QWidget window;
    WebView* view = shownView(window);
    QSignalSpy loads(view, &WebView::loaded);
    // The page asks before it is left, which the engine does only once the user has clicked it.
    view->navigate(page(u"<title>asks</title><body style='height:300px' "
                        "onbeforeunload='event.preventDefault(); return \"stay\"'>x</body>"_s));
    QVERIFY(loads.wait(20000));
    ModalWatch watch;
    QCOMPARE(evaluate(view, script).toString(), answer);
    QCOMPARE(watch.shown, 0);
    clickPage(view);
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(view, u"navigator.userActivation.hasBeenActive"_s).toBool(), true,
                              10000);
    view->navigate(page(u"<title>left</title>"_s));
    QVERIFY(loads.wait(20000));
    QCOMPARE(evaluate(view, u"document.title"_s).toString(), u"left"_s);
    QCOMPARE(watch.shown, 0);
}

void QtWebViewsTest::newWindowRequestsFollowThePolicy_data() {
    QTest::addColumn<WebView::NewWindowPolicy>("policy");
    QTest::addColumn<bool>("clicked");
    QTest::addColumn<QString>("shownAfter");
    QTest::addColumn<bool>("reported");
    QTest::newRow("refuse") << WebView::NewWindowPolicy::Refuse << true << u"opener"_s << false;
    QTest::newRow("open here") << WebView::NewWindowPolicy::OpenHere << true << u"opened"_s << false;
    QTest::newRow("report") << WebView::NewWindowPolicy::Report << true << u"opener"_s << true;
    // Without the user's click nothing opens, whatever the policy.
    QTest::newRow("open here, script alone")
        << WebView::NewWindowPolicy::OpenHere << false << u"opener"_s << false;
    QTest::newRow("report, script alone")
        << WebView::NewWindowPolicy::Report << false << u"opener"_s << false;
}

void QtWebViewsTest::newWindowRequestsFollowThePolicy() {
    QFETCH(WebView::NewWindowPolicy, policy);
    QFETCH(bool, clicked);
    QFETCH(QString, shownAfter);
    QFETCH(bool, reported);
    QWidget window;
    WebView* view = shownView(window, policy);
    QSignalSpy loads(view, &WebView::loaded);
    QSignalSpy requests(view, &WebView::newWindowRequested);
    const QUrl target = page(u"<title>opened</title>"_s);
    // A link over the whole page, opening a new window.
    view->navigate(page(u"<title>opener</title><body style='margin:0'><a target='_blank' href='%1' "
                        "style='display:block;height:300px'>open</a></body>"_s.arg(target.toString())));
    QVERIFY(loads.wait(20000));
    if (clicked)
        clickPage(view);
    else
        view->runJavaScript(
            u"for (var i = 0; i < 20; i++) window.open('%1', '_blank')"_s.arg(target.toString()));
    if (reported) {
        QVERIFY(requests.wait(10000));
        QCOMPARE(requests.first().value(0).toUrl(), target);
    } else if (shownAfter == u"opened"_s) {
        QVERIFY(loads.wait(20000));
    } else {
        QTest::qWait(1000);
    }
    QCOMPARE(evaluate(view, u"document.title"_s).toString(), shownAfter);
    QCOMPARE(window.findChildren<QWebEngineView*>().size(), 1);
    QCOMPARE(requests.count(), reported ? 1 : 0);
}

void QtWebViewsTest::emptiedCacheMakesTheNextLoadAskTheServer() {
    CacheablePage server;
    QWidget window;
    WebView* view = shownView(window);
    QSignalSpy loads(view, &WebView::loaded);
    const auto show = [&](const QString& page) {
        view->navigate(server.url(page));
        return loads.wait(20000);
    };
    // Going back to an address shown before (no reload) takes it from the
    // cache, unless the cache was emptied in between; every load finishes.
    QtWebCache cache;
    cache.downloads().store(QUrl(u"http://127.0.0.1/chart.gif"_s), "GIF89a");
    for (int round = 0; round < 4; ++round) {
        const bool emptied = round % 2 == 1;
        QVERIFY(show(u"chart-a.html"_s));
        if (emptied)
            cache.clearWebCache();
        const int before = server.requests.value("/chart-b.html");
        QVERIFY(show(u"chart-b.html"_s));
        QCOMPARE(server.requests.value("/chart-b.html"), round == 0 || emptied ? before + 1 : before);
    }
    QCOMPARE(server.requests.value("/chart-a.html"), 1);
    QCOMPARE(cache.downloads().count(), 0);
    QCOMPARE(evaluate(view, u"document.title"_s).toString(), u"chart"_s);
}

void QtWebViewsTest::hiddenPageIsDiscardedUntilShown() {
    QWidget window;
    window.resize(400, 300);
    auto* tab = new QWidget(&window);
    tab->setGeometry(0, 0, 400, 300);
    WebView* view = views.create(tab);
    view->setDiscardWhenHidden(true);
    view->setGeometry(0, 0, 400, 300);
    window.show();
    QSignalSpy loads(view, &WebView::loaded);
    view->navigate(page(u"<title>kline</title>"_s));
    QVERIFY(loads.wait(20000));
    QWebEnginePage* engine = view->findChild<QWebEngineView*>()->page();

    tab->hide();
    QTRY_COMPARE_WITH_TIMEOUT(engine->lifecycleState(), QWebEnginePage::LifecycleState::Discarded, 10000);
    tab->show();
    QTRY_COMPARE_WITH_TIMEOUT(engine->lifecycleState(), QWebEnginePage::LifecycleState::Active, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(view, u"document.title"_s).toString(), u"kline"_s, 20000);
}

int main(int argc, char* argv[]) {
    modules::prepareWebEngine();
    QApplication app(argc, argv);
    QtWebViewsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_qt_web_views.moc"
