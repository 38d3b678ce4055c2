#include "news_link.h"

#include <QPainter>
#include <algorithm>

NewsLink::NewsLink(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 238));
    setPalette(colours);
}

void NewsLink::paintEvent(QPaintEvent*) {
    if (text().isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    // The glyphs end a row above the underline, which takes the last row.
    const int baseline = height() - 3;
    painter.drawText(QPoint(0, baseline), text());
    const int width = std::min(this->width(), fontMetrics().horizontalAdvance(text()));
    painter.drawLine(0, height() - 1, width - 1, height() - 1);
}
