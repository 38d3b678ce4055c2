#include "qt_audio.h"

#include "media_status.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QMediaPlayer>
#include <QUrl>

QtAudio::~QtAudio() {
    stop();
}

QMediaPlayer* QtAudio::newPlayer() {
    auto* player = new QMediaPlayer(this);
    player->setAudioOutput(new QAudioOutput(player));
    // Once a sound has ended or failed its player only holds memory.
    connect(player, &QMediaPlayer::mediaStatusChanged, player, [player](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia || status == QMediaPlayer::InvalidMedia)
            player->deleteLater();
    });
    return player;
}

void QtAudio::playWave(const QByteArray& wave) {
    delete wavePlayer_;
    wavePlayer_ = newPlayer();
    auto* buffer = new QBuffer(wavePlayer_);
    buffer->setData(wave);
    buffer->open(QIODevice::ReadOnly);
    // The name only tells the decoder what the bytes are.
    wavePlayer_->setSourceDevice(buffer, QUrl(QStringLiteral("alert.wav")));
    wavePlayer_->play();
}

void QtAudio::playFile(const QString& path) {
    delete filePlayer_;
    filePlayer_ = newPlayer();
    filePlayer_->setSource(QUrl::fromLocalFile(path));
    filePlayer_->play();
}

bool QtAudio::isFilePlaying() const {
    if (!filePlayer_)
        return false;
    const MediaPlayer::Status status = mediastatus::of(*filePlayer_);
    return status == MediaPlayer::Status::Connecting || status == MediaPlayer::Status::Buffering ||
           status == MediaPlayer::Status::Playing;
}

void QtAudio::stop() {
    delete wavePlayer_;
    delete filePlayer_;
}
