#include "news_strip.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

NewsStrip::NewsStrip(QWidget* parent) : QWidget(parent) {}

bool NewsStrip::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::ParentChange:
        scheduleRefresh();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void NewsStrip::scheduleRefresh() {
    // Until the new picture is taken the old one may be wrong: see-through
    // meanwhile, and taken once for any number of changes in one go.
    setOpaque(false);
    background_ = QPixmap();
    if (refreshQueued_)
        return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        refreshBackground();
    });
}

void NewsStrip::refreshBackground() {
    QWidget* top = window();
    if (!isVisible() || top == this || size().isEmpty()) {
        setOpaque(false);
        background_ = QPixmap();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    setOpaque(false);
    grabbing_ = true;
    top->render(&picture, QPoint(), QRegion(QRect(mapTo(top, QPoint()), size())),
                QWidget::DrawWindowBackground | QWidget::DrawChildren);
    grabbing_ = false;
    background_ = picture;
    setOpaque(true);
    update();
}

void NewsStrip::setOpaque(bool opaque) {
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_OpaquePaintEvent, opaque);
}

void NewsStrip::paintEvent(QPaintEvent* event) {
    if (grabbing_ || background_.isNull())
        return;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawPixmap(0, 0, background_);
}
