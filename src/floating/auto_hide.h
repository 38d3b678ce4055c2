#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

// Where the floating strip goes: its place when it opens, and docking at a
// screen edge while auto-hide is on. Rectangles are in desktop coordinates.
namespace autohide {

// Pixels of a docked strip that stay on screen, for the mouse to find.
constexpr int kVisiblePixels = 2;

struct ScreenArea {
    QRect whole; // the screen
    QRect work;  // less its panels
};

// The screens of a Screen seam, the primary one first.
QList<ScreenArea> screenAreas(const QList<QRect>& wholes, const QList<QRect>& works);

// Centred at the top of the primary screen's work area, below a top panel.
QPoint homePosition(const QSize& size, const QRect& primaryWork);

// The screen the strip is on: the one holding its centre, else the one it
// overlaps most (a docked strip's centre lies off screen), else the primary.
ScreenArea screenOf(const QRect& strip, const QList<ScreenArea>& screens);

// One tick of auto-hide with the mouse at `cursor`: the strip's new top-left
// corner, or nothing when it stays.
//
// Away from the mouse, a strip that reaches the left, right or top edge of
// its screen's work area (tested in that order) docks at that edge of the
// screen itself, kVisiblePixels left on screen; when the mouse is over it,
// it comes back to the work area's edge, beside the panel there. Only an
// outer edge docks: past an edge shared with another screen the strip would
// stay in sight on the neighbour. A strip on no screen at all (a screen went
// away) returns to its home position.
std::optional<QPoint> autoHideStep(const QRect& strip, const QPoint& cursor,
                                   const QList<ScreenArea>& screens);

} // namespace autohide
