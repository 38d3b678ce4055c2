#include "auto_hide.h"

#include <algorithm>

namespace autohide {

namespace {

// Work areas leave the panels out, so a neighbour's work area may begin a
// panel's breadth beyond the edge: look at least this far for one.
constexpr int kNeighbourReach = 128;

qint64 overlapArea(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// Whether the strip, pushed to `beyond` past an edge of `screen`, would lie
// on another screen.
bool reachesAnotherScreen(const QRect& beyond, const QRect& screen, const QList<QRect>& areas) {
    for (const QRect& area : areas) {
        if (area != screen && area.intersects(beyond))
            return true;
    }
    return false;
}

bool onAnyScreen(const QRect& strip, const QList<QRect>& areas) {
    for (const QRect& area : areas) {
        if (area.intersects(strip))
            return true;
    }
    return false;
}

} // namespace

QPoint homePosition(const QSize& size, const QRect& primaryArea) {
    return {primaryArea.x() + (primaryArea.width() - size.width()) / 2, primaryArea.y()};
}

QRect screenOf(const QRect& strip, const QList<QRect>& areas) {
    if (areas.isEmpty())
        return {};
    // The centre as the design's arithmetic has it: left + width / 2.
    const QPoint centre(strip.x() + strip.width() / 2, strip.y() + strip.height() / 2);
    for (const QRect& area : areas) {
        if (area.contains(centre))
            return area;
    }
    QRect best = areas.first();
    qint64 bestOverlap = 0;
    for (const QRect& area : areas) {
        const qint64 overlap = overlapArea(strip, area);
        if (overlap > bestOverlap) {
            best = area;
            bestOverlap = overlap;
        }
    }
    return best;
}

std::optional<QPoint> autoHideStep(const QRect& strip, const QPoint& cursor, const QList<QRect>& areas) {
    if (areas.isEmpty() || strip.isEmpty())
        return std::nullopt;
    if (!onAnyScreen(strip, areas))
        return homePosition(strip.size(), areas.first());

    const QRect screen = screenOf(strip, areas);
    const int l = strip.x();
    const int t = strip.y();
    const int w = strip.width();
    const int h = strip.height();
    // Edges as the design counts them: the right edge is left + width.
    const int leftEdge = screen.x();
    const int rightEdge = screen.x() + screen.width();
    const int topEdge = screen.y();
    const int hidden = kVisiblePixels;

    const bool overStrip = l <= cursor.x() && cursor.x() <= l + w && t <= cursor.y() && cursor.y() <= t + h;
    const int across = std::max(w - hidden, kNeighbourReach);
    const int up = std::max(h - hidden, kNeighbourReach);
    const bool leftOuter = !reachesAnotherScreen({leftEdge - across, t, across, h}, screen, areas);
    const bool rightOuter = !reachesAnotherScreen({rightEdge, t, across, h}, screen, areas);
    const bool topOuter = !reachesAnotherScreen({l, topEdge - up, w, up}, screen, areas);

    QPoint target = strip.topLeft();
    if (!overStrip) {
        if (l <= leftEdge && leftOuter)
            target.setX(leftEdge + hidden - w);
        else if (l + w >= rightEdge && rightOuter)
            target.setX(rightEdge - hidden);
        else if (t <= topEdge && topOuter)
            target.setY(topEdge + hidden - h);
    } else {
        if (l <= leftEdge && leftOuter)
            target.setX(leftEdge);
        else if (l == rightEdge - hidden && rightOuter)
            target.setX(rightEdge - w);
        else if (t <= topEdge && topOuter)
            target.setY(topEdge);
    }
    if (target == strip.topLeft())
        return std::nullopt;
    return target;
}

} // namespace autohide
