#pragma once

#include <QObject>
#include <QUrl>

class QWidget;

// The TV player: one stream at a time, shown in one video widget.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    enum class Status { Stopped, Connecting, Buffering, Playing, Ended, Error };
    Q_ENUM(Status)

    using QObject::QObject;

    // The picture, created on the given parent, which owns it; the player
    // has one picture, so a second call moves it to the new parent.
    virtual QWidget* createVideoWidget(QWidget* parent) = 0;
    // The stream address; it takes effect at the next play().
    virtual void setSource(const QUrl& url) = 0;
    virtual QUrl source() const = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    // Full screen shows the picture over the whole screen; the picture itself
    // leaves it on Escape or a double-click.
    virtual void setFullScreen(bool on) = 0;
    virtual bool isFullScreen() const = 0;
    virtual Status status() const = 0;

signals:
    // A double-click on the picture while it is not full screen.
    void doubleClicked();
};
