#pragma once

#include <QByteArray>
#include <QString>

// Alert sounds. Every call returns at once; a machine without a sound device
// plays nothing and reports nothing.
class Audio {
public:
    virtual ~Audio() = default;
    // Plays a complete WAVE file held in memory, once. A sound from memory
    // that is still playing is cut off first.
    virtual void playWave(const QByteArray& wave) = 0;
    // Plays a sound file (MP3) once. A file still playing is cut off first.
    virtual void playFile(const QString& path) = 0;
    // True while the file last started by playFile is still sounding; false
    // once it has ended, failed or been stopped.
    virtual bool isFilePlaying() const = 0;
    // Stops every sound, from memory and from a file.
    virtual void stop() = 0;
};
