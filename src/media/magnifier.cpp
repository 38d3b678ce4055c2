#include "magnifier.h"

#include "media/magnifier_rules.h"
#include "platform/dialogs.h"
#include "platform/key_watch.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "ui/x11_window.h"

#include <QPainter>
#include <cmath>

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
    x11window::keepOffTaskbar(this);
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

namespace {

// A rectangle of device pixels in the window system's own coordinates, kept
// clear of `avoid` when rounding puts an edge half a unit over it.
QRect toLogical(const QRect& device, qreal ratio, const QRect& avoid) {
    const QSizeF size = QSizeF(device.size()) / ratio;
    QPointF corner = QPointF(device.topLeft()) / ratio;
    corner.setX(device.left() > avoid.right() ? std::ceil(corner.x()) : std::floor(corner.x()));
    corner.setY(std::floor(corner.y()));
    return {corner.toPoint(), size.toSize()};
}

} // namespace

void Magnifier::tick() {
    // Everything in device pixels, the screen's own: at a scale factor of 2
    // one unit of Qt's coordinates is two of them.
    const qreal ratio = services_.screen->devicePixelRatio();
    const QRect logicalScreen = services_.screen->geometry();
    const QRect screen(QPointF(QPointF(logicalScreen.topLeft()) * ratio).toPoint(),
                       QSizeF(QSizeF(logicalScreen.size()) * ratio).toSize());
    const QPoint cursor = (QPointF(services_.screen->cursorPos()) * ratio).toPoint();
    if (fullScreen_) {
        source_ = magnifierrules::visibleSource(
            magnifierrules::fullScreenSource(screen.size(), cursor - screen.topLeft()));
        source_.translate(screen.topLeft());
    } else {
        const magnifierrules::Lens lens = magnifierrules::lensAt(screen, cursor);
        source_ = lens.source;
        const QRect window = toLogical(lens.window, ratio, lens.source);
        if (geometry() != window)
            setGeometry(window);
    }
    shown_ = services_.screen->capture(source_);
    // Each image pixel becomes kZoom x kZoom device pixels of the window.
    drawn_ = QRectF(QPointF(0, 0), QSizeF(shown_.size()) * magnifierrules::kZoom / ratio);
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
    if (!drawn_.contains(QRectF(rect())))
        painter.fillRect(rect(), Qt::black);
    if (!shown_.isNull())
        painter.drawImage(drawn_, shown_);
}
