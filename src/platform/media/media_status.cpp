#include "media_status.h"

#include <QMediaPlayer>

namespace mediastatus {

MediaPlayer::Status of(const QMediaPlayer& player) {
    using Status = MediaPlayer::Status;
    if (player.error() != QMediaPlayer::NoError || player.mediaStatus() == QMediaPlayer::InvalidMedia)
        return Status::Error;
    if (player.mediaStatus() == QMediaPlayer::EndOfMedia)
        return Status::Ended;
    if (player.playbackState() != QMediaPlayer::PlayingState)
        return Status::Stopped;
    switch (player.mediaStatus()) {
    case QMediaPlayer::StalledMedia:
    case QMediaPlayer::BufferingMedia:
        return Status::Buffering;
    case QMediaPlayer::BufferedMedia:
        return Status::Playing;
    default:
        return Status::Connecting;
    }
}

} // namespace mediastatus
