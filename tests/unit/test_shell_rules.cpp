// The shell's shared rules: text comparison, truncation, the program
// directory and its endpoint list with the run's own demo portal, and the
// splash's fade and indicator sequences.
#include "app/splash_rules.h"
#include "core/app_dir.h"
#include "core/demo_feed.h"
#include "core/endpoints.h"
#include "core/text_rules.h"
#include "platform/gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    void locatesTheProgramDirectories_data();
    void locatesTheProgramDirectories();
    void installedFilesAreFoundWhereTheyLie();
    void oversizedEndpointsFileReadsEmpty_data();
    void oversizedEndpointsFileReadsEmpty();
    void endpointValuesAreReadAsWritten_data();
    void endpointValuesAreReadAsWritten();
    void demoAddressGivesWayToTheRunsPortal_data();
    void demoAddressGivesWayToTheRunsPortal();
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

namespace {

bool touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

// Paths are relative to a temporary root; "~" is the home directory.
void ShellRulesTest::locatesTheProgramDirectories_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("homeOverride");
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("userDir");
    QTest::addColumn<QString>("sharedDir");
    QTest::addColumn<QString>("program");
    const QStringList built{u"build/Aurivex/Aurivex"_qs, u"build/Aurivex/config.ini"_qs};
    const QStringList installed{u"usr/lib/aurivex/Aurivex"_qs, u"usr/share/aurivex/CambridgeBlue.she"_qs,
                                u"usr/bin/aurivex"_qs};
    QTest::newRow("build tree") << built << u"build/Aurivex"_qs << QString() << QString()
                                << u"build/Aurivex/"_qs << u"build/Aurivex/"_qs
                                << u"build/Aurivex/Aurivex"_qs;
    QTest::newRow("build tree, own home")
        << built << u"build/Aurivex"_qs << u"profile"_qs << QString() << u"profile/"_qs
        << u"build/Aurivex/"_qs << u"build/Aurivex/Aurivex"_qs;
    QTest::newRow("installed") << installed << u"usr/lib/aurivex"_qs << QString() << QString()
                               << u"~/.local/share/Aurivex/"_qs << u"usr/share/aurivex/"_qs
                               << u"usr/bin/aurivex"_qs;
    QTest::newRow("installed, XDG_DATA_HOME")
        << installed << u"usr/lib/aurivex"_qs << QString() << u"data"_qs << u"data/Aurivex/"_qs
        << u"usr/share/aurivex/"_qs << u"usr/bin/aurivex"_qs;
    QTest::newRow("installed, relative XDG_DATA_HOME ignored")
        << installed << u"usr/lib/aurivex"_qs << QString() << u"relative/data"_qs
        << u"~/.local/share/Aurivex/"_qs << u"usr/share/aurivex/"_qs << u"usr/bin/aurivex"_qs;
    QTest::newRow("installed, AURIVEX_HOME wins")
        << installed << u"usr/lib/aurivex"_qs << u"profile"_qs << u"data"_qs << u"profile/"_qs
        << u"usr/share/aurivex/"_qs << u"usr/bin/aurivex"_qs;
}

void ShellRulesTest::locatesTheProgramDirectories() {
    QFETCH(QStringList, files);
    QFETCH(QString, executableDir);
    QFETCH(QString, homeOverride);
    QFETCH(QString, dataHome);
    QTemporaryDir root;
    for (const QString& file : files)
        QVERIFY(touch(root.filePath(file)));
    const QString home = root.filePath(u"home"_qs);
    auto absolute = [&](const QString& path) {
        if (path.startsWith(u'~'))
            return home + path.mid(1);
        return root.path() + u'/' + path;
    };
    const QString data =
        dataHome.startsWith(u"relative"_qs) || dataHome.isEmpty() ? dataHome : absolute(dataHome);
    const appdir::Layout layout = appdir::locate(
        absolute(executableDir), homeOverride.isEmpty() ? QString() : absolute(homeOverride), data, home);
    QFETCH(QString, userDir);
    QFETCH(QString, sharedDir);
    QFETCH(QString, program);
    QCOMPARE(layout.userDir, absolute(userDir));
    QCOMPARE(layout.sharedDir, absolute(sharedDir));
    QCOMPARE(layout.program, absolute(program));
    // Only a directory AURIVEX_HOME chose is handed on to the login start.
    QCOMPARE(layout.homeOverride, homeOverride.isEmpty() ? QString() : layout.userDir);
}

// The user's copy of a shared file wins; the user's own files are never taken
// from the shared directory, where a default copy must not be written to.
void ShellRulesTest::installedFilesAreFoundWhereTheyLie() {
    QTemporaryDir root;
    const QString user = root.filePath(u"user/"_qs);
    const QString shared = root.filePath(u"shared/"_qs);
    for (const QString& file :
         {u"skin.she"_qs, u"help/guide.html"_qs, u"config.ini"_qs, u"DataBase/news.edb"_qs})
        QVERIFY(touch(shared + file));
    QVERIFY(touch(user + u"own.she"_qs));
    QVERIFY(touch(shared + u"own.she"_qs));
    appdir::set(appdir::Layout{user, shared, QString(), QString()});
    QCOMPARE(appDir(), user);
    QCOMPARE(appPath(u"skin.she"_qs), shared + u"skin.she"_qs);
    QCOMPARE(appPath(u"help/guide.html"_qs), shared + u"help/guide.html"_qs);
    QCOMPARE(appPath(u"own.she"_qs), user + u"own.she"_qs);
    QCOMPARE(appPath(u"missing.wav"_qs), user + u"missing.wav"_qs);
    QCOMPARE(appPath(u"config.ini"_qs), user + u"config.ini"_qs);
    QCOMPARE(appPath(u"endpoints.ini"_qs), user + u"endpoints.ini"_qs);
    QCOMPARE(appPath(u"DataBase/news.edb"_qs), user + u"DataBase/news.edb"_qs);
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

void ShellRulesTest::endpointValuesAreReadAsWritten_data() {
    QTest::addColumn<QByteArray>("lines"); // below "[endpoints]"
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("unusable");
    QTest::newRow("semicolon in the path")
        << QByteArray("productPageUrl=http://host/upgrade;jsessionid=AB12?x=1") << u"productPageUrl"_qs
        << u"http://host/upgrade;jsessionid=AB12?x=1"_qs << QStringList();
    QTest::newRow("commas in the query")
        << QByteArray("tvStartStream=http://h/live.m3u8?codecs=avc1,mp4a&a=1,2") << u"tvStartStream"_qs
        << u"http://h/live.m3u8?codecs=avc1,mp4a&a=1,2"_qs << QStringList();
    QTest::newRow("host, port and path with both")
        << QByteArray("\t referenceForexHost =  127.0.0.1:18090/ref;x,y \r") << u"referenceForexHost"_qs
        << u"127.0.0.1:18090/ref;x,y"_qs << QStringList();
    QTest::newRow("quoted by an older version")
        << QByteArray("productPageUrl=\"http://a/b;c,d\"") << u"productPageUrl"_qs << u"http://a/b;c,d"_qs
        << QStringList();
    QTest::newRow("later line wins, comments and other sections pass")
        << QByteArray("newsHost=a.example\n; newsHost=b.example\n[other]\nnewsHost=c.example\n[endpoints]\n"
                      "newsHost=d.example:81\n# newsHost=e.example")
        << u"newsHost"_qs << u"d.example:81"_qs << QStringList();
    QTest::newRow("byte order marks before a key")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF newsHost=a.example") << u"newsHost"_qs
        << u"a.example"_qs << QStringList();
    // Words, no scheme, another scheme, a full address where a host belongs, a blank in a host.
    QTest::newRow("not addresses")
        << QByteArray("productPageUrl=upgrade page\nmt4DownloadUrl=www.example.com/mt4\n"
                      "tvChannel1Stream=file:///etc/passwd\nnewsHost=http://news.example\n"
                      "quotePortalHost=quotes example\nconverterHost=ok.example")
        << u"productPageUrl"_qs << u""_qs
        << QStringList{u"productPageUrl"_qs, u"mt4DownloadUrl"_qs, u"tvChannel1Stream"_qs, u"newsHost"_qs,
                       u"quotePortalHost"_qs};
}

void ShellRulesTest::endpointValuesAreReadAsWritten() {
    QFETCH(QByteArray, lines);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QStringList, unusable);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"endpoints.ini"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("; where the program's outside endpoints live\n[endpoints]\n" + lines + '\n');
    file.close();
    const endpoints::Endpoints read = endpoints::Endpoints::load(path);
    QCOMPARE(read.value(key), value);
    QCOMPARE(read.unusableKeys(), unusable);
}

void ShellRulesTest::demoAddressGivesWayToTheRunsPortal_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("used"); // with the run's portal on 127.0.0.1:40000
    QTest::newRow("host") << u"127.0.0.1:18090"_qs << u"127.0.0.1:40000"_qs;
    QTest::newRow("host and path") << u"127.0.0.1:18090/ref/forex"_qs << u"127.0.0.1:40000/ref/forex"_qs;
    QTest::newRow("address") << u"http://127.0.0.1:18090/CBN.m3u8"_qs
                             << u"http://127.0.0.1:40000/CBN.m3u8"_qs;
    QTest::newRow("query") << u"http://127.0.0.1:18090?x=1"_qs << u"http://127.0.0.1:40000?x=1"_qs;
    QTest::newRow("other port") << u"127.0.0.1:1809"_qs << u"127.0.0.1:1809"_qs;
    QTest::newRow("in a path") << u"http://example.com/127.0.0.1:18090"_qs
                               << u"http://example.com/127.0.0.1:18090"_qs;
    QTest::newRow("other host") << u"https://www.boc.cn/"_qs << u"https://www.boc.cn/"_qs;
}

void ShellRulesTest::demoAddressGivesWayToTheRunsPortal() {
    QFETCH(QString, written);
    QFETCH(QString, used);
    if (demofeed::defaultAddress() != u"127.0.0.1:18090"_qs)
        QSKIP("the rows name the default demo address");
    const bool namesDemo = used != written;
    // A longer port is another address (and no port endpoints.ini accepts).
    QVERIFY(!demofeed::names(u"127.0.0.1:180901"_qs, demofeed::defaultAddress()));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"endpoints.ini"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // A host where a host belongs, a full address where one does.
    const QString key = written.contains(u"://"_qs) ? u"tvStartStream"_qs : u"quotePortalHost"_qs;
    file.write("[endpoints]\n" + key.toUtf8() + '=' + written.toUtf8() + "\n");
    file.close();

    const endpoints::Endpoints read = endpoints::Endpoints::load(path);
    QCOMPARE(read.names(demofeed::defaultAddress()), namesDemo);
    QCOMPARE(read.value(key), written);
    QCOMPARE(demofeed::isDemo(written), namesDemo);
    demofeed::redirectTo(u"127.0.0.1:40000"_qs);
    QCOMPARE(read.value(key), used);
    QCOMPARE(demofeed::isDemo(read.value(key)), namesDemo);
    demofeed::redirectTo(QString());
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
