#pragma once

#include "platform/media_player.h"

#include <QPointer>
#include <QWidget>

class QMediaPlayer;

// MediaPlayer over QMediaPlayer (GStreamer on Linux), its frames painted by
// an ordinary widget. The player is made at the first play, so a run that
// never watches TV never loads the media framework. A player that failed is replaced rather than
// stopped: stopping a failed GStreamer pipeline blocks for a second, and a
// failed one played again may claim to play what it never reached.
class QtMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    using MediaPlayer::MediaPlayer;
    ~QtMediaPlayer() override;

    QWidget* createVideoWidget(QWidget* parent) override;
    void setSource(const QUrl& url) override;
    QUrl source() const override;
    void play() override;
    void stop() override;
    void setFullScreen(bool on) override;
    bool isFullScreen() const override;
    Status status() const override;

private:
    void renewPlayer();

    QMediaPlayer* player_ = nullptr;
    QPointer<QWidget> picture_;
    QUrl source_;
};
