// The alert rules without windows: which prices a rule watches, when it hits,
// what the user is told, the desktop channel's quiet repeats, the log's CSV,
// the sound in force, and the built-in sounds.
#include "alerts/alert_log.h"
#include "alerts/alert_rules.h"
#include "alerts/alert_tones.h"
#include "settings/settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;
using alertrules::Rule;
using alertrules::Target;
using alertrules::Verdict;

class AlertRulesTest : public QObject {
    Q_OBJECT
private slots:
    void targetAndPrice_data();
    void targetAndPrice();
    void verdicts_data();
    void verdicts();
    void texts();
    void quietRepeats_data();
    void quietRepeats();
    void logAsCsv();
    void soundChoice_data();
    void soundChoice();
    void builtInSoundsAreDistinctPlainPcmOfAboutTwoSeconds();
};

void AlertRulesTest::targetAndPrice_data() {
    QTest::addColumn<bool>("icbc");
    QTest::addColumn<bool>("ccb");
    QTest::addColumn<bool>("boc");
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<ShownPrice>("price");
    using S = ShownPrice;
    QTest::newRow("no bank: international buy") << false << false << false << Rule::BuyBelow << S::IntlBuy;
    QTest::newRow("no bank: international sell") << false << false << false << Rule::SellAbove << S::IntlSell;
    QTest::newRow("ICBC buy") << true << false << false << Rule::BuyAbove << S::IcbcBuy;
    QTest::newRow("ICBC before CCB") << true << true << false << Rule::SellBelow << S::IcbcSell;
    QTest::newRow("ICBC before BOC") << true << false << true << Rule::BuyBelow << S::IcbcBuy;
    QTest::newRow("CCB before BOC") << false << true << true << Rule::SellAbove << S::CcbSell;
    QTest::newRow("BOC alone") << false << false << true << Rule::BuyAbove << S::BocBuy;
}

void AlertRulesTest::targetAndPrice() {
    QFETCH(bool, icbc);
    QFETCH(bool, ccb);
    QFETCH(bool, boc);
    QFETCH(Rule, rule);
    QFETCH(ShownPrice, price);
    QCOMPARE(alertrules::priceFor(alertrules::chooseTarget(icbc, ccb, boc), rule), price);
}

void AlertRulesTest::verdicts_data() {
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("threshold");
    QTest::addColumn<Verdict>("verdict");
    QTest::newRow("below, under") << Rule::BuyBelow << u"299.99"_s << u"300"_s << Verdict::Hit;
    QTest::newRow("below, equal") << Rule::BuyBelow << u"300"_s << u"300"_s << Verdict::Clear;
    QTest::newRow("7.3 is 7.30: below") << Rule::SellBelow << u"7.3"_s << u"7.30"_s << Verdict::Clear;
    QTest::newRow("7.3 is 7.30: above") << Rule::SellAbove << u"7.30"_s << u"7.3"_s << Verdict::Clear;
    QTest::newRow("equal in single precision")
        << Rule::BuyAbove << u"257.760001"_s << u"257.76"_s << Verdict::Clear;
    QTest::newRow("above, over") << Rule::BuyAbove << u"258.56"_s << u"258.55"_s << Verdict::Hit;
    QTest::newRow("above, under") << Rule::SellAbove << u"258.54"_s << u"258.55"_s << Verdict::Clear;
    QTest::newRow("no price yet") << Rule::BuyAbove << QString() << u"1"_s << Verdict::NoPrice;
    QTest::newRow("empty threshold: below never")
        << Rule::BuyBelow << u"257.76"_s << QString() << Verdict::Clear;
    QTest::newRow("empty threshold: above always")
        << Rule::SellAbove << u"0.01"_s << QString() << Verdict::Hit;
    QTest::newRow("words count as 0") << Rule::BuyAbove << u"257.76"_s << u"三百"_s << Verdict::Hit;
    QTest::newRow("leading number only") << Rule::BuyBelow << u"299"_s << u"300元"_s << Verdict::Hit;
}

void AlertRulesTest::verdicts() {
    QFETCH(Rule, rule);
    QFETCH(QString, price);
    QFETCH(QString, threshold);
    QFETCH(Verdict, verdict);
    QCOMPARE(alertrules::evaluate(rule, price, threshold), verdict);
}

void AlertRulesTest::texts() {
    QCOMPARE(alertrules::message(Target::International, Rule::BuyBelow),
             u"速度啊，国际买入价低于达到标准了！"_s);
    QCOMPARE(alertrules::message(Target::Icbc, Rule::BuyAbove), u"速度啊，工行买入价高于达到标准了！"_s);
    QCOMPARE(alertrules::message(Target::Ccb, Rule::SellBelow), u"速度啊，建行卖出价低于达到标准了！"_s);
    QCOMPARE(alertrules::message(Target::Boc, Rule::SellAbove), u"速度啊，中行卖出价高于达到标准了！"_s);

    QCOMPARE(alertrules::runningStatus(true, true), u"当前状态：声音提醒及弹窗提醒运行中..."_s);
    QCOMPARE(alertrules::runningStatus(true, false), u"当前状态：声音提醒运行中......"_s);
    QCOMPARE(alertrules::runningStatus(false, true), u"当前状态：弹窗提醒运行中......"_s);
    QCOMPARE(alertrules::runningStatus(false, false), u"未设置任何提醒"_s);
    // The desktop channel is named only when it runs alone.
    QCOMPARE(alertrules::runningStatus(false, false, true), u"当前状态：桌面通知运行中......"_s);
    QCOMPARE(alertrules::runningStatus(true, true, true), u"当前状态：声音提醒及弹窗提醒运行中..."_s);
    QCOMPARE(alertrules::runningStatus(false, true, true), u"当前状态：弹窗提醒运行中......"_s);

    // An empty path leaves two blanks in a row.
    QCOMPARE(alertrules::missingSoundMessage(QString()),
             u"音乐文件  不存在，可能已经被删除，请重新指定，要不将无声！"_s);
    QCOMPARE(alertrules::missingSoundMessage(u"/home/a/b.mp3"_s),
             u"音乐文件 /home/a/b.mp3 不存在，可能已经被删除，请重新指定，要不将无声！"_s);

    QCOMPARE(alertrules::builtInSound(3), QUrl(u"qrc:/alerts/alert-tone-3.wav"_s));
    QVERIFY(alertrules::builtInSound(0).isEmpty());
    QVERIFY(alertrules::builtInSound(4).isEmpty());
    const QList<QPair<int, int>> listened{{0, 1}, {1, 1}, {2, 2}, {3, 3}, {4, 1}, {-2, 1}};
    for (const auto& [value, sound] : listened)
        QCOMPARE(alertrules::listenedSound(value), sound);
}

void AlertRulesTest::quietRepeats_data() {
    // One rule's verdicts check by check (H hit, C clear, N no price, M a hit
    // whose note the desktop did not take, R a new start), and which checks notify.
    QTest::addColumn<QString>("verdicts");
    QTest::addColumn<QString>("notified");
    QTest::newRow("first hit notifies") << u"H"_s << u"1"_s;
    QTest::newRow("quiet while past the threshold") << u"HHHH"_s << u"1000"_s;
    QTest::newRow("crossing back re-arms") << u"HHCHH"_s << u"10010"_s;
    QTest::newRow("each crossing once") << u"CHCHCH"_s << u"010101"_s;
    QTest::newRow("no price changes nothing") << u"HNHNCNH"_s << u"1000001"_s;
    QTest::newRow("no price before the first") << u"NNH"_s << u"001"_s;
    QTest::newRow("a new start tells again") << u"HHRH"_s << u"10-1"_s;
    QTest::newRow("a note not taken is tried again") << u"MMHH"_s << u"1110"_s;
}

void AlertRulesTest::quietRepeats() {
    QFETCH(QString, verdicts);
    QFETCH(QString, notified);
    alertrules::QuietRepeats repeats;
    alertrules::QuietRepeats other;
    QString told;
    for (QChar v : verdicts) {
        if (v == u'R') {
            repeats.rearm();
            told += u'-';
            continue;
        }
        const Verdict verdict = v == u'H' || v == u'M' ? Verdict::Hit
                                : v == u'C'            ? Verdict::Clear
                                                       : Verdict::NoPrice;
        told += repeats.notifies(2, verdict) ? u'1' : u'0';
        if (v == u'M')
            repeats.missed(2);
        // Each rule has its own: another rule that holds stays armed meanwhile.
        QVERIFY(!other.notifies(1, Verdict::Clear));
    }
    QCOMPARE(told, notified);
    QVERIFY(other.notifies(1, Verdict::Hit));
}

void AlertRulesTest::logAsCsv() {
    const qint64 ms = QDateTime(QDate(2026, 12, 9), QTime(10, 0, 3)).toMSecsSinceEpoch();
    const QList<history::AlertRecord> records{
        {ms + 3200, u"桌面通知"_s, u"工行"_s, u"买入价低于"_s, u"300"_s, u"299.99"_s},
        {ms, u"声音提醒"_s, u"国际"_s, u"卖出价高于"_s, u"3,00"_s, u"258.5"_s},
    };
    // UTF-8 with a byte-order mark, newest first as given, a typed comma quoted.
    QCOMPARE(AlertLog::csvOf(records),
             QByteArray("\xEF\xBB\xBF"
                        "时间,银行,条件,设定值,价格,提醒方式\r\n"
                        "2026-12-09 10:00:06,工行,买入价低于,300,299.99,桌面通知\r\n"
                        "2026-12-09 10:00:03,国际,卖出价高于,\"3,00\",258.5,声音提醒\r\n"));
}

void AlertRulesTest::soundChoice_data() {
    QTest::addColumn<QStringList>("keys"); // pairs of key name and value in "声音提醒"
    QTest::addColumn<bool>("builtIn");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("path");
    QTest::newRow("keys absent: the file, with no path") << QStringList() << false << 0 << QString();
    QTest::newRow("built-in 3") << QStringList{u"系统声音使用"_s, u"1"_s,     u"系统声音"_s, u"3"_s,
                                               u"自定义声音"_s,   u"/a.mp3"_s}
                                << true << 3 << QString();
    QTest::newRow("number truncated")
        << QStringList{u"系统声音使用"_s, u"1.7"_s, u"系统声音"_s, u"2.9"_s} << true << 2 << QString();
    QTest::newRow("any other value picks the file")
        << QStringList{u"系统声音使用"_s, u"2"_s, u"系统声音"_s, u"1"_s, u"自定义声音"_s, u"/a.mp3"_s}
        << false << 0 << u"/a.mp3"_s;
    // "自定义声音使用" is not what decides.
    QTest::newRow("custom flag off still plays the file")
        << QStringList{u"系统声音使用"_s, u"0"_s, u"自定义声音使用"_s, u"0"_s, u"自定义声音"_s, u"/b.mp3"_s}
        << false << 0 << u"/b.mp3"_s;
}

void AlertRulesTest::soundChoice() {
    QFETCH(QStringList, keys);
    QFETCH(bool, builtIn);
    QFETCH(int, number);
    QFETCH(QString, path);
    QTemporaryDir dir;
    const QString config = dir.filePath(u"config.ini"_s);
    for (qsizetype i = 0; i + 1 < keys.size(); i += 2)
        QVERIFY(settings::writeItem(config, u"声音提醒"_s, keys[i], keys[i + 1]));
    const alertrules::SoundChoice choice = alertrules::soundChoice(settings::Snapshot::load(config));
    QCOMPARE(choice.builtIn, builtIn);
    QCOMPARE(choice.builtInNumber, number);
    QCOMPARE(choice.customPath, path);
}

void AlertRulesTest::builtInSoundsAreDistinctPlainPcmOfAboutTwoSeconds() {
    QVERIFY(alerttones::wave(0).isEmpty());
    QVERIFY(alerttones::wave(4).isEmpty());
    QList<QByteArray> waves;
    for (int number = 1; number <= 3; ++number) {
        const QByteArray wave = alerttones::wave(number);
        const auto u16 = [&wave](int at) { return qFromLittleEndian<quint16>(wave.constData() + at); };
        const auto u32 = [&wave](int at) { return qFromLittleEndian<quint32>(wave.constData() + at); };
        QVERIFY(wave.size() > 44);
        QCOMPARE(wave.left(4), "RIFF");
        QCOMPARE(u32(4), quint32(wave.size() - 8));
        QCOMPARE(wave.mid(8, 8), "WAVEfmt ");
        QCOMPARE(u16(20), quint16(1)); // PCM: Qt's WAVE reader takes nothing else
        QCOMPARE(u16(22), quint16(1)); // mono
        QCOMPARE(u16(34), quint16(16));
        QCOMPARE(wave.mid(36, 4), "data");
        QCOMPARE(u32(40), quint32(wave.size() - 44));
        const double seconds = double(u32(40)) / (u32(24) * 2);
        QVERIFY2(seconds >= 1.5 && seconds <= 2.5, qPrintable(QString::number(seconds)));

        // Heard, never clipped, and starting and ending in silence (no click).
        int peak = 0;
        const int samples = int(u32(40) / 2);
        for (int i = 0; i < samples; ++i)
            peak = std::max(peak, std::abs(int(qint16(u16(44 + 2 * i)))));
        QVERIFY2(peak > 8000 && peak < 32767, qPrintable(QString::number(peak)));
        QVERIFY(std::abs(int(qint16(u16(44)))) < 200);
        QVERIFY(std::abs(int(qint16(u16(wave.size() - 2)))) < 200);
        QVERIFY2(!waves.contains(wave), "two built-in sounds are the same");
        waves << wave;

        // The program plays the build's copy from its resources.
        QFile resource(u':' + alertrules::builtInSound(number).path());
        QVERIFY2(resource.open(QIODevice::ReadOnly), qPrintable(resource.fileName()));
        QCOMPARE(resource.readAll(), wave);
    }
}

QTEST_APPLESS_MAIN(AlertRulesTest)
#include "test_alert_rules.moc"
