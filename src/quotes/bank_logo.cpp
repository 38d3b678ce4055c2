#include "bank_logo.h"

#include <QFont>
#include <QPainter>

QPixmap paintBankMark(const QString& sealCharacter, const QString& name, const QColor& colour) {
    QPixmap pixmap(100, 27);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF seal(2, 2, 23, 23);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(seal);
    p.setPen(QPen(Qt::white, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(seal.adjusted(2.5, 2.5, -2.5, -2.5));
    QFont sealFont(QStringLiteral("黑体"));
    sealFont.setPixelSize(12);
    sealFont.setBold(true);
    p.setFont(sealFont);
    p.setPen(Qt::white);
    p.drawText(seal, Qt::AlignCenter, sealCharacter);

    QFont nameFont(QStringLiteral("黑体"));
    nameFont.setPixelSize(14);
    p.setFont(nameFont);
    p.setPen(colour.darker(130));
    p.drawText(QRectF(30, 0, 70, 27), Qt::AlignLeft | Qt::AlignVCenter, name);
    return pixmap;
}
