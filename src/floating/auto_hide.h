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
// corner, or nothing when it stays. `strip` is where the strip is, docked
// or not, as if it were whole.
//
// Away from the mouse, a strip that reaches the left, right or top edge of
// its screen's work area (tested in that order) docks at that edge, all but
// kVisiblePixels of it beyond the edge, so it never lies over a panel; when
// the mouse is over what is left of it, it comes back to the edge. Only an
// outer edge docks: past an edge shared with another screen the strip would
// stay in sight on the neighbour. A strip on no screen at all (a screen went
// away) returns to its home position.
std::optional<QPoint> autoHideStep(const QRect& strip, const QPoint& cursor,
                                   const QList<ScreenArea>& screens);

// What of the strip the window really covers: all of it, except when it is
// docked, where only the kVisiblePixels inside the work area remain. A
// window manager keeps windows from moving themselves mostly off the screen,
// so a docked strip shrinks to that sliver rather than leaving the screen.
QRect shownPart(const QRect& strip, const QList<ScreenArea>& screens);

// The strip brought out of the edge it is docked at; itself when not docked.
QRect undocked(const QRect& strip, const QList<ScreenArea>& screens);

} // namespace autohide
