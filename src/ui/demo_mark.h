#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// The mark every window that shows prices wears while they come from the demo
// portal, so simulated prices never pass for a bank's: white on red, in a
// label of its own beside the prices, never inside a text the program shows
// otherwise.
namespace demomark {

// "演示行情"
QString text();
// What the mark means and how to get real prices, for its tooltip.
QString explanation();

// A hidden mark on `parent`, its caption `pixelSize` pixels high; show it
// while the feed is the demo.
QLabel* place(QWidget* parent, const QString& name, const QRect& rect, const QString& caption = text(),
              int pixelSize = 12);

} // namespace demomark
