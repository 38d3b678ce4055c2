#pragma once

#include <QElapsedTimer>
#include <QObject>

// Prints every step of the news headline with the monotonic clock, for the
// scroll benchmark: "aurivex-trace news-step NS CPU WAIT", and
// "aurivex-trace news-headline" when the link jumps back to the right edge
// for a new headline. Installed as an event filter on the news link.
class NewsStepTrace : public QObject {
public:
    explicit NewsStepTrace(QObject* link);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QElapsedTimer clock_;
};
