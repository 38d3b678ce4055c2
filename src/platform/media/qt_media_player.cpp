#include "qt_media_player.h"

#include "media_status.h"

#include <QAudioOutput>
#include <QKeyEvent>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVideoFrame>
#include <QVideoSink>
#include <QWidget>

namespace {

// The picture is an ordinary widget that paints the sink's frames: a native
// video window would stack above every sibling (the volume slider laid over
// its corner), escape screen grabs and load the media framework as soon as
// the panel is built. It keeps the stream's aspect ratio on black, and it
// leaves full screen by itself, on Escape or a double-click, as a player's
// own window does; otherwise a double-click is reported.
class Picture : public QWidget {
    Q_OBJECT
public:
    explicit Picture(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::ClickFocus);
    }

    void showFrame(const QVideoFrame& frame) {
        frame_ = frame;
        update();
    }

    void enterFullScreen() {
        if (isFullScreen())
            return;
        placed_ = geometry();
        QScreen* shownOn = screen();
        setWindowFlag(Qt::Window, true);
        // Without a window manager to honour the full-screen state, the
        // screen's geometry still makes it full screen.
        if (shownOn)
            setGeometry(shownOn->geometry());
        showFullScreen();
        activateWindow();
        setFocus();
    }

    void leaveFullScreen() {
        if (!isFullScreen())
            return;
        setWindowFlag(Qt::Window, false);
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        // Back in its panel, where it was.
        setGeometry(placed_);
        show();
    }

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (!frame_.isValid())
            return;
        const QImage image = frame_.toImage();
        if (image.isNull())
            return;
        QRect target(QPoint(0, 0), image.size().scaled(size(), Qt::KeepAspectRatio));
        target.moveCenter(rect().center());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image);
    }
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
        QWidget::keyPressEvent(event);
    }

private:
    QRect placed_;
    QVideoFrame frame_;
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
    return picture_;
}

void QtMediaPlayer::renewPlayer() {
    delete player_;
    player_ = new QMediaPlayer;
    player_->setAudioOutput(new QAudioOutput(player_));
    auto* sink = new QVideoSink(player_);
    connect(sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        if (auto* picture = qobject_cast<Picture*>(picture_.data()))
            picture->showFrame(frame);
    });
    player_->setVideoSink(sink);
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
    // A stopped player shows no picture.
    if (auto* picture = qobject_cast<Picture*>(picture_.data()))
        picture->showFrame({});
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
