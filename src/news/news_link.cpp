#include "news_link.h"

#include "news_strip.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

NewsLink::NewsLink(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, QColor(0, 0, 238));
    setPalette(colours);
}

void NewsLink::paintEvent(QPaintEvent* event) {
    const auto* strip = qobject_cast<const NewsStrip*>(parentWidget());
    if (strip && strip->grabbing())
        return;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    if (strip && testAttribute(Qt::WA_OpaquePaintEvent) && !strip->background().isNull())
        painter.drawPixmap(-x(), -y(), strip->background());
    if (text().isEmpty())
        return;
    if (laidOutText_ != text() || laidOutFont_ != font()) {
        laidOutText_ = text();
        laidOutFont_ = font();
        laidOut_ = QStaticText(laidOutText_);
        laidOut_.setTextFormat(Qt::PlainText);
        laidOut_.prepare(QTransform(), laidOutFont_);
        laidOutWidth_ = fontMetrics().horizontalAdvance(laidOutText_);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    // The glyphs end a row above the underline, which takes the last row.
    const int baseline = height() - 3;
    painter.drawStaticText(QPointF(0, baseline - fontMetrics().ascent()), laidOut_);
    const int width = std::min(this->width(), laidOutWidth_);
    painter.drawLine(0, height() - 1, width - 1, height() - 1);
}
