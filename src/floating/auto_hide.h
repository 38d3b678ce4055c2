#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

// Where the floating strip goes: its place when it opens, and docking at a
// screen edge while auto-hide is on. Screens are given as their work areas in
// desktop coordinates, the primary one first.
namespace autohide {

// Pixels of a docked strip that stay on screen, for the mouse to find.
constexpr int kVisiblePixels = 2;

// Centred at the top of the primary screen's work area.
QPoint homePosition(const QSize& size, const QRect& primaryArea);

// The screen the strip is on: the one holding its centre, else the one it
// overlaps most (a docked strip's centre lies off screen), else the primary.
QRect screenOf(const QRect& strip, const QList<QRect>& areas);

// One tick of auto-hide with the mouse at `cursor`: the strip's new top-left
// corner, or nothing when it stays. Away from the mouse a strip touching the
// left, right or top edge of its screen (tested in that order) docks there
// with kVisiblePixels left on screen; under the mouse it comes back. Only an
// outer edge docks: beyond an edge shared with another screen (or with its
// panel) the strip would stay in sight on the neighbour. A strip on no screen at all (a
// screen went away) returns to its home position.
std::optional<QPoint> autoHideStep(const QRect& strip, const QPoint& cursor, const QList<QRect>& areas);

} // namespace autohide
