#include "vertical_label.h"

#include <QPainter>

void VerticalLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const int columnWidth = metrics.horizontalAdvance(QStringLiteral("国")) + 2;
    const QRect area = contentsRect();
    int right = area.right() + 1;
    int y = area.top();
    const QList<uint> characters = text().toUcs4();
    for (const uint character : characters) {
        const bool space = QChar::isSpace(static_cast<char32_t>(character));
        if (space || y + lineHeight > area.bottom() + 1) {
            right -= columnWidth;
            y = area.top();
            if (space)
                continue;
        }
        const QString glyph = QString::fromUcs4(reinterpret_cast<const char32_t*>(&character), 1);
        painter.drawText(QRect(right - columnWidth, y, columnWidth, lineHeight), Qt::AlignCenter, glyph);
        y += lineHeight;
    }
}
