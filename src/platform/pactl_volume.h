#pragma once

#include "system_volume.h"

#include <QString>
#include <QStringList>

// The default output's volume through PulseAudio's `pactl`, which PipeWire
// answers as well. Each call runs it once and waits a bounded time; a missing
// program, a missing sound server or a hung call all read as unreachable.
class PactlVolume : public SystemVolume {
public:
    static constexpr int kDefaultTimeoutMs = 1500;

    explicit PactlVolume(const QString& program = QStringLiteral("pactl"), int timeoutMs = kDefaultTimeoutMs);

    std::optional<int> volume() override;
    bool setVolume(int percent) override;

private:
    // Standard output of a run that exited with 0.
    std::optional<QByteArray> run(const QStringList& arguments) const;

    QString program_;
    int timeoutMs_;
};
