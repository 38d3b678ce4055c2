// The TV player and sounds as the program has them, from the media
// framework's module, silently: an unreachable stream, a missing sound file
// and the picture's own mouse and key handling. Nothing here reaches a
// loudspeaker.
#include "platform/widgets/module_media.h"
#include "platform/widgets/modules.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

class QtMediaTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unreachableStreamFailsOnEveryPlay();
    void pictureLeavesFullScreenByItself();
    void missingSoundFileIsNotPlaying();
    void builtInSoundPlaysOrSaysItCannot();

private:
    static QUrl closedPort();
};

void QtMediaTest::initTestCase() {
    modules::setDirectory(QStringLiteral(AURIVEX_PROGRAM_DIR));
    // As the program does: the backend that survives a machine without sound.
    modules::prepareMedia();
    QVERIFY(qEnvironmentVariableIsSet("QT_MEDIA_BACKEND"));
}

QUrl QtMediaTest::closedPort() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost))
        return {};
    return QUrl(u"http://127.0.0.1:%1/live"_s.arg(server.serverPort()));
}

void QtMediaTest::unreachableStreamFailsOnEveryPlay() {
    QWidget panel;
    ModuleMediaPlayer player;
    QWidget* picture = player.createVideoWidget(&panel);
    QCOMPARE(picture->parent(), &panel);
    const QUrl stream = closedPort();
    player.setSource(stream);
    QCOMPARE(player.source(), stream);
    QCOMPARE(player.status(), MediaPlayer::Status::Stopped);
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.status(), MediaPlayer::Status::Error, 10000);
    player.stop();
    QCOMPARE(player.status(), MediaPlayer::Status::Stopped);
    // A failed GStreamer player played again would claim to play.
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.status(), MediaPlayer::Status::Error, 10000);
    QCOMPARE(player.createVideoWidget(&panel), picture);
}

void QtMediaTest::pictureLeavesFullScreenByItself() {
    QWidget panel;
    panel.resize(260, 228);
    ModuleMediaPlayer player;
    QWidget* picture = player.createVideoWidget(&panel);
    picture->setGeometry(10, 25, 248, 180);
    panel.show();
    QSignalSpy doubleClicks(&player, &MediaPlayer::doubleClicked);
    QTest::mouseDClick(picture, Qt::LeftButton);
    QCOMPARE(doubleClicks.count(), 1);

    player.setFullScreen(true);
    QVERIFY(player.isFullScreen());
    QTest::mouseDClick(picture, Qt::LeftButton);
    QVERIFY(!player.isFullScreen());
    QCOMPARE(doubleClicks.count(), 1);
    // Back in its panel, in its place.
    QCOMPARE(picture->parent(), &panel);
    QCOMPARE(picture->geometry(), QRect(10, 25, 248, 180));

    player.setFullScreen(true);
    QTest::keyClick(picture, Qt::Key_Escape);
    QVERIFY(!player.isFullScreen());
}

void QtMediaTest::missingSoundFileIsNotPlaying() {
    ModuleAudio audio;
    audio.playFile(u"/nonexistent/alarm.mp3"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!audio.isFilePlaying(), 10000);
    audio.stop();
    QVERIFY(!audio.isFilePlaying());
}

void QtMediaTest::builtInSoundPlaysOrSaysItCannot() {
    ModuleAudio audio;
    const bool device = !QMediaDevices::defaultAudioOutput().isNull();
    QCOMPARE(audio.playWave(QUrl(u"qrc:/alerts/alert-tone-1.wav"_s)), device);
    QTest::qWait(100);
    // Stop-then-play, as every alert tick does.
    QCOMPARE(audio.playWave(QUrl(u"qrc:/alerts/alert-tone-2.wav"_s)), device);
    QCOMPARE(audio.playWave(QUrl(u"qrc:/alerts/alert-tone-2.wav"_s)), device);
    QCOMPARE(audio.playFile(u"/nonexistent/alarm.mp3"_s), device);
    audio.stop();
    QVERIFY(!audio.isFilePlaying());
}

QTEST_MAIN(QtMediaTest)
#include "test_qt_media.moc"
