#pragma once

#include "platform/modules.h"

#include <QWidget>

// The TV picture: an ordinary widget that paints the stream's frames. A native
// video window would stack above every sibling (the volume slider laid over
// its corner), escape screen grabs and load the media framework as soon as the
// panel is built. It keeps the stream's aspect ratio on black, and it leaves
// full screen by itself, on Escape or a double-click, as a player's own window
// does; otherwise a double-click is reported.
class VideoPicture : public QWidget {
    Q_OBJECT
public:
    explicit VideoPicture(QWidget* parent);

    // The frame to show; an empty one shows black.
    void showFrame(StreamPlayer::Frame frame);
    void enterFullScreen();
    void leaveFullScreen();

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect placed_;
    StreamPlayer::Frame frame_;
};
