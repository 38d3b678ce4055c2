#pragma once

#include "platform/modules.h"

class QMediaPlayer;

// A TV stream over QMediaPlayer (GStreamer on Linux), its frames handed to
// the picture as they come. A player that failed is replaced rather than
// stopped: stopping a failed GStreamer pipeline blocks for a second, and a
// failed one played again may claim to play what it never reached.
class QtStreamPlayer : public StreamPlayer {
public:
    explicit QtStreamPlayer(std::function<void(Frame)> show) : show_(std::move(show)) {}
    ~QtStreamPlayer() override;
    QtStreamPlayer(const QtStreamPlayer&) = delete;
    QtStreamPlayer& operator=(const QtStreamPlayer&) = delete;

    void setSource(const QUrl& url) override;
    void play() override;
    void stop() override;
    MediaPlayer::Status status() const override;

private:
    void renewPlayer();

    std::function<void(Frame)> show_;
    QMediaPlayer* player_ = nullptr;
    QUrl source_;
};
