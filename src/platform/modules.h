#pragma once

#include "platform/media_player.h"
#include "platform/web_views.h"

#include <QImage>
#include <QtPlugin>
#include <functional>
#include <memory>

class Audio;

// The browser engine and the media framework are modules of their own,
// loaded on first use (platform/widgets/modules): each brings dozens of
// libraries, and the browser engine a GL context, that a run which never
// shows a web page or plays a sound would otherwise load at start.

// The browser engine: views whose engine starts with their first page.
class WebEngineModule : public WebViews {
public:
    // The web cache was emptied: each view asks for its next page with
    // "no-cache", so that it comes from the server.
    virtual void noteCacheCleared() = 0;
};
#define AurivexWebEngineModule_iid "org.aurivex.WebEngineModule/1"
Q_DECLARE_INTERFACE(WebEngineModule, AurivexWebEngineModule_iid)

// One TV stream's sound and frames, played by the media framework.
class StreamPlayer {
public:
    // A frame, converted to an image only when it is painted.
    using Frame = std::function<QImage()>;

    virtual ~StreamPlayer() = default;
    // Takes effect at once when the stream has been played before, else at
    // the next play().
    virtual void setSource(const QUrl& url) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual MediaPlayer::Status status() const = 0;
};

// The media framework: sounds and streams.
class MediaModule {
public:
    virtual ~MediaModule() = default;
    virtual std::unique_ptr<Audio> createAudio() = 0;
    // A stream player that hands each new frame to `show`.
    virtual std::unique_ptr<StreamPlayer>
    createStreamPlayer(std::function<void(StreamPlayer::Frame)> show) = 0;
};
#define AurivexMediaModule_iid "org.aurivex.MediaModule/1"
Q_DECLARE_INTERFACE(MediaModule, AurivexMediaModule_iid)
