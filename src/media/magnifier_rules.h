#pragma once

#include "platform/key_watch.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

// Where the magnifier reads the screen and where it shows it, and the key
// poll that ends it.
namespace magnifierrules {

constexpr int kZoom = 2;
constexpr int kTickMs = 50;

// Covering the whole screen, for a desktop that can leave the window out of
// its own capture: the screen from (mx / 2, my / 2), SW x SH, drawn twice as
// large from the window's top left, so the point under the mouse stays under
// it. The window shows only the top-left quarter of that, visibleSource().
QRect fullScreenSource(const QSize& screen, const QPoint& cursor);
QRect visibleSource(const QRect& source);

// A lens beside the pointer, for a desktop that cannot leave a window out of
// a capture: it shows twice enlarged a region centred on the pointer (moved
// inside the screen at its edges) and never covers that region, so it never
// shows itself.
struct Lens {
    QRect source; // screen coordinates
    QRect window; // screen coordinates, kZoom times the source's size
};
// The region magnified: at most kLensSource, and small enough for the lens to
// fit beside it on either side, whatever the pointer's place.
QSize lensSourceSize(const QRect& screen);
Lens lensAt(const QRect& screen, const QPoint& cursor);
constexpr QSize kLensSource{240, 180};

// One key of the poll, and the name the poll gives it.
struct PolledKey {
    WatchedKey key;
    QString name;
};
// The keys polled in their order, up to F12: any of them newly pressed masks
// a later one for that poll.
const QList<PolledKey>& polledKeys();

// The first key of the poll that is down and went down since its previous
// poll, by its name ("[F12]", "[SHIFT]", ...); empty when none. The keys after
// it are not polled, so their presses wait for the next poll.
QString pressedKeyName(const std::function<KeyWatch::State(const WatchedKey&)>& poll);
inline const QString kCloseKey = QStringLiteral("[F12]");

} // namespace magnifierrules
