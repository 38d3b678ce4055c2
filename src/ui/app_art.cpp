#include "app_art.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <functional>
#include <iterator>

namespace appart {

namespace {

const QColor kInk(31, 78, 140);
const QColor kGold(217, 165, 32);
const QColor kRed(196, 52, 52);
const QColor kGreen(40, 140, 80);
const QColor kPaper(250, 252, 255);

QPen ink(qreal width = 2.2) {
    return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Every image is drawn on a 32 × 32 canvas, scaled to the size asked for.
QImage drawnAt(int size, const std::function<void(QPainter&)>& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    p.end();
    return image;
}

// An icon drawn at the common sizes, up to 256 for sharp large icons on
// scaled screens, each when it is first asked for: a toolbar shows one size,
// and every size of every image drawn at once held 5 MB. A size between them
// is the next larger one scaled down, a disabled or selected icon the style's
// version of it, as for an icon made of pixmaps.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(std::function<void(QPainter&)> draw) : draw_(std::move(draw)) {}

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = drawnSide(size);
        return QSize(side, side).scaled(size.boundedTo(QSize(side, side)), Qt::KeepAspectRatio);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const int side = drawnSide(size);
        QPixmap& drawnPixmap = drawn_[side];
        if (drawnPixmap.isNull())
            drawnPixmap = QPixmap::fromImage(drawnAt(side, draw_));
        QPixmap shown = drawnPixmap;
        const QSize wanted = actualSize(size, mode, state);
        if (shown.size() != wanted)
            shown = shown.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Normal)
            return shown;
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, shown, &option);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const QSize size = rect.size() * painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : kSides)
            sizes << QSize(side, side);
        return sizes;
    }
    QIconEngine* clone() const override { return new DrawnIconEngine(draw_); }

private:
    static constexpr int kSides[] = {16, 20, 24, 32, 48, 64, 128, 256};

    // The smallest drawn size that covers the one asked for.
    static int drawnSide(const QSize& size) {
        const int wanted = std::max(size.width(), size.height());
        for (int side : kSides) {
            if (side >= wanted)
                return side;
        }
        return kSides[std::size(kSides) - 1];
    }

    std::function<void(QPainter&)> draw_;
    QHash<int, QPixmap> drawn_;
};

QIcon drawn(const std::function<void(QPainter&)>& draw) {
    return QIcon(new DrawnIconEngine(draw));
}

void frame(QPainter& p, const QRectF& r) {
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawRoundedRect(r, 3, 3);
}

void goldBar(QPainter& p, QPointF at, qreal w, qreal h) {
    QPainterPath path;
    path.moveTo(at.x(), at.y() + h);
    path.lineTo(at.x() + w * 0.18, at.y());
    path.lineTo(at.x() + w * 0.82, at.y());
    path.lineTo(at.x() + w, at.y() + h);
    path.closeSubpath();
    p.setPen(QPen(kGold.darker(150), 1.4));
    p.setBrush(kGold);
    p.drawPath(path);
}

void paintWindowIcon(QPainter& p) {
    goldBar(p, {2, 18}, 16, 10);
    goldBar(p, {14, 18}, 16, 10);
    goldBar(p, {8, 7}, 16, 10);
}

void candle(QPainter& p, qreal x, qreal low, qreal high, qreal open, qreal close) {
    const QColor colour = close < open ? kRed : kGreen; // y grows downwards: rising when close < open
    p.setPen(QPen(colour, 1.6));
    p.drawLine(QPointF(x, low), QPointF(x, high));
    p.setBrush(colour);
    p.drawRect(QRectF(x - 2.5, std::min(open, close), 5, std::abs(open - close)));
}

// Small window
void paintSmallWindow(QPainter& p) {
    frame(p, {3, 7, 26, 19});
    p.setBrush(kInk);
    p.drawRect(QRectF(3, 7, 26, 5));
    p.setPen(QPen(kRed, 2));
    p.drawLine(QPointF(7, 20), QPointF(25, 20));
}

// Market overview: four small charts
void paintOverview(QPainter& p) {
    for (int i = 0; i < 4; ++i) {
        const QRectF r(3 + (i % 2) * 14, 4 + (i / 2) * 13, 12, 11);
        frame(p, r);
        p.setPen(QPen(i % 3 == 0 ? kRed : kGreen, 1.6));
        p.drawLine(r.bottomLeft() + QPointF(2, -3), r.topRight() + QPointF(-2, 3));
    }
}

// Simulated trading: a coin
void paintCoin(QPainter& p) {
    p.setPen(QPen(kGold.darker(160), 2));
    p.setBrush(kGold);
    p.drawEllipse(QRectF(5, 5, 22, 22));
    p.setPen(QPen(Qt::white, 2.2));
    p.drawText(QRectF(5, 5, 22, 22), Qt::AlignCenter, QStringLiteral("¥"));
}

// Ledger: a notebook
void paintNotebook(QPainter& p) {
    frame(p, {7, 3, 20, 26});
    p.setPen(QPen(kInk, 1.6));
    for (qreal y : {10.0, 15.0, 20.0})
        p.drawLine(QPointF(11, y), QPointF(23, y));
    p.setPen(QPen(kRed, 3));
    p.drawLine(QPointF(7, 3), QPointF(7, 29));
}

// Influences: oil drop and dollar
void paintInfluences(QPainter& p) {
    p.setPen(ink(1.8));
    p.setBrush(QColor(60, 60, 60));
    QPainterPath drop;
    drop.moveTo(10, 4);
    drop.cubicTo(16, 14, 16, 20, 10, 20);
    drop.cubicTo(4, 20, 4, 14, 10, 4);
    p.drawPath(drop);
    p.setPen(QPen(kGreen, 2.4));
    p.drawText(QRectF(15, 12, 16, 18), Qt::AlignCenter, QStringLiteral("$"));
}

// Technical analysis: line and moving average
void paintTechnical(QPainter& p) {
    frame(p, {3, 4, 26, 24});
    p.setPen(QPen(kRed, 1.8));
    p.drawPolyline(QPolygonF({{6, 22}, {11, 15}, {15, 18}, {20, 10}, {26, 12}}));
    p.setPen(QPen(kGold, 1.8));
    p.drawPolyline(QPolygonF({{6, 24}, {13, 19}, {20, 15}, {26, 14}}));
}

// History: a clock face with an arrow
void paintHistoryClock(QPainter& p) {
    p.setPen(ink());
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(5, 5, 22, 22));
    p.drawLine(QPointF(16, 16), QPointF(16, 9));
    p.drawLine(QPointF(16, 16), QPointF(21, 19));
}

// Hide to the tray: arrow into a tray
void paintHideToTray(QPainter& p) {
    p.setPen(ink());
    p.drawLine(QPointF(16, 4), QPointF(16, 19));
    p.drawPolyline(QPolygonF({{10, 13}, {16, 19}, {22, 13}}));
    p.drawPolyline(QPolygonF({{5, 20}, {5, 27}, {27, 27}, {27, 20}}));
}

// Reference: an open book
void paintBook(QPainter& p) {
    p.setPen(ink(1.8));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF({{16, 8}, {4, 5}, {4, 25}, {16, 28}}));
    p.drawPolygon(QPolygonF({{16, 8}, {28, 5}, {28, 25}, {16, 28}}));
}

// Live gold: rising line over a bar
void paintLiveGold(QPainter& p) {
    goldBar(p, {6, 21}, 20, 7);
    p.setPen(QPen(kRed, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{4, 17}, {10, 11}, {15, 14}, {22, 5}, {28, 8}}));
}

// Lock
void paintLock(QPainter& p) {
    p.setPen(ink(2.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, 4, 14, 16), 0, 180 * 16);
    p.drawLine(QPointF(9, 12), QPointF(9, 15));
    p.drawLine(QPointF(23, 12), QPointF(23, 15));
    p.setPen(ink(1.8));
    p.setBrush(kGold);
    p.drawRoundedRect(QRectF(6, 14, 20, 14), 2, 2);
}

// Trading terminal: a monitor with a candle
void paintTerminal(QPainter& p) {
    frame(p, {3, 4, 26, 19});
    p.setPen(ink());
    p.drawLine(QPointF(12, 28), QPointF(20, 28));
    p.drawLine(QPointF(16, 23), QPointF(16, 28));
    candle(p, 12, 7, 20, 16, 10);
    candle(p, 20, 8, 20, 11, 17);
}

// K-line: candlesticks
void paintKLine(QPainter& p) {
    candle(p, 7, 8, 26, 22, 13);
    candle(p, 16, 4, 22, 8, 17);
    candle(p, 25, 6, 24, 20, 9);
}

// The toolbar's images, by their number in the design's image list.
void paintImage(QPainter& p, int index) {
    static constexpr void (*kImages[])(QPainter&) = {
        paintSmallWindow, paintOverview,     paintCoin,       paintNotebook, paintInfluences,
        paintTechnical,   paintHistoryClock, paintHideToTray, paintBook,     paintLiveGold,
        paintLock,        paintTerminal,     paintKLine,
    };
    if (index >= 0 && index < int(std::size(kImages)))
        kImages[index](p);
}

} // namespace

QIcon toolbarImage(int index) {
    return drawn([index](QPainter& p) { paintImage(p, index); });
}

QIcon windowIcon() {
    return drawn(paintWindowIcon);
}

QImage windowIconImage(int size) {
    return drawnAt(size, paintWindowIcon);
}

} // namespace appart
