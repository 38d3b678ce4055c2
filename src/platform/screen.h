#pragma once

#include <QRect>
#include <QSize>

// The primary screen as the windows need it.
class Screen {
public:
    virtual ~Screen() = default;
    virtual QSize size() const = 0;
    // The screen less the task bar and panels.
    virtual QRect workArea() const = 0;
};

class PrimaryScreen : public Screen {
public:
    QSize size() const override;
    QRect workArea() const override;
};
