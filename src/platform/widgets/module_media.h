#pragma once

#include "platform/audio.h"
#include "platform/media_player.h"
#include "platform/modules.h"

#include <QPointer>
#include <memory>

class VideoPicture;

// Sounds from the media framework's module, loaded at the first sound.
class ModuleAudio : public Audio {
public:
    bool playWave(const QUrl& wave) override;
    bool playFile(const QString& path) override;
    bool isFilePlaying() const override;
    void stop() override;

private:
    Audio* audio();

    std::unique_ptr<Audio> audio_;
};

// The TV player: the picture is the program's own widget, and the stream is
// played by the media framework's module, loaded at the first play.
class ModuleMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    using MediaPlayer::MediaPlayer;
    ~ModuleMediaPlayer() override;

    QWidget* createVideoWidget(QWidget* parent) override;
    void setSource(const QUrl& url) override;
    QUrl source() const override;
    void play() override;
    void stop() override;
    void setFullScreen(bool on) override;
    bool isFullScreen() const override;
    Status status() const override;

private:
    std::unique_ptr<StreamPlayer> stream_;
    QPointer<VideoPicture> picture_;
    QUrl source_;
};
