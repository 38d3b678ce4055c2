#include "pactl_volume.h"

#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

PactlVolume::PactlVolume(const QString& program, int timeoutMs) : program_(program), timeoutMs_(timeoutMs) {}

std::optional<QByteArray> PactlVolume::run(const QStringList& arguments) const {
    QProcess process;
    // The percentages are read from the text, so no translated labels.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program_, arguments);
    if (!process.waitForStarted(timeoutMs_))
        return std::nullopt;
    if (!process.waitForFinished(timeoutMs_)) {
        process.kill();
        process.waitForFinished(timeoutMs_);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

std::optional<int> PactlVolume::volume() {
    const std::optional<QByteArray> output =
        run({QStringLiteral("get-sink-volume"), QStringLiteral("@DEFAULT_SINK@")});
    if (!output)
        return std::nullopt;
    // "Volume: front-left: 32768 /  50% / -18.06 dB,   front-right: ...": the
    // first channel's percentage stands for all.
    static const QRegularExpression percent(QStringLiteral("(\\d+)%"));
    const QRegularExpressionMatch match = percent.match(QString::fromUtf8(*output));
    if (!match.hasMatch())
        return std::nullopt;
    return std::min(match.captured(1).toInt(), 100);
}

bool PactlVolume::setVolume(int percent) {
    const int level = std::clamp(percent, 0, 100);
    return run({QStringLiteral("set-sink-volume"), QStringLiteral("@DEFAULT_SINK@"),
                QString::number(level) + u'%'})
        .has_value();
}
