#pragma once

#include <QBasicTimer>
#include <QPixmap>
#include <QWidget>

// One of the alert panel's 11 x 11 animated pictures beside a rule: a small
// arrow that pulses while the rule's condition holds. It animates only while
// shown, so a hidden picture costs nothing.
class IndicatorPicture : public QWidget {
    Q_OBJECT
public:
    enum class Direction { Down, Up };
    static constexpr int kFrames = 4;
    static constexpr int kFrameMs = 250;

    IndicatorPicture(QWidget* parent, Direction direction);

    int frame() const { return frame_; }
    bool isAnimating() const { return animation_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    Direction direction_;
    int frame_ = 0;
    QBasicTimer animation_;
    QPixmap background_;
};
