// The desktop as a real X server shows it (run under Xvfb): the shared-memory
// grab reads what the screen shows, raw key events are seen while none of our
// windows has the keyboard, and the magnifier shows a known pattern doubled
// without ever showing itself, and the state dump tells where the server holds
// a window.
#include "diagnostics/state_dump.h"
#include "media/magnifier.h"
#include "media/magnifier_rules.h"
#include "platform/key_watch.h"
#include "platform/timer.h"
#include "platform/widgets/desktop_screen.h"
#include "platform/widgets/x11_grab.h"
#include "support/fake_services.h"

#include <QApplication>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QRgb patternPixel(int x, int y) {
    return qRgb(x & 0xff, y & 0xff, ((x >> 8) << 4) | (y >> 8));
}

// A window that shows the pattern over the whole screen.
class PatternWindow : public QWidget {
public:
    PatternWindow() : QWidget(nullptr, Qt::FramelessWindowHint) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QImage image(size(), QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = patternPixel(x, y);
        }
        QPainter(this).drawImage(0, 0, image);
    }
};

// Polls until the key has been pressed; the poll that sees it takes it.
KeyWatch::State waitForPress(KeyWatch& keys, const WatchedKey& key) {
    KeyWatch::State state;
    [[maybe_unused]] const bool seen =
        QTest::qWaitFor([&] { return (state = keys.poll(key)).pressed; }, 5000);
    return state;
}

bool xdotool(const QStringList& arguments) {
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

} // namespace

class X11DesktopTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void grabReadsWhatTheScreenShows();
    void rawKeysAreSeenWhereverTheKeyboardIs();
    void magnifierShowsThePatternButNeverItself();
    void stateDumpTellsWhereTheServerHoldsAWindow();

private:
    DesktopScreen desktop;
    PatternWindow pattern;
};

void X11DesktopTest::initTestCase() {
    if (QGuiApplication::platformName() != u"xcb"_s)
        QSKIP("needs an X server");
    pattern.setGeometry(desktop.geometry());
    pattern.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pattern));
    QTest::qWait(200);
}

void X11DesktopTest::grabReadsWhatTheScreenShows() {
    const QImage grabbed = x11grab::grab(QRect(100, 50, 300, 200));
    QCOMPARE(grabbed.size(), QSize(300, 200));
    for (const QPoint& p : {QPoint(0, 0), QPoint(123, 77), QPoint(299, 199)})
        QCOMPARE(grabbed.pixel(p), patternPixel(100 + p.x(), 50 + p.y()));
    // Beyond the screen's edge there is nothing: black.
    const QSize screen = desktop.geometry().size();
    const QImage edge = x11grab::grab(QRect(screen.width() - 10, 0, 20, 10));
    QCOMPARE(edge.pixel(9, 5), patternPixel(screen.width() - 1, 5));
    QCOMPARE(edge.pixel(10, 5), qRgb(0, 0, 0));
    QVERIFY(desktop.canCapture());
}

void X11DesktopTest::rawKeysAreSeenWhereverTheKeyboardIs() {
    const std::unique_ptr<KeyWatch> keys = desktop.watchKeys();
    const WatchedKey f12{Qt::Key_F12, false, Qt::NoButton};
    const WatchedKey shift{Qt::Key_Shift, false, Qt::NoButton};
    // No window of ours has the keyboard.
    QVERIFY(!QApplication::focusWidget());
    QCOMPARE(keys->poll(f12).pressed, false);

    // Pressed and released between two polls: pressed, no longer down.
    QVERIFY(xdotool({u"key"_s, u"F12"_s}));
    const KeyWatch::State tapped = waitForPress(*keys, f12);
    QVERIFY(tapped.pressed);
    QVERIFY(!tapped.down);
    QCOMPARE(keys->poll(f12).pressed, false); // the poll took it

    QVERIFY(xdotool({u"keydown"_s, u"shift"_s}));
    const KeyWatch::State held = waitForPress(*keys, shift);
    QVERIFY(held.pressed);
    QVERIFY(held.down);
    QVERIFY(keys->poll(shift).down);
    QVERIFY(xdotool({u"keyup"_s, u"shift"_s}));
    QTRY_VERIFY_WITH_TIMEOUT(!keys->poll(shift).down, 5000);
}

void X11DesktopTest::magnifierShowsThePatternButNeverItself() {
    FakeServices fakes;
    fakes.services.screen = &desktop;
    QVERIFY(xdotool({u"mousemove"_s, u"700"_s, u"450"_s}));
    QTRY_COMPARE(desktop.cursorPos(), QPoint(700, 450));

    auto* magnifier = new Magnifier(fakes.services);
    const QPointer<Magnifier> watched = magnifier;
    magnifier->show();
    QVERIFY(QTest::qWaitForWindowExposed(magnifier));
    const magnifierrules::Lens lens = magnifierrules::lensAt(desktop.geometry(), QPoint(700, 450));
    QCOMPARE(magnifier->source(), lens.source);
    QTRY_COMPARE(magnifier->geometry(), lens.window);
    magnifier->findChild<Timer*>(u"时钟1"_s)->tick();
    QTest::qWait(300);

    // On screen: every pixel of the region as a block of two by two.
    const QImage shown = x11grab::grab(lens.window);
    for (const QPoint& p :
         {QPoint(0, 0), QPoint(31, 17), QPoint(lens.source.width() - 1, lens.source.height() - 1)}) {
        const QRgb expected = patternPixel(lens.source.x() + p.x(), lens.source.y() + p.y());
        QCOMPARE(shown.pixel(p * 2), expected);
        QCOMPARE(shown.pixel(p * 2 + QPoint(1, 1)), expected);
    }
    // The region it reads is never under it.
    const QImage region = x11grab::grab(lens.source);
    QCOMPARE(region.pixel(0, 0), patternPixel(lens.source.x(), lens.source.y()));
    QCOMPARE(region.pixel(region.width() - 1, region.height() - 1),
             patternPixel(lens.source.right(), lens.source.bottom()));

    // F12 in whichever program ends it, once a tick sees it down.
    QVERIFY(xdotool({u"keydown"_s, u"F12"_s}));
    QTest::qWait(200);
    QVERIFY(xdotool({u"keyup"_s, u"F12"_s}));
    QTRY_VERIFY_WITH_TIMEOUT(!watched, 5000);
}

void X11DesktopTest::stateDumpTellsWhereTheServerHoldsAWindow() {
    QWidget window;
    window.setWindowTitle(u"别处"_s);
    window.setGeometry(100, 120, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Moved behind the toolkit's back, as a window manager that keeps a window
    // elsewhere than it asked to be; nothing here reads the news before the dump.
    QVERIFY(xdotool({u"windowmove"_s, u"--sync"_s, QString::number(window.winId()), u"340"_s, u"210"_s}));
    QCOMPARE(window.pos(), QPoint(100, 120));
    const QJsonObject entry = StateDump::describeWindow(&window);
    QCOMPARE(QRect(entry[u"x"].toInt(), entry[u"y"].toInt(), entry[u"w"].toInt(), entry[u"h"].toInt()),
             QRect(340, 210, 300, 200));
    // Without a window manager there is no frame around it.
    QCOMPARE(entry[u"frame"][u"x"].toInt(), 340);
    QCOMPARE(entry[u"frame"][u"h"].toInt(), 200);
}

QTEST_MAIN(X11DesktopTest)
#include "test_x11_desktop.moc"
