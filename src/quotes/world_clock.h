#pragma once

#include <QObject>
#include <array>

class Clock;
class QFrame;
class QLabel;
class QWidget;
class Timer;

// The strip of four world clocks under the toolbar: Beijing (the local
// clock), London, New York and Sydney at fixed hour offsets.
class WorldClock : public QObject {
    Q_OBJECT
public:
    // Builds the strip on `client` and its timer on `mainWindow`.
    WorldClock(QWidget* mainWindow, QWidget* client, Clock& clock);

    QFrame* bar() const { return bar_; }
    QWidget* panel() const { return panel_; }
    void tick();

private:
    Clock& clock_;
    QFrame* bar_;
    QWidget* panel_;
    std::array<QLabel*, 4> times_{};
    Timer* timer_;
};
