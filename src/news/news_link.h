#pragma once

#include <QLabel>
#include <QStaticText>

// The scrolling headline, drawn as a link: plain text in the link colour,
// underlined. The strip's CJK font needs 16 pixels a line and puts its
// underline below that, so the link draws the line itself on its last row to
// keep both inside its 14 pixels.
//
// Inside a NewsStrip that has its background picture, the link paints its
// part of that picture under the text, so it is opaque and a step moves it
// without the widgets beneath painting. The text is laid out once per
// headline, not once per step.
class NewsLink : public QLabel {
    Q_OBJECT
public:
    explicit NewsLink(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStaticText laidOut_;
    QString laidOutText_;
    QFont laidOutFont_;
    int laidOutWidth_ = 0;
};
