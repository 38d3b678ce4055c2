#pragma once

#include <QObject>

class QLabel;
class QWidget;

// The news headline strip laid over the main window's status bar:
// "新闻背景画板" clips the scrolling link "新闻显示链接框". The news list is not
// fetched yet, so the strip stays empty.
class NewsTicker : public QObject {
    Q_OBJECT
public:
    // Builds the strip on `client`, over the status bar.
    explicit NewsTicker(QWidget* client);

    QWidget* strip() const { return strip_; }
    QLabel* link() const { return link_; }

private:
    QWidget* strip_;
    QLabel* link_;
};
