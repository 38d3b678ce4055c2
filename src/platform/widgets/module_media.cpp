#include "module_media.h"

#include "modules.h"
#include "video_picture.h"

Audio* ModuleAudio::audio() {
    if (!audio_) {
        if (MediaModule* module = modules::media())
            audio_ = module->createAudio();
    }
    return audio_.get();
}

bool ModuleAudio::playWave(const QUrl& wave) {
    Audio* sounds = audio();
    return sounds && sounds->playWave(wave);
}

bool ModuleAudio::playFile(const QString& path) {
    Audio* sounds = audio();
    return sounds && sounds->playFile(path);
}

bool ModuleAudio::isFilePlaying() const {
    return audio_ && audio_->isFilePlaying();
}

void ModuleAudio::stop() {
    if (audio_)
        audio_->stop();
}

ModuleMediaPlayer::~ModuleMediaPlayer() = default;

QWidget* ModuleMediaPlayer::createVideoWidget(QWidget* parent) {
    if (picture_) {
        picture_->setParent(parent);
        return picture_;
    }
    picture_ = new VideoPicture(parent);
    connect(picture_, &VideoPicture::doubleClicked, this, &MediaPlayer::doubleClicked);
    return picture_;
}

void ModuleMediaPlayer::setSource(const QUrl& url) {
    source_ = url;
    if (stream_)
        stream_->setSource(url);
}

QUrl ModuleMediaPlayer::source() const {
    return source_;
}

void ModuleMediaPlayer::play() {
    if (!stream_) {
        MediaModule* module = modules::media();
        if (!module)
            return;
        stream_ = module->createStreamPlayer([this](StreamPlayer::Frame frame) {
            if (picture_)
                picture_->showFrame(std::move(frame));
        });
        stream_->setSource(source_);
    }
    stream_->play();
}

void ModuleMediaPlayer::stop() {
    if (!stream_)
        return;
    stream_->stop();
    // A stopped player shows no picture.
    if (picture_)
        picture_->showFrame({});
}

void ModuleMediaPlayer::setFullScreen(bool on) {
    if (!picture_)
        return;
    if (on)
        picture_->enterFullScreen();
    else
        picture_->leaveFullScreen();
}

bool ModuleMediaPlayer::isFullScreen() const {
    return picture_ && picture_->isFullScreen();
}

MediaPlayer::Status ModuleMediaPlayer::status() const {
    return stream_ ? stream_->status() : Status::Stopped;
}
