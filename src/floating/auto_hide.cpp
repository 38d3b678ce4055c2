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

std::optional<QPoint> autoHideStep(const QRect& strip, const QPoint& cursor,
                                   const QList<ScreenArea>& screens) {
    if (screens.isEmpty() || strip.isEmpty())
        return std::nullopt;
    if (!onAnyScreen(strip, screens))
        return homePosition(strip.size(), screens.first().work);

    const ScreenArea on = screenOf(strip, screens);
    const QRect& whole = on.whole;
    const QRect& work = on.work;
    const int l = strip.x();
    const int t = strip.y();
    const int w = strip.width();
    const int h = strip.height();
    const int shown = kVisiblePixels;
    const int dockedRight = rightOf(whole) - shown;

    const bool overStrip = l <= cursor.x() && cursor.x() <= l + w && t <= cursor.y() && cursor.y() <= t + h;
    const bool leftOuter = !reachesAnotherScreen({whole.x() - (w - shown), t, w - shown, h}, whole, screens);
    const bool rightOuter = !reachesAnotherScreen({rightOf(whole), t, w - shown, h}, whole, screens);
    const bool topOuter = !reachesAnotherScreen({l, whole.y() - (h - shown), w, h - shown}, whole, screens);
    const bool atLeft = l <= work.x() && leftOuter;
    const bool atTop = t <= work.y() && topOuter;

    QPoint target = strip.topLeft();
    if (!overStrip) {
        if (atLeft)
            target.setX(whole.x() + shown - w);
        else if (l + w >= rightOf(work) && rightOuter)
            target.setX(dockedRight);
        else if (atTop)
            target.setY(whole.y() + shown - h);
    } else {
        if (atLeft)
            target.setX(work.x());
        else if (l == dockedRight && rightOuter)
            target.setX(rightOf(work) - w);
        else if (atTop)
            target.setY(work.y());
    }
    if (target == strip.topLeft())
        return std::nullopt;
    return target;
}

} // namespace autohide
