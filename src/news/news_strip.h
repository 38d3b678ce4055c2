#pragma once

#include <QPixmap>
#include <QWidget>

// The clip the headline scrolls in. It lies over the skinned status bar and
// looks transparent, but a headline step must not make the status bar and
// the window beneath paint again 66 times a second: the strip keeps a
// picture of what lies beneath it and paints that itself, opaquely, so a
// step repaints only the strip and the link. The picture is taken anew
// whenever the strip moves, resizes, shows or its look changes, and when
// refreshBackground() is called; until it is taken the strip is see-through.
class NewsStrip : public QWidget {
    Q_OBJECT
public:
    explicit NewsStrip(QWidget* parent = nullptr);

    // What the widgets beneath draw under the strip; null until taken.
    const QPixmap& background() const { return background_; }
    // True while the picture is being taken: the strip and its children draw
    // nothing then.
    bool grabbing() const { return grabbing_; }
    // Takes the picture now (after something beneath changed).
    void refreshBackground();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setOpaque(bool opaque);
    void scheduleRefresh();

    QPixmap background_;
    bool grabbing_ = false;
    bool refreshQueued_ = false;
};
