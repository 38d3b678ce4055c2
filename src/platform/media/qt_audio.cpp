#include "qt_audio.h"

#include "media_status.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QUrl>

namespace {

// The output a new sound goes to; null when the machine has none.
QAudioDevice currentOutput() {
    return QMediaDevices::defaultAudioOutput();
}

} // namespace

QtAudio::~QtAudio() {
    stop();
}

void QtAudio::stopWaves() {
    for (QSoundEffect* effect : std::as_const(effects_))
        effect->stop();
}

bool QtAudio::playWave(const QUrl& wave) {
    stopWaves();
    const QAudioDevice output = currentOutput();
    if (output.isNull())
        return false;
    QSoundEffect*& effect = effects_[wave];
    if (!effect) {
        effect = new QSoundEffect(output, this);
        effect->setSource(wave);
    } else if (effect->audioDevice() != output) {
        // The default output changed since (a headset plugged in).
        effect->setAudioDevice(output);
    }
    // Played as soon as it has loaded, when it has not yet.
    effect->play();
    return effect->status() != QSoundEffect::Error;
}

bool QtAudio::playFile(const QString& path) {
    delete filePlayer_;
    if (currentOutput().isNull())
        return false;
    filePlayer_ = new QMediaPlayer(this);
    auto* player = filePlayer_.data();
    player->setAudioOutput(new QAudioOutput(player));
    // Once the file has ended or failed its player only holds memory.
    connect(player, &QMediaPlayer::mediaStatusChanged, player, [player](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia)
            player->deleteLater();
    });
    player->setSource(QUrl::fromLocalFile(path));
    player->play();
    return true;
}

bool QtAudio::isFilePlaying() const {
    if (!filePlayer_)
        return false;
    const MediaPlayer::Status status = mediastatus::of(*filePlayer_);
    return status == MediaPlayer::Status::Connecting || status == MediaPlayer::Status::Buffering ||
           status == MediaPlayer::Status::Playing;
}

void QtAudio::stop() {
    stopWaves();
    delete filePlayer_;
}
