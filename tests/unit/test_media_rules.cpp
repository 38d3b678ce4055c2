// The media tools' rules: the TV volume arithmetic, the reference browser's
// tab captions and links, and the magnifier's geometry and key poll.
#include "media/magnifier_rules.h"
#include "media/reference_rules.h"
#include "media/tv_rules.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace magnifierrules;

Q_DECLARE_METATYPE(QList<WatchedKey>)

namespace {

WatchedKey key(Qt::Key k) {
    return {k, false, Qt::NoButton};
}
const WatchedKey kF12 = key(Qt::Key_F12);
const WatchedKey kShift = key(Qt::Key_Shift);
const WatchedKey kRightButton{Qt::Key_unknown, false, Qt::RightButton};

// A keyboard as GetAsyncKeyState reports it: down now, and pressed since the
// key was last polled.
struct Keyboard {
    QList<WatchedKey> down;
    QList<WatchedKey> pressed;
    QString poll() {
        return pressedKeyName([this](const WatchedKey& k) {
            return KeyWatch::State{down.contains(k), pressed.removeAll(k) > 0};
        });
    }
};

} // namespace

class MediaRulesTest : public QObject {
    Q_OBJECT
private slots:
    void volumeFollowsTheSlider_data();
    void volumeFollowsTheSlider();
    void tabCaptionKeepsCharactersWhole_data();
    void tabCaptionKeepsCharactersWhole();
    void treeLinksAndAddresses();
    void fullScreenSourceAtTheCorners_data();
    void fullScreenSourceAtTheCorners();
    void lensNeverCoversWhatItShows_data();
    void lensNeverCoversWhatItShows();
    void keyPollFindsTheFirstNewPress_data();
    void keyPollFindsTheFirstNewPress();
    void maskedF12CountsLaterOnlyWhileStillDown();
};

void MediaRulesTest::volumeFollowsTheSlider_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("top, loudest") << 1 << 64879 << 99 << u"100"_s;
    QTest::newRow("middle") << 50 << 32767 << 50 << u"51"_s;
    QTest::newRow("one step above the bottom") << 99 << 655 << 1 << u"2"_s;
    QTest::newRow("bottom, silent") << 100 << 0 << 0 << u"1"_s;
}

void MediaRulesTest::volumeFollowsTheSlider() {
    QFETCH(int, position);
    QFETCH(int, level);
    QFETCH(int, percent);
    QFETCH(QString, tooltip);
    QCOMPARE(tvrules::volumeLevel(position), level);
    QCOMPARE(tvrules::volumePercent(position), percent);
    QCOMPARE(tvrules::volumeTooltip(position), tooltip);
}

void MediaRulesTest::tabCaptionKeepsCharactersWhole_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("short") << u"新浪黄金"_s << u"新浪黄金"_s;
    QTest::newRow("ascii") << u"abcdefghijklmnopqrst"_s << u"abcdefghijklmno"_s;
    QTest::newRow("a character starting at byte 15 stays whole")
        << u"abcdefghijklmn中文标题"_s << u"abcdefghijklmn中"_s;
    QTest::newRow("all two-byte") << u"今日全球经济数据一览"_s << u"今日全球经济数据"_s;
    // The 15th byte ends a character here: the next one is not cut in half.
    QTest::newRow("a character ending at byte 15") << u"a今日全球经济数据"_s << u"a今日全球经济数"_s;
    QTest::newRow("empty") << QString() << QString();
}

void MediaRulesTest::tabCaptionKeepsCharactersWhole() {
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QCOMPARE(referencerules::tabCaption(title), caption);
}

void MediaRulesTest::treeLinksAndAddresses() {
    const QList<referencerules::Link>& links = referencerules::links();
    QCOMPARE(links.size(), 20);
    QStringList groups;
    for (const referencerules::Link& link : links) {
        if (link.hostKey.isEmpty())
            groups << link.text;
    }
    QCOMPARE(groups, (QStringList{u"重要数据"_s, u"黄金资询"_s, u"银行"_s}));
    QCOMPARE(links[referencerules::kStartLine].text, u" 今日数据"_s);
    QCOMPARE(links[5].hostKey, links[6].hostKey);
    QCOMPARE(links[7].hostKey, u"chartImageHost"_s);
    // The GBK search key survives as it is, and a host may carry a path.
    QCOMPARE(
        referencerules::pageUrl(u"127.0.0.1:8/ref/search/"_s, links[5].path).toString(QUrl::FullyEncoded),
        u"http://127.0.0.1:8/ref/search/search/searchZiXun.php?searchKey=COMEX%C6%DA%BD%F0"_s);
    QVERIFY(referencerules::pageUrl(u"  "_s, u"/"_s).isEmpty());
}

void MediaRulesTest::fullScreenSourceAtTheCorners_data() {
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<QRect>("source");
    QTest::newRow("top left") << QPoint(0, 0) << QRect(0, 0, 1920, 1080);
    QTest::newRow("bottom right") << QPoint(1919, 1079) << QRect(959, 539, 1920, 1080);
    QTest::newRow("middle") << QPoint(960, 540) << QRect(480, 270, 1920, 1080);
}

void MediaRulesTest::fullScreenSourceAtTheCorners() {
    QFETCH(QPoint, cursor);
    QFETCH(QRect, source);
    QCOMPARE(fullScreenSource({1920, 1080}, cursor), source);
    // What the screen-sized window shows of it, doubled.
    const QRect visible = visibleSource(source);
    QCOMPARE(visible.topLeft(), source.topLeft());
    QCOMPARE(visible.size(), QSize(960, 540));
    // The point under the mouse stays under it.
    QVERIFY(qAbs((cursor.x() - visible.x()) * kZoom - cursor.x()) <= 1);
}

void MediaRulesTest::lensNeverCoversWhatItShows_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QPoint>("cursor");
    const QRect wide(0, 0, 1920, 1080);
    QTest::newRow("top left") << wide << QPoint(0, 0);
    QTest::newRow("bottom right") << wide << QPoint(1919, 1079);
    QTest::newRow("top right") << wide << QPoint(1919, 0);
    QTest::newRow("bottom left") << wide << QPoint(0, 1079);
    QTest::newRow("middle") << wide << QPoint(960, 540);
    QTest::newRow("right of middle") << wide << QPoint(1300, 500);
    QTest::newRow("small screen") << QRect(0, 0, 640, 480) << QPoint(320, 240);
    QTest::newRow("screen off the origin") << QRect(1920, 0, 1280, 1024) << QPoint(3199, 1023);
}

void MediaRulesTest::lensNeverCoversWhatItShows() {
    QFETCH(QRect, screen);
    QFETCH(QPoint, cursor);
    const Lens lens = lensAt(screen, cursor);
    QVERIFY(!lens.window.intersects(lens.source));
    QVERIFY(screen.contains(lens.window));
    QVERIFY(screen.contains(lens.source));
    QVERIFY(lens.source.contains(cursor));
    QCOMPARE(lens.window.size(), lens.source.size() * kZoom);
    QVERIFY(lens.source.width() <= kLensSource.width() && lens.source.height() <= kLensSource.height());
}

void MediaRulesTest::keyPollFindsTheFirstNewPress_data() {
    QTest::addColumn<QList<WatchedKey>>("down");
    QTest::addColumn<QList<WatchedKey>>("pressed");
    QTest::addColumn<QString>("name");
    using Keys = QList<WatchedKey>;
    QTest::newRow("nothing") << Keys{} << Keys{} << QString();
    QTest::newRow("F12") << Keys{kF12} << Keys{kF12} << u"[F12]"_s;
    QTest::newRow("F12 with Shift newly pressed") << Keys{kF12, kShift} << Keys{kF12, kShift} << u"[SHIFT]"_s;
    QTest::newRow("F12 with Shift held") << Keys{kF12, kShift} << Keys{kF12} << u"[F12]"_s;
    QTest::newRow("F12 with the right button newly pressed")
        << Keys{kF12, kRightButton} << Keys{kF12, kRightButton} << u"[RBUTTON]"_s;
    QTest::newRow("F12 with a letter newly pressed")
        << Keys{kF12, key(Qt::Key_Q)} << Keys{kF12, key(Qt::Key_Q)} << u"Q"_s;
    QTest::newRow("F12 held since before") << Keys{kF12} << Keys{} << QString();
    QTest::newRow("F12 pressed and released") << Keys{} << Keys{kF12} << QString();
    QTest::newRow("F11") << Keys{key(Qt::Key_F11)} << Keys{key(Qt::Key_F11)} << u"[F11]"_s;
    QTest::newRow("a key after F12 does not mask it")
        << Keys{kF12, key(Qt::Key_NumLock)} << Keys{kF12, key(Qt::Key_NumLock)} << u"[F12]"_s;
    QTest::newRow("number pad") << Keys{WatchedKey{Qt::Key_5, true, Qt::NoButton}, kF12}
                                << Keys{WatchedKey{Qt::Key_5, true, Qt::NoButton}, kF12} << u"[NUM5]"_s;
}

void MediaRulesTest::keyPollFindsTheFirstNewPress() {
    QFETCH(QList<WatchedKey>, down);
    QFETCH(QList<WatchedKey>, pressed);
    QFETCH(QString, name);
    Keyboard keyboard{down, pressed};
    QCOMPARE(keyboard.poll(), name);
}

void MediaRulesTest::maskedF12CountsLaterOnlyWhileStillDown() {
    // Shift and F12 together: this poll names Shift, and F12's press waits.
    Keyboard held{{kF12, kShift}, {kF12, kShift}};
    QCOMPARE(held.poll(), u"[SHIFT]"_s);
    QCOMPARE(held.poll(), kCloseKey);
    QCOMPARE(held.poll(), QString()); // its press was taken

    Keyboard released{{kF12, kShift}, {kF12, kShift}};
    QCOMPARE(released.poll(), u"[SHIFT]"_s);
    released.down.removeAll(kF12);
    QCOMPARE(released.poll(), QString());
}

QTEST_GUILESS_MAIN(MediaRulesTest)
#include "test_media_rules.moc"
