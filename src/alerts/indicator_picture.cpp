#include "indicator_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimerEvent>
#include <cmath>
#include <numbers>

IndicatorPicture::IndicatorPicture(QWidget* parent, Direction direction)
    : QWidget(parent), direction_(direction) {
    setFixedSize(11, 11);
    // Each frame paints its own background, so the group behind is not
    // repainted several times a second.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IndicatorPicture::paintEvent(QPaintEvent*) {
    // Prices falling are green and rising red, as Chinese quote boards show them.
    const QColor base = direction_ == Direction::Down ? QColor(0, 150, 60) : QColor(215, 30, 30);
    // One pulse per cycle: bright, fading to half and back.
    const double phase = 2 * std::numbers::pi * frame_ / kFrames;
    const double strength = 0.75 + 0.25 * std::cos(phase);
    QColor fill = base;
    fill.setAlphaF(float(strength));

    QPainter p(this);
    p.drawPixmap(0, 0, background_);
    p.setRenderHint(QPainter::Antialiasing);
    // The arrow also steps a pixel in its direction and back.
    const double shift = (direction_ == Direction::Down ? 1.0 : -1.0) * (frame_ < kFrames / 2 ? 0.0 : 1.0);
    QPainterPath arrow;
    if (direction_ == Direction::Down) {
        arrow.moveTo(0.5, 2.5 + shift);
        arrow.lineTo(10.5, 2.5 + shift);
        arrow.lineTo(5.5, 9.0 + shift);
    } else {
        arrow.moveTo(0.5, 8.5 + shift);
        arrow.lineTo(10.5, 8.5 + shift);
        arrow.lineTo(5.5, 2.0 + shift);
    }
    arrow.closeSubpath();
    p.setPen(QPen(base.darker(140), 1));
    p.setBrush(fill);
    p.drawPath(arrow);
}

void IndicatorPicture::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // What the parent shows here, drawn without its children.
    background_ = QPixmap(size() * devicePixelRatioF());
    background_.setDevicePixelRatio(devicePixelRatioF());
    background_.fill(Qt::transparent);
    if (QWidget* parent = parentWidget())
        parent->render(&background_, {}, QRegion(geometry()), QWidget::DrawWindowBackground);
    animation_.start(kFrameMs, this);
}

void IndicatorPicture::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    animation_.stop();
}

void IndicatorPicture::timerEvent(QTimerEvent* event) {
    if (event->timerId() != animation_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    frame_ = (frame_ + 1) % kFrames;
    update();
}
