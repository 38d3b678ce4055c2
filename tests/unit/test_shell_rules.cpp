// The shell's shared rules: text comparison, truncation, the program
// directory and its endpoint list, and the splash's fade and indicator
// sequences.
#include "core/app_dir.h"
#include "core/endpoints.h"
#include "app/splash_rules.h"
#include "core/text_rules.h"
#include "platform/gbk.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cfenv>
#include <limits>

class ShellRulesTest : public QObject {
    Q_OBJECT
private slots:
    void textCompareOrders_data();
    void textCompareOrders();
    void textCompareIsBytewiseOnGbk();
    void toIntTruncTruncatesTowardZero_data();
    void toIntTruncTruncatesTowardZero();
    void toIntTruncIgnoresRoundingMode();
    void appDirEndsInOneSeparator_data();
    void appDirEndsInOneSeparator();
    void oversizedEndpointsFileReadsEmpty_data();
    void oversizedEndpointsFileReadsEmpty();
    void fadeReachesOpaqueWithoutWrapping();
    void indicatorCyclesAndKeepsUnknownCaptions();
};

void ShellRulesTest::textCompareOrders_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");
    QTest::newRow("null equals empty") << QString() << QString(u""_qs) << 0;
    QTest::newRow("null below text") << QString() << u"a"_qs << -1;
    QTest::newRow("text above null") << u"a"_qs << QString() << 1;
    QTest::newRow("equal") << u"开始"_qs << u"开始"_qs << 0;
    QTest::newRow("prefix is lower") << u"abc"_qs << u"abcd"_qs << -1;
    QTest::newRow("first difference decides") << u"abd"_qs << u"abcz"_qs << 1;
    QTest::newRow("stops at zero") << QString::fromLatin1("ab\0x", 4) << u"ab"_qs << 0;
}

void ShellRulesTest::textCompareOrders() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(textCompare(a, b), expected);
}

void ShellRulesTest::textCompareIsBytewiseOnGbk() {
    // "■" is A1 F6 in GBK, "□" is A1 F5: byte order, not code point order
    // (U+25A0 < U+25A1), decides.
    QCOMPARE(textCompare(u"■"_qs, u"□"_qs), 1);
    // Bytes above 0x7F compare as unsigned: any GBK character sorts after ASCII.
    QCOMPARE(textCompare(u"z"_qs, u"工"_qs), -1);
    QCOMPARE(textCompare(QByteArray("\xB9\xA4"), QByteArray("\x7F")), 1);
}

void ShellRulesTest::toIntTruncTruncatesTowardZero_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("positive fraction") << 2.99 << qint64(2);
    QTest::newRow("negative fraction") << -2.99 << qint64(-2);
    QTest::newRow("half") << 0.5 << qint64(0);
    QTest::newRow("negative half") << -0.5 << qint64(0);
    QTest::newRow("whole") << 490.0 << qint64(490);
    QTest::newRow("large") << 4294967296.7 << qint64(4294967296);
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
    QTest::newRow("beyond range") << 1e300 << std::numeric_limits<qint64>::max();
    QTest::newRow("below range") << -1e300 << std::numeric_limits<qint64>::min();
}

void ShellRulesTest::toIntTruncTruncatesTowardZero() {
    QFETCH(double, value);
    QFETCH(qint64, expected);
    QCOMPARE(toIntTrunc(value), expected);
}

void ShellRulesTest::toIntTruncIgnoresRoundingMode() {
    const int saved = std::fegetround();
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TONEAREST}) {
        std::fesetround(mode);
        volatile double up = 7.6;
        volatile double down = -7.6;
        QCOMPARE(toIntTrunc(up), qint64(7));
        QCOMPARE(toIntTrunc(down), qint64(-7));
    }
    std::fesetround(saved);
}

void ShellRulesTest::appDirEndsInOneSeparator_data() {
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << u"/opt/aurivex"_qs << u"/opt/aurivex/"_qs;
    QTest::newRow("already ends in separator") << u"/opt/aurivex/"_qs << u"/opt/aurivex/"_qs;
    QTest::newRow("root") << u"/"_qs << u"/"_qs;
}

void ShellRulesTest::appDirEndsInOneSeparator() {
    QFETCH(QString, dir);
    QFETCH(QString, expected);
    appdir::set(dir);
    QCOMPARE(appDir(), expected);
    QCOMPARE(appPath(u"config.ini"_qs), expected + u"config.ini"_qs);
}

void ShellRulesTest::oversizedEndpointsFileReadsEmpty_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("host");
    QTest::newRow("at the limit") << endpoints::kMaxFileBytes << u"127.0.0.1:18090"_qs;
    QTest::newRow("one byte over") << endpoints::kMaxFileBytes + 1 << QString();
}

void ShellRulesTest::oversizedEndpointsFileReadsEmpty() {
    QFETCH(qint64, size);
    QFETCH(QString, host);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"endpoints.ini"_qs);
    QByteArray text = "[endpoints]\nquotePortalHost = 127.0.0.1:18090 \nproductPageUrl=http://a/\n;";
    // One long comment line brings the file to its size.
    text += QByteArray(size - text.size() - 1, 'x') + '\n';
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == size);
    file.close();

    const endpoints::Endpoints read = endpoints::Endpoints::load(path);
    QCOMPARE(read.value(u"quotePortalHost"_qs), host);
    QCOMPARE(read.value(u"productPageUrl"_qs).isEmpty(), host.isEmpty());
}

void ShellRulesTest::fadeReachesOpaqueWithoutWrapping() {
    // The counter steps 0, 2, ... 98: 50 ticks, the main window on the last.
    QList<int> applied;
    int counter = 0;
    int ticks = 0;
    while (counter < splash::kCounterEnd) {
        applied << splash::fadeOpacity(counter);
        counter += splash::kCounterStep;
        ++ticks;
    }
    QCOMPARE(ticks, 50);
    QCOMPARE(applied.first(), 0);
    QCOMPARE(applied.at(25), 250); // the 26th tick
    QCOMPARE(applied.at(26), 255); // 260 would overshoot
    QCOMPARE(applied.last(), 255);
    for (int i = 1; i < applied.size(); ++i)
        QVERIFY2(applied.at(i) >= applied.at(i - 1), "the splash must never fade back");
}

void ShellRulesTest::indicatorCyclesAndKeepsUnknownCaptions() {
    const QString start = u"■ □ □ □ □"_qs;
    QStringList seen{start};
    QString caption = start;
    for (int i = 0; i < 5; ++i) {
        caption = splash::nextIndicator(caption);
        seen << caption;
    }
    QCOMPARE(seen, (QStringList{u"■ □ □ □ □"_qs, u"□ ■ □ □ □"_qs, u"□ □ ■ □ □"_qs, u"□ □ □ ■ □"_qs,
                                u"□ □ □ □ ■"_qs, u"■ □ □ □ □"_qs}));
    QCOMPARE(splash::nextIndicator(u"■□□□□"_qs), u"■□□□□"_qs);
    QCOMPARE(splash::nextIndicator(QString()), QString());
}

QTEST_GUILESS_MAIN(ShellRulesTest)
#include "test_shell_rules.moc"
