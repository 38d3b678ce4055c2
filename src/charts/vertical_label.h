#pragma once

#include <QLabel>

// A label whose text runs top to bottom, one character under the other, in
// columns from right to left; a space or the foot of the label starts the
// next column. text() keeps the caption as written.
class VerticalLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};
