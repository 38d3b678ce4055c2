// GBK is the encoding of every page and file the program reads.
#include "platform/gbk.h"

#include <QTest>

class GbkTest : public QObject {
    Q_OBJECT
private slots:
    void roundTrips_data();
    void roundTrips();
    void knownBytes();
    void badBytesBecomeReplacementCharacters();
    void unencodableCharactersBecomeQuestionMarks();
};

void GbkTest::roundTrips_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("ascii") << u"257.76"_qs;
    QTest::newRow("chinese") << u"敬告：服务器数据错误！"_qs;
    QTest::newRow("symbols") << u"■ □ □ □ □"_qs;
    QTest::newRow("mixed") << u"[提醒设置]\r\n买入价低于数值=913.27"_qs;
}

void GbkTest::roundTrips() {
    QFETCH(QString, text);
    QCOMPARE(gbk::decode(gbk::encode(text)), text);
}

void GbkTest::knownBytes() {
    QCOMPARE(gbk::encode(u"工行-金行家"_qs), QByteArray("\xB9\xA4\xD0\xD0-\xBD\xF0\xD0\xD0\xBC\xD2"));
    QCOMPARE(gbk::encode(u"工行-金行家"_qs).size(), 11);
    QCOMPARE(gbk::decode(QByteArray("\xB3\xA3\xB9\xE6\xD1\xA1\xCF\xEE")), u"常规选项"_qs);
}

void GbkTest::badBytesBecomeReplacementCharacters() {
    // A lone lead byte at the end, and an invalid pair, in the middle of text.
    QCOMPARE(gbk::decode(QByteArray("12\xB9")), u"12\uFFFD"_qs);
    QCOMPARE(gbk::decode(QByteArray("a\xFF"
                                    "b")),
             u"a\uFFFDb"_qs);
}

void GbkTest::unencodableCharactersBecomeQuestionMarks() {
    QCOMPARE(gbk::encode(u"a\U0001F600b"_qs), QByteArray("a?b"));
}

QTEST_GUILESS_MAIN(GbkTest)
#include "test_gbk.moc"
