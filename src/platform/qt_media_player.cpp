#include "qt_media_player.h"

#include "media_status.h"

#include <QAudioOutput>
#include <QKeyEvent>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QVideoWidget>

namespace {

// The picture leaves full screen by itself, on Escape or a double-click, as
// a player's own window does; otherwise a double-click is reported.
class Picture : public QVideoWidget {
    Q_OBJECT
public:
    using QVideoWidget::QVideoWidget;

    void enterFullScreen() {
        if (isFullScreen())
            return;
        placed_ = geometry();
        setFullScreen(true);
    }

    void leaveFullScreen() {
        if (!isFullScreen())
            return;
        setFullScreen(false);
        // The window manager stretched it over the screen; back in its panel
        // it would keep that size.
        setGeometry(placed_);
    }

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        event->accept();
        if (isFullScreen())
            leaveFullScreen();
        else
            emit doubleClicked();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && isFullScreen()) {
            leaveFullScreen();
            event->accept();
            return;
        }
        QVideoWidget::keyPressEvent(event);
    }

private:
    QRect placed_;
};

} // namespace

QtMediaPlayer::~QtMediaPlayer() {
    delete player_;
}

QWidget* QtMediaPlayer::createVideoWidget(QWidget* parent) {
    if (picture_) {
        picture_->setParent(parent);
        return picture_;
    }
    auto* picture = new Picture(parent);
    connect(picture, &Picture::doubleClicked, this, &MediaPlayer::doubleClicked);
    picture_ = picture;
    if (player_)
        player_->setVideoOutput(picture_.data());
    return picture_;
}

void QtMediaPlayer::renewPlayer() {
    delete player_;
    player_ = new QMediaPlayer;
    player_->setAudioOutput(new QAudioOutput(player_));
    if (picture_)
        player_->setVideoOutput(picture_.data());
    player_->setSource(source_);
}

void QtMediaPlayer::setSource(const QUrl& url) {
    source_ = url;
    if (player_)
        renewPlayer();
}

QUrl QtMediaPlayer::source() const {
    return source_;
}

void QtMediaPlayer::play() {
    if (!player_ || mediastatus::of(*player_) == Status::Error)
        renewPlayer();
    player_->play();
}

void QtMediaPlayer::stop() {
    if (!player_)
        return;
    if (mediastatus::of(*player_) == Status::Error)
        renewPlayer();
    else
        player_->stop();
}

void QtMediaPlayer::setFullScreen(bool on) {
    auto* picture = qobject_cast<Picture*>(picture_.data());
    if (!picture)
        return;
    if (on)
        picture->enterFullScreen();
    else
        picture->leaveFullScreen();
}

bool QtMediaPlayer::isFullScreen() const {
    return picture_ && picture_->isFullScreen();
}

MediaPlayer::Status QtMediaPlayer::status() const {
    return player_ ? mediastatus::of(*player_) : Status::Stopped;
}

#include "qt_media_player.moc"
