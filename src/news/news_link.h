#pragma once

#include <QLabel>

// The scrolling headline, drawn as a link: plain text in the link colour,
// underlined. The strip's CJK font needs 16 pixels a line and puts its
// underline below that, so the link draws the line itself on its last row to
// keep both inside its 14 pixels.
class NewsLink : public QLabel {
    Q_OBJECT
public:
    explicit NewsLink(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
