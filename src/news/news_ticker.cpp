#include "news_ticker.h"

#include "ui/place.h"

#include <QLabel>

NewsTicker::NewsTicker(QWidget* client) : QObject(client) {
    strip_ = place<QWidget>(client, QStringLiteral("新闻背景画板"), {502, 668, 250, 16});
    link_ = place<QLabel>(strip_, QStringLiteral("新闻显示链接框"), {250, 0, 400, 16});
    strip_->raise();
}
