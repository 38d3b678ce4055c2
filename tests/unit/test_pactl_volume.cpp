// The system volume through pactl, against a stand-in script: what it reads
// from pactl's answer, what it asks for, and that a missing, failing or hung
// pactl reads as unreachable.
#include "platform/pactl_volume.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class PactlVolumeTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsTheFirstChannelsPercentage_data();
    void readsTheFirstChannelsPercentage();
    void setsEveryChannelOfTheDefaultOutput_data();
    void setsEveryChannelOfTheDefaultOutput();
    void unreachableWhenPactlFailsOrHangs_data();
    void unreachableWhenPactlFailsOrHangs();

private:
    // A pactl that records its arguments, prints `output` and exits with `exitCode`.
    QString standIn(const QByteArray& output, int exitCode = 0, bool hang = false);
    QString recordedArguments() const;

    std::unique_ptr<QTemporaryDir> dir;
};

void PactlVolumeTest::init() {
    dir = std::make_unique<QTemporaryDir>();
}

QString PactlVolumeTest::standIn(const QByteArray& output, int exitCode, bool hang) {
    QFile(dir->filePath(u"output"_s)).remove();
    QFile out(dir->filePath(u"output"_s));
    if (!out.open(QIODevice::WriteOnly) || out.write(output) != output.size())
        return {};
    out.close();
    const QString path = dir->filePath(u"pactl"_s);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    const QByteArray here = QFile::encodeName(dir->path());
    script.write("#!/bin/sh\n"
                 "echo \"$@\" > '" +
                 here + "/arguments'\n" + (hang ? "exec sleep 30\n" : "") + "cat '" + here + "/output'\n" +
                 "exit " + QByteArray::number(exitCode) + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString PactlVolumeTest::recordedArguments() const {
    QFile file(dir->filePath(u"arguments"_s));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

void PactlVolumeTest::readsTheFirstChannelsPercentage_data() {
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("expected"); // -1: unreachable
    QTest::newRow("stereo")
        << QByteArray("Volume: front-left: 32768 /  50% / -18.06 dB,   front-right: 36045 /  55% / "
                      "-15.58 dB\n        balance 0.10\n")
        << 50;
    QTest::newRow("mono") << QByteArray("Volume: mono: 65536 / 100% / 0.00 dB\n") << 100;
    QTest::newRow("muted to zero") << QByteArray("Volume: front-left: 0 /   0% / -inf dB\n") << 0;
    QTest::newRow("boosted past full") << QByteArray("Volume: front-left: 98304 / 150% / 10.57 dB\n") << 100;
    QTest::newRow("no percentage") << QByteArray("Volume: unknown\n") << -1;
}

void PactlVolumeTest::readsTheFirstChannelsPercentage() {
    QFETCH(QByteArray, output);
    QFETCH(int, expected);
    PactlVolume volume(standIn(output));
    QCOMPARE(volume.volume(), expected < 0 ? std::nullopt : std::optional<int>(expected));
    QCOMPARE(recordedArguments(), u"get-sink-volume @DEFAULT_SINK@"_s);
}

void PactlVolumeTest::setsEveryChannelOfTheDefaultOutput_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("asked");
    QTest::newRow("middle") << 37 << u"37%"_s;
    QTest::newRow("below 0") << -5 << u"0%"_s;
    QTest::newRow("above 100") << 130 << u"100%"_s;
}

void PactlVolumeTest::setsEveryChannelOfTheDefaultOutput() {
    QFETCH(int, percent);
    QFETCH(QString, asked);
    PactlVolume volume(standIn({}));
    QVERIFY(volume.setVolume(percent));
    QCOMPARE(recordedArguments(), u"set-sink-volume @DEFAULT_SINK@ "_s + asked);
}

void PactlVolumeTest::unreachableWhenPactlFailsOrHangs_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("no sound server") << 0;
    QTest::newRow("no pactl") << 1;
    QTest::newRow("hung") << 2;
}

void PactlVolumeTest::unreachableWhenPactlFailsOrHangs() {
    QFETCH(int, how);
    QString program;
    if (how == 0)
        program = standIn("Connection failure: Connection refused\n", 1);
    else if (how == 1)
        program = dir->filePath(u"missing/pactl"_s);
    else
        program = standIn("Volume: mono: 65536 / 100% / 0.00 dB\n", 0, true);
    PactlVolume volume(program, 300);
    QCOMPARE(volume.volume(), std::nullopt);
    QVERIFY(!volume.setVolume(50));
}

QTEST_GUILESS_MAIN(PactlVolumeTest)
#include "test_pactl_volume.moc"
