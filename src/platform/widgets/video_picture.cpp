#include "video_picture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

VideoPicture::VideoPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void VideoPicture::showFrame(StreamPlayer::Frame frame) {
    frame_ = std::move(frame);
    update();
}

void VideoPicture::enterFullScreen() {
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

void VideoPicture::leaveFullScreen() {
    if (!isFullScreen())
        return;
    setWindowFlag(Qt::Window, false);
    setWindowState(windowState() & ~Qt::WindowFullScreen);
    // Back in its panel, where it was.
    setGeometry(placed_);
    show();
}

void VideoPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!frame_)
        return;
    const QImage image = frame_();
    if (image.isNull())
        return;
    QRect target(QPoint(0, 0), image.size().scaled(size(), Qt::KeepAspectRatio));
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}

void VideoPicture::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (isFullScreen())
        leaveFullScreen();
    else
        emit doubleClicked();
}

void VideoPicture::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isFullScreen()) {
        leaveFullScreen();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
