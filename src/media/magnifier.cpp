#include "magnifier.h"

#include "media/magnifier_rules.h"
#include "platform/dialogs.h"
#include "platform/key_watch.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/timer.h"

#include <QPainter>

bool Magnifier::screenReadable(Services& services, QWidget* parent) {
    if (services.screen->canCapture())
        return true;
    services.dialogs->message(parent, QStringLiteral("此桌面不允许程序读取屏幕内容，放大镜无法使用。"),
                              QStringLiteral("友情提示："), Dialogs::Icon::Information);
    return false;
}

Magnifier::Magnifier(Services& services, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus),
      services_(services) {
    setObjectName(QStringLiteral("超酷放大镜"));
    setWindowTitle(QStringLiteral("超酷放大镜"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);

    fullScreen_ = services_.screen->excludeFromCapture(this);
    if (fullScreen_)
        setGeometry(services_.screen->geometry());
    keys_ = services_.screen->watchKeys();

    timer_ = new Timer(this, QStringLiteral("时钟1"));
    connect(timer_, &Timer::timeout, this, &Magnifier::tick);
    tick();
    timer_->setInterval(magnifierrules::kTickMs);
}

Magnifier::~Magnifier() = default;

void Magnifier::tick() {
    const QRect screen = services_.screen->geometry();
    const QPoint cursor = services_.screen->cursorPos();
    if (fullScreen_) {
        source_ = magnifierrules::visibleSource(magnifierrules::fullScreenSource(screen.size(), cursor));
        source_.translate(screen.topLeft());
    } else {
        const magnifierrules::Lens lens = magnifierrules::lensAt(screen, cursor);
        source_ = lens.source;
        if (geometry() != lens.window)
            setGeometry(lens.window);
    }
    shown_ = services_.screen->capture(source_);
    update();
    // Above every other window, also those raised since the last tick.
    raise();

    if (keys_ && magnifierrules::pressedKeyName([this](const WatchedKey& key) { return keys_->poll(key); }) ==
                     magnifierrules::kCloseKey)
        close();
}

void Magnifier::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Each screen pixel becomes a block of 2 x 2, unblurred.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect drawn(QPoint(0, 0), shown_.size() * magnifierrules::kZoom);
    if (!drawn.contains(rect()))
        painter.fillRect(rect(), Qt::black);
    if (!shown_.isNull())
        painter.drawPixmap(drawn, shown_);
}
