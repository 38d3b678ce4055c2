#include "splash_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// One gold bar seen from the front: a trapezoid with a lit top face.
void paintBar(QPainter& p, QPointF origin, qreal width, qreal height) {
    const qreal inset = width * 0.16;
    QPainterPath front;
    front.moveTo(origin.x(), origin.y() + height);
    front.lineTo(origin.x() + inset, origin.y());
    front.lineTo(origin.x() + width - inset, origin.y());
    front.lineTo(origin.x() + width, origin.y() + height);
    front.closeSubpath();

    QLinearGradient body(origin, origin + QPointF(0, height));
    body.setColorAt(0.0, QColor(255, 226, 128));
    body.setColorAt(0.5, QColor(226, 170, 46));
    body.setColorAt(1.0, QColor(160, 108, 16));
    p.setPen(QPen(QColor(120, 80, 10), 1.0));
    p.setBrush(body);
    p.drawPath(front);

    QPainterPath shine;
    shine.moveTo(origin.x() + inset + 4, origin.y() + 3);
    shine.lineTo(origin.x() + width - inset - 4, origin.y() + 3);
    shine.lineTo(origin.x() + width - inset - 8, origin.y() + 7);
    shine.lineTo(origin.x() + inset + 8, origin.y() + 7);
    shine.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 220, 170));
    p.drawPath(shine);
}

} // namespace

QPixmap paintSplashBackground(int width, int height) {
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(22, 44, 82));
    sky.setColorAt(0.72, QColor(40, 78, 128));
    sky.setColorAt(0.73, QColor(228, 236, 246));
    sky.setColorAt(1.0, QColor(206, 220, 238));
    p.fillRect(pixmap.rect(), sky);

    QRadialGradient glow(QPointF(width * 0.78, height * 0.38), width * 0.35);
    glow.setColorAt(0.0, QColor(255, 214, 120, 120));
    glow.setColorAt(1.0, QColor(255, 214, 120, 0));
    p.fillRect(QRectF(0, 0, width, height * 0.72), glow);

    // A small stack of bars on the right.
    paintBar(p, QPointF(width * 0.62, height * 0.45), 64, 22);
    paintBar(p, QPointF(width * 0.62 + 60, height * 0.45), 64, 22);
    paintBar(p, QPointF(width * 0.62 + 30, height * 0.45 - 22), 64, 22);

    QFont title(QStringLiteral("DejaVu Serif"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(255, 214, 110));
    p.drawText(QRectF(24, 26, 220, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Aurivex"));

    QFont subtitle(QStringLiteral("黑体"));
    subtitle.setPixelSize(15);
    p.setFont(subtitle);
    p.setPen(QColor(226, 234, 246));
    p.drawText(QRectF(26, 80, 220, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("纸黄金行情 · 提醒 · 模拟交易"));

    p.setPen(QPen(QColor(255, 214, 110, 160), 1.0));
    p.drawLine(QPointF(26, 110), QPointF(width * 0.58, 110));

    p.setPen(QColor(120, 140, 170));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
    return pixmap;
}
