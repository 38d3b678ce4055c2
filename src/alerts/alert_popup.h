#pragma once

#include <QWidget>
#include <optional>

class QLabel;
class Screen;
class Timer;

// "Aurisa提醒您：": the alert note that slides up out of the lower right edge
// of the work area and rests on it until it is double-clicked. It draws its
// own title bar, by which it can be dragged, so its size and place are exact
// under any window manager; it does not take the keyboard from the program
// the user is in.
class AlertPopup : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 326;
    static constexpr int kHeight = 127;
    // Five pixels a tick at the Windows timer's pace of about 15.6 ms: the
    // slide from below the edge takes about 0.4 s.
    static constexpr int kStep = 5;
    static constexpr int kTickMs = 16;

    // Placed below the work area of `screen`, ready to slide in once shown.
    AlertPopup(const Screen& screen, QWidget* parent = nullptr);

    // "Aurisa提醒您："
    static QString title();
    // What the note says under the message while the prices are the demo's.
    static QString demoLine();

    void setMessage(const QString& text);
    QString message() const;
    // The prices that hit came from the demo portal: the note says so under the message.
    void setDemoFeed(bool demo);
    // The top at which the slide ends.
    int targetTop() const { return targetTop_; }

    // One slide step.
    void slide();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void wakeIfBelowTarget();

    QLabel* text_;
    QLabel* demoMark_;
    Timer* slideTimer_;
    int targetTop_ = 0;
    std::optional<QPoint> dragOffset_;
};
