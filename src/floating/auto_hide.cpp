#include "auto_hide.h"

namespace autohide {

namespace {

qint64 overlapArea(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// Whether `beyond`, just past an edge of `own`, lies on another screen.
bool reachesAnotherScreen(const QRect& beyond, const QRect& own, const QList<ScreenArea>& screens) {
    for (const ScreenArea& screen : screens) {
        if (screen.whole != own && screen.whole.intersects(beyond))
            return true;
    }
    return false;
}

bool onAnyScreen(const QRect& strip, const QList<ScreenArea>& screens) {
    for (const ScreenArea& screen : screens) {
        if (screen.whole.intersects(strip))
            return true;
    }
    return false;
}

// Right and bottom as the design counts them: left + width.
int rightOf(const QRect& rect) {
    return rect.x() + rect.width();
}

} // namespace

QList<ScreenArea> screenAreas(const QList<QRect>& wholes, const QList<QRect>& works) {
    QList<ScreenArea> screens;
    for (qsizetype i = 0; i < wholes.size(); ++i)
        screens.append({wholes[i], works.value(i, wholes[i])});
    return screens;
}

QPoint homePosition(const QSize& size, const QRect& primaryWork) {
    return {primaryWork.x() + (primaryWork.width() - size.width()) / 2, primaryWork.y()};
}

ScreenArea screenOf(const QRect& strip, const QList<ScreenArea>& screens) {
    if (screens.isEmpty())
        return {};
    const QPoint centre(strip.x() + strip.width() / 2, strip.y() + strip.height() / 2);
    for (const ScreenArea& screen : screens) {
        if (screen.whole.contains(centre))
            return screen;
    }
    ScreenArea best = screens.first();
    qint64 bestOverlap = 0;
    for (const ScreenArea& screen : screens) {
        const qint64 overlap = overlapArea(strip, screen.whole);
        if (overlap > bestOverlap) {
            best = screen;
            bestOverlap = overlap;
        }
    }
    return best;
}

namespace {

// The edges of the strip's screen that it may dock at, and where it docks.
struct Edges {
    ScreenArea on;
    bool leftOuter;
    bool rightOuter;
    bool topOuter;
    int dockedLeft;  // x docked at the left edge
    int dockedRight; // x docked at the right edge
    int dockedTop;   // y docked at the top edge
};

Edges edgesOf(const QRect& strip, const QList<ScreenArea>& screens) {
    const ScreenArea on = screenOf(strip, screens);
    const QRect& whole = on.whole;
    const QRect& work = on.work;
    const int w = strip.width();
    const int h = strip.height();
    const int hidden = kVisiblePixels;
    return {on,
            !reachesAnotherScreen({whole.x() - (w - hidden), strip.y(), w - hidden, h}, whole, screens),
            !reachesAnotherScreen({rightOf(whole), strip.y(), w - hidden, h}, whole, screens),
            !reachesAnotherScreen({strip.x(), whole.y() - (h - hidden), w, h - hidden}, whole, screens),
            work.x() + hidden - w,
            rightOf(work) - hidden,
            work.y() + hidden - h};
}

} // namespace

QRect shownPart(const QRect& strip, const QList<ScreenArea>& screens) {
    if (screens.isEmpty() || strip.isEmpty())
        return strip;
    const Edges edges = edgesOf(strip, screens);
    const QRect& work = edges.on.work;
    if (strip.x() == edges.dockedLeft && edges.leftOuter)
        return {work.x(), strip.y(), kVisiblePixels, strip.height()};
    if (strip.x() == edges.dockedRight && edges.rightOuter)
        return {edges.dockedRight, strip.y(), kVisiblePixels, strip.height()};
    if (strip.y() == edges.dockedTop && edges.topOuter)
        return {strip.x(), work.y(), strip.width(), kVisiblePixels};
    return strip;
}

QRect undocked(const QRect& strip, const QList<ScreenArea>& screens) {
    const QRect shown = shownPart(strip, screens);
    if (shown == strip)
        return strip;
    const std::optional<QPoint> out = autoHideStep(strip, shown.topLeft(), screens);
    return out ? QRect(*out, strip.size()) : strip;
}

std::optional<QPoint> autoHideStep(const QRect& strip, const QPoint& cursor,
                                   const QList<ScreenArea>& screens) {
    if (screens.isEmpty() || strip.isEmpty())
        return std::nullopt;
    if (!onAnyScreen(strip, screens))
        return homePosition(strip.size(), screens.first().work);

    const Edges edges = edgesOf(strip, screens);
    const QRect& work = edges.on.work;
    const int l = strip.x();
    const int t = strip.y();
    const int w = strip.width();

    // What the mouse can touch: a docked strip's sliver. Right and bottom
    // count as inside, as the design has it.
    const QRect shown = shownPart(strip, screens);
    const bool overStrip = shown.x() <= cursor.x() && cursor.x() <= rightOf(shown) &&
                           shown.y() <= cursor.y() && cursor.y() <= shown.y() + shown.height();
    const bool atLeft = l <= work.x() && edges.leftOuter;
    const bool atTop = t <= work.y() && edges.topOuter;

    QPoint target = strip.topLeft();
    if (!overStrip) {
        if (atLeft)
            target.setX(edges.dockedLeft);
        else if (l + w >= rightOf(work) && edges.rightOuter)
            target.setX(edges.dockedRight);
        else if (atTop)
            target.setY(edges.dockedTop);
    } else {
        if (atLeft)
            target.setX(work.x());
        else if (l == edges.dockedRight && edges.rightOuter)
            target.setX(rightOf(work) - w);
        else if (atTop)
            target.setY(work.y());
    }
    if (target == strip.topLeft())
        return std::nullopt;
    return target;
}

} // namespace autohide
