// The splash window: its design, the fade-in, the indicator and the hand-over
// to the main window.
#include "app/splash_window.h"
#include "platform/timer.h"
#include "support/fake_services.h"
#include "ui/fonts.h"
#include "ui/window_alpha.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QTest>

class SplashWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutions(); }
    void showsItsDesign();
    void fadesInAndHandsOverOnTheFiftiethTick();
    void indicatorAdvancesEveryTick();
    void refusesToBeClosedWhileFading();
    void centresOnTheWholePrimaryScreen();

private:
    FakeServices fakes;
    static Timer* timer(QWidget* w, const QString& name) { return w->findChild<Timer*>(name); }
    static QLabel* label(QWidget* w, const QString& name) { return w->findChild<QLabel*>(name); }
};

void SplashWindowTest::showsItsDesign() {
    SplashWindow splash(fakes.services, {});
    QCOMPARE(splash.windowTitle(), u"欢迎使用Aurivex"_qs);
    QCOMPARE(splash.size(), QSize(380, 200));
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));

    struct Expected {
        QString name, text;
        QRect rect;
    };
    const QList<Expected> labels = {
        {u"透明标签_版本"_qs, u"3.0"_qs, {325, 145, 40, 20}},
        {u"标签_动画"_qs, u"■ □ □ □ □"_qs, {282, 177, 88, 16}},
        {u"标签"_qs, u"正在进行身份验证并登录 请稍侯..."_qs, {66, 176, 200, 16}},
    };
    for (const Expected& e : labels) {
        QLabel* l = label(&splash, e.name);
        QVERIFY2(l, qPrintable(e.name));
        QCOMPARE(l->text(), e.text);
        QCOMPARE(l->geometry(), e.rect);
    }
    QCOMPARE(label(&splash, u"透明标签_版本"_qs)->font().family(), u"宋体"_qs);
    QCOMPARE(timer(&splash, u"时钟_窗口透明渐增"_qs)->interval(), 25);
    QCOMPARE(timer(&splash, u"时钟_状态"_qs)->interval(), 500);
    QCOMPARE(windowAlpha(&splash), 0);
}

void SplashWindowTest::fadesInAndHandsOverOnTheFiftiethTick() {
    int opened = 0;
    bool splashVisibleWhileOpening = false;
    QPointer<SplashWindow> splash;
    splash = new SplashWindow(fakes.services, [&] {
        ++opened;
        splashVisibleWhileOpening = splash && splash->isVisible();
    });
    splash->show();
    Timer* fade = timer(splash, u"时钟_窗口透明渐增"_qs);
    // Stop the real timer so that only our ticks count.
    const auto drive = [&](int ticks) {
        for (int i = 0; i < ticks; ++i)
            fade->tick();
    };
    fade->setInterval(0);
    drive(1);
    QCOMPARE(windowAlpha(splash), 0);
    drive(25);
    QCOMPARE(windowAlpha(splash), 250);
    drive(23);
    QCOMPARE(opened, 0);
    QCOMPARE(windowAlpha(splash), 255);
    drive(1);
    QCOMPARE(opened, 1);
    QVERIFY(splashVisibleWhileOpening);
    QVERIFY(splash); // destroyed only after the main window's start-up work
    QCOMPARE(fade->interval(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!splash);
}

void SplashWindowTest::indicatorAdvancesEveryTick() {
    SplashWindow splash(fakes.services, {});
    Timer* indicator = timer(&splash, u"时钟_状态"_qs);
    QLabel* animation = label(&splash, u"标签_动画"_qs);
    indicator->tick();
    QCOMPARE(animation->text(), u"□ ■ □ □ □"_qs);
    for (int i = 0; i < 4; ++i)
        indicator->tick();
    QCOMPARE(animation->text(), u"■ □ □ □ □"_qs);
}

void SplashWindowTest::refusesToBeClosedWhileFading() {
    SplashWindow splash(fakes.services, {});
    splash.show();
    QVERIFY(!splash.close());
    QVERIFY(splash.isVisible());
}

void SplashWindowTest::centresOnTheWholePrimaryScreen() {
    // A primary screen right of another: the panel at its bottom does not count.
    fakes.screen.screens = {QRect(1280, 0, 1600, 900), QRect(0, 0, 1280, 1024)};
    SplashWindow splash(fakes.services, {});
    QCOMPARE(splash.pos(), QPoint(1280 + (1600 - 380) / 2, (900 - 200) / 2));
}

QTEST_MAIN(SplashWindowTest)
#include "test_splash_window.moc"
