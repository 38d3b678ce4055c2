#pragma once

#include <QString>
#include <QUrl>

// Alert sounds. Every call returns at once. A machine without a sound device
// plays nothing: the play calls then answer false, and nothing else happens.
class Audio {
public:
    virtual ~Audio() = default;
    // Plays a built-in WAVE sound (plain PCM) held in the program's resources,
    // given by its address ("qrc:/…"), once. A built-in sound still playing is
    // cut off first. False when it cannot sound.
    virtual bool playWave(const QUrl& wave) = 0;
    // Plays a sound file (MP3) once. A file still playing is cut off first.
    // False when it cannot sound (no device); a file that turns out to be
    // missing or undecodable simply ends.
    virtual bool playFile(const QString& path) = 0;
    // True while the file last started by playFile is still sounding; false
    // once it has ended, failed or been stopped.
    virtual bool isFilePlaying() const = 0;
    // Stops every sound, built-in and from a file.
    virtual void stop() = 0;
};
