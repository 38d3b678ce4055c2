#pragma once

#include "platform/audio.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class QMediaPlayer;
class QSoundEffect;

// Audio over Qt Multimedia: a QSoundEffect per built-in sound, loaded once and
// kept, and a QMediaPlayer for the user's MP3. Nothing of the media framework
// loads before the first sound.
//
// The file player is deleted when its file ends or is stopped: stopping a
// GStreamer player that failed blocks for a second, and deleting one does not.
class QtAudio : public QObject, public Audio {
    Q_OBJECT
public:
    using QObject::QObject;
    ~QtAudio() override;

    bool playWave(const QUrl& wave) override;
    bool playFile(const QString& path) override;
    bool isFilePlaying() const override;
    void stop() override;

private:
    void stopWaves();

    QHash<QUrl, QSoundEffect*> effects_;
    QPointer<QMediaPlayer> filePlayer_;
};
