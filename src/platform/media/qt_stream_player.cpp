#include "qt_stream_player.h"

#include "media_status.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QVideoFrame>
#include <QVideoSink>

QtStreamPlayer::~QtStreamPlayer() {
    delete player_;
}

void QtStreamPlayer::renewPlayer() {
    delete player_;
    player_ = new QMediaPlayer;
    player_->setAudioOutput(new QAudioOutput(player_));
    auto* sink = new QVideoSink(player_);
    // The frame is converted only if the picture paints it.
    QObject::connect(sink, &QVideoSink::videoFrameChanged, player_,
                     [this](const QVideoFrame& frame) { show_([frame] { return frame.toImage(); }); });
    player_->setVideoSink(sink);
    player_->setSource(source_);
}

void QtStreamPlayer::setSource(const QUrl& url) {
    source_ = url;
    if (player_)
        renewPlayer();
}

void QtStreamPlayer::play() {
    if (!player_ || mediastatus::of(*player_) == MediaPlayer::Status::Error)
        renewPlayer();
    player_->play();
}

void QtStreamPlayer::stop() {
    if (!player_)
        return;
    if (mediastatus::of(*player_) == MediaPlayer::Status::Error)
        renewPlayer();
    else
        player_->stop();
}

MediaPlayer::Status QtStreamPlayer::status() const {
    return player_ ? mediastatus::of(*player_) : MediaPlayer::Status::Stopped;
}
