#pragma once

#include "platform/audio.h"
#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/key_watch.h"
#include "platform/launcher.h"
#include "platform/media_player.h"
#include "platform/notifications.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/system_volume.h"
#include "platform/tray.h"
#include "platform/web_cache.h"
#include "platform/web_views.h"
#include "support/fake_http.h"

#include <QDateTime>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <memory>

// Dialogs that answer from a script and never block. Unscripted messages are
// answered with OK (or Cancel for a confirmation-style box when told so).
class FakeDialogs : public Dialogs {
public:
    QList<Answer> answers;
    QQueue<QString> files;
    QQueue<std::optional<QFont>> fonts;
    QQueue<std::optional<QColor>> colours;
    Answer defaultAnswer = Answer::Ok;

    QString openFile(QWidget*, const QString&, const QString&) override {
        return files.isEmpty() ? QString() : files.dequeue();
    }
    // The save dialog answers from `files` too.
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override {
        return files.isEmpty() ? QString() : files.dequeue();
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override {
        return fonts.isEmpty() ? std::nullopt : fonts.dequeue();
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&, const QString&) override {
        return colours.isEmpty() ? std::nullopt : colours.dequeue();
    }

    // Non-blocking messages still waiting for their OK.
    QList<std::function<void()>> openNotices;
    // Presses OK on every open notice.
    void acknowledgeNotices() {
        const auto notices = std::exchange(openNotices, {});
        for (const auto& closed : notices)
            if (closed)
                closed();
    }

    // The last message's text, or empty.
    QString lastText() const { return history().isEmpty() ? QString() : history().last().text; }

protected:
    Answer showMessage(QWidget*, const QString&, const QString&, Icon, Buttons) override {
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    void showNotice(QWidget*, const QString&, const QString&, std::function<void()> closed) override {
        openNotices.append(std::move(closed));
    }
};

class FakeClock : public Clock {
public:
    QDateTime current = QDateTime(QDate(2026, 12, 9), QTime(10, 0, 0));
    QDateTime now() const override { return current; }
};

// Draws from a script; when the script runs dry, the low end of the range.
class FakeRandom : public Random {
public:
    QList<int> values;
    QList<QPair<int, int>> ranges;

    int between(int low, int high) override {
        ranges.append({low, high});
        return values.isEmpty() ? low : values.takeFirst();
    }
};

// Records every hand-over; nothing reaches the desktop. Each call answers
// `succeeds`.
class FakeLauncher : public Launcher {
public:
    struct Program {
        QString program;
        QStringList arguments;
    };
    QList<QUrl> opened;
    QList<Program> started;
    QStringList openedFiles;
    bool succeeds = true;

    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return succeeds;
    }
    bool startProgram(const QString& program, const QStringList& arguments) override {
        started.append({program, arguments});
        return succeeds;
    }
    bool openFile(const QString& path) override {
        openedFiles.append(path);
        return succeeds;
    }
};

// Screens, cursor, picture and keyboard as the test sets them.
class FakeScreen : public Screen {
public:
    static constexpr int kPanelHeight = 40;

    // Each screen, the primary first; each loses a panel at its bottom.
    QList<QRect> screens{QRect(0, 0, 1920, 1080)};
    QPoint cursor;
    // What the screens show, in desktop coordinates; black where it is null.
    QImage desktop;
    QList<Qt::Key> keysDown;
    mutable QList<QRect> captured;

    QRect geometry() const override { return screens.value(0); }
    QRect workArea() const override { return available(geometry()); }
    QRect workAreaAt(const QPoint& point) const override {
        for (const QRect& screen : screens) {
            if (screen.contains(point))
                return available(screen);
        }
        return workArea();
    }
    QList<QRect> workAreas() const override {
        QList<QRect> areas;
        for (const QRect& screen : screens)
            areas.append(available(screen));
        return areas;
    }
    QList<QRect> geometries() const override { return screens; }
    QPoint cursorPos() const override { return cursor; }
    // Device pixels per unit; `desktop` and captures are in device pixels.
    qreal pixelRatio = 1.0;
    qreal devicePixelRatio() const override { return pixelRatio; }
    QImage capture(const QRect& rect) const override {
        captured.append(rect);
        if (desktop.isNull()) {
            QImage black(rect.size(), QImage::Format_RGB32);
            black.fill(Qt::black);
            return black;
        }
        return desktop.copy(rect);
    }
    bool isKeyDown(Qt::Key key) const override { return keysDown.contains(key); }

    // Whether captures see other programs (not on Wayland), and whether a
    // window can be left out of them.
    bool capturable = true;
    bool excludesWindows = false;
    // The desktop's keyboard and mouse buttons as every watch sees them:
    // what is down, and what went down since its last poll.
    QList<WatchedKey> watchedDown;
    mutable QList<WatchedKey> watchedPressed;
    mutable int watches = 0;

    bool canCapture() const override { return capturable; }
    bool excludeFromCapture(QWidget*) const override { return excludesWindows; }
    std::unique_ptr<KeyWatch> watchKeys() const override {
        ++watches;
        return std::make_unique<Watch>(*this);
    }

    // A key goes down (and stays down until released).
    void press(const WatchedKey& key) {
        watchedDown.append(key);
        watchedPressed.append(key);
    }
    void release(const WatchedKey& key) { watchedDown.removeAll(key); }

private:
    class Watch : public KeyWatch {
    public:
        explicit Watch(const FakeScreen& screen) : screen_(screen) {}
        State poll(const WatchedKey& key) override {
            return {screen_.watchedDown.contains(key), screen_.watchedPressed.removeAll(key) > 0};
        }

    private:
        const FakeScreen& screen_;
    };

    static QRect available(const QRect& screen) { return screen.adjusted(0, 0, 0, -kPanelHeight); }
};

// Silent: records what would have sounded. A file "plays" until stop() or
// until the test clears filePlaying. With `deviceMissing` nothing can sound:
// every play is still recorded but answers false.
class FakeAudio : public Audio {
public:
    QList<QUrl> waves;
    QStringList files;
    // Every call in order: "wave", "file", "stop".
    QStringList calls;
    bool filePlaying = false;
    bool deviceMissing = false;

    bool playWave(const QUrl& wave) override {
        waves.append(wave);
        calls.append(QStringLiteral("wave"));
        return !deviceMissing;
    }
    bool playFile(const QString& path) override {
        files.append(path);
        calls.append(QStringLiteral("file"));
        filePlaying = !deviceMissing;
        return !deviceMissing;
    }
    bool isFilePlaying() const override { return filePlaying; }
    void stop() override {
        calls.append(QStringLiteral("stop"));
        filePlaying = false;
    }
};

// Plays nothing; its picture is a plain widget and its status what the test
// sets. Tests emit doubleClicked() themselves.
class FakeMediaPlayer : public MediaPlayer {
public:
    QPointer<QWidget> picture;
    QUrl current;
    // Every call in order: "source URL", "play", "stop".
    QStringList calls;
    bool fullScreen = false;
    Status currentStatus = Status::Stopped;

    QWidget* createVideoWidget(QWidget* parent) override {
        if (picture)
            picture->setParent(parent);
        else
            picture = new QWidget(parent);
        return picture;
    }
    void setSource(const QUrl& url) override {
        current = url;
        calls.append(QStringLiteral("source ") + url.toString());
    }
    QUrl source() const override { return current; }
    void play() override { calls.append(QStringLiteral("play")); }
    void stop() override { calls.append(QStringLiteral("stop")); }
    void setFullScreen(bool on) override { fullScreen = on; }
    bool isFullScreen() const override { return fullScreen; }
    Status status() const override { return currentStatus; }
};

// A system volume that is there (or not) as the test says.
class FakeSystemVolume : public SystemVolume {
public:
    bool available = true;
    int level = 50;
    QList<int> set;

    std::optional<int> volume() override { return available ? std::optional<int>(level) : std::nullopt; }
    bool setVolume(int percent) override {
        set.append(percent);
        if (available)
            level = percent;
        return available;
    }
};

// Shows nothing; tests emit activated() themselves.
class FakeTray : public Tray {
public:
    struct Message {
        QString title;
        QString text;
    };
    bool available = true;
    bool shown = false;
    QIcon icon;
    QString toolTip;
    QList<Message> messages;
    int hides = 0;
    QPointer<QMenu> menu;

    bool isAvailable() const override { return available; }
    void show(const QIcon& newIcon, const QString& newToolTip) override {
        shown = true;
        icon = newIcon;
        toolTip = newToolTip;
    }
    void hide() override {
        shown = false;
        ++hides;
    }
    bool isShown() const override { return shown; }
    // An XEmbed tray by default; false for a StatusNotifierItem host.
    bool doubleClicks = true;
    bool reportsDoubleClicks() const override { return doubleClicks; }
    void showMessage(const QString& title, const QString& text) override { messages.append({title, text}); }
    void setContextMenu(QMenu* newMenu) override { menu = newMenu; }
};

class FakeAutostart : public Autostart {
public:
    bool enabled = false;
    QString programPath;
    // Every call in order: "enable PATH [--home DIR]", "disable", "restore".
    QStringList calls;

    bool isEnabled() const override { return enabled; }
    bool enable(const QString& path, const QString& homeOverride) override {
        calls.append(QStringLiteral("enable ") + path +
                     (homeOverride.isEmpty() ? QString() : QStringLiteral(" --home ") + homeOverride));
        enabled = true;
        programPath = path;
        return true;
    }
    bool disable() override {
        calls.append(QStringLiteral("disable"));
        enabled = false;
        return true;
    }
    std::optional<QByteArray> saved() const override {
        return enabled ? std::optional(programPath.toUtf8()) : std::nullopt;
    }
    bool restore(const std::optional<QByteArray>& saved) override {
        calls.append(QStringLiteral("restore"));
        enabled = saved.has_value();
        programPath = saved ? QString::fromUtf8(*saved) : QString();
        return true;
    }
};

// Counts the emptyings; the chart images it holds go with each.
class FakeWebCache : public WebCache {
public:
    int clears = 0;

protected:
    void clearBrowserCache() override { ++clears; }
};

// A web view that loads nothing. Each navigation records how often the web
// cache had been cleared by then; scripts are answered at once from
// scriptResults (invalid when it runs dry); tests finish loads with
// finishLoad() and emit the other signals themselves.
class FakeWebView : public WebView {
    Q_OBJECT
public:
    struct Load {
        QUrl url;
        int cacheClearsBefore;
    };
    QList<Load> loads;
    QStringList scripts;
    QList<QVariant> scriptResults;
    // "back", "forward", "reload", "stop" in order.
    QStringList commands;
    NewWindowPolicy policy;

    FakeWebView(QWidget* parent, NewWindowPolicy newPolicy, const FakeWebCache& cache)
        : WebView(parent), policy(newPolicy), cache_(cache) {}

    // The address last navigated to.
    QUrl url() const { return loads.isEmpty() ? QUrl() : loads.last().url; }
    void finishLoad(bool ok = true) { emit loaded(ok); }

    void navigate(const QUrl& url) override { loads.append({url, cache_.clears}); }
    void runJavaScript(const QString& script, Script done) override {
        scripts.append(script);
        const QVariant result = scriptResults.isEmpty() ? QVariant() : scriptResults.takeFirst();
        if (done)
            done(result);
    }
    void back() override { commands.append(QStringLiteral("back")); }
    void forward() override { commands.append(QStringLiteral("forward")); }
    void reload() override { commands.append(QStringLiteral("reload")); }
    void stop() override { commands.append(QStringLiteral("stop")); }
    void setNewWindowPolicy(NewWindowPolicy newPolicy) override { policy = newPolicy; }

private:
    const FakeWebCache& cache_;
};

class FakeWebViews : public WebViews {
public:
    explicit FakeWebViews(const FakeWebCache& cache) : cache_(cache) {}

    // Every view made, in order; null once its parent destroyed it.
    QList<QPointer<FakeWebView>> views;

    WebView* create(QWidget* parent, WebView::NewWindowPolicy policy) override {
        auto* view = new FakeWebView(parent, policy, cache_);
        views.append(view);
        return view;
    }

private:
    const FakeWebCache& cache_;
};

// A notification service that is there or not as the test says; shows nothing,
// records every note. Tests emit actionInvoked() themselves.
class FakeNotifications : public Notifications {
public:
    bool available = false;
    QList<Note> shown;

    bool isAvailable() const override { return available; }
    QString unavailableReason() const override {
        return available ? QString() : QStringLiteral("桌面没有通知服务");
    }
    bool show(const Note& note) override {
        if (available)
            shown.append(note);
        return available;
    }
};

// All fakes wired together, with quit() recorded instead of ending anything.
struct FakeServices {
    FakeDialogs dialogs;
    FakeHttp http;
    FakeClock clock;
    FakeRandom random;
    FakeLauncher launcher;
    FakeScreen screen;
    FakeAudio audio;
    FakeMediaPlayer mediaPlayer;
    FakeSystemVolume systemVolume;
    FakeTray tray;
    FakeAutostart autostart;
    FakeWebCache webCache;
    FakeWebViews webViews{webCache};
    FakeNotifications notifications;
    QList<int> quitCodes;
    Services services;

    FakeServices();
};
