#pragma once

#include "audio.h"

#include <QObject>
#include <QPointer>

class QMediaPlayer;

// Audio over Qt Multimedia's QMediaPlayer (GStreamer on Linux). A WAVE held in
// memory is played from a QBuffer, so no temporary file is written, and the
// decoder takes every WAVE the built-in sounds may be (PCM and IMA ADPCM
// alike), which QSoundEffect, file-bound and PCM-only, would not.
//
// Each sound gets a player of its own that is deleted when it ends or is
// stopped: stopping a GStreamer player that failed blocks for a second, and
// deleting one does not.
class QtAudio : public QObject, public Audio {
    Q_OBJECT
public:
    using QObject::QObject;
    ~QtAudio() override;

    void playWave(const QByteArray& wave) override;
    void playFile(const QString& path) override;
    bool isFilePlaying() const override;
    void stop() override;

private:
    QMediaPlayer* newPlayer();

    QPointer<QMediaPlayer> wavePlayer_;
    QPointer<QMediaPlayer> filePlayer_;
};
