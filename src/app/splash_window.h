#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>

class QLabel;
class Timer;
struct Services;

// The borderless welcome window. It fades in over 50 ticks, then opens the
// main window and goes away once the main window's start-up work is done.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 380;
    static constexpr int kHeight = 200;

    SplashWindow(const Services& services, std::function<void()> openMainWindow, QWidget* parent = nullptr);

    int fadeCounter() const { return fadeCounter_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void onFadeTick();
    void onIndicatorTick();
    void centreOnScreen(const Services& services);

    std::function<void()> openMainWindow_;
    QLabel* versionLabel_;
    QLabel* indicatorLabel_;
    QLabel* statusLabel_;
    Timer* fadeTimer_;
    Timer* indicatorTimer_;
    QPixmap background_;
    int fadeCounter_ = 0;
    bool finished_ = false;
};
