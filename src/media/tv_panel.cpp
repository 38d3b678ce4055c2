#include "tv_panel.h"

#include "ui/place.h"

#include <QActionGroup>
#include <QGroupBox>
#include <QMenu>

TvPanel::TvPanel(QWidget* rightColumn, QWidget* window) : QObject(rightColumn) {
    group_ = place<QGroupBox>(rightColumn, QStringLiteral("分组框_频道背景"), {1, 1, 260, 228},
                              QStringLiteral("财经频道"));
    group_->setEnabled(false);

    channelMenu_ = new QMenu(QStringLiteral("电视频道"), window);
    channelMenu_->setObjectName(QStringLiteral("电视频道"));
    auto* channels = new QActionGroup(channelMenu_);
    for (const char* channel : {"第一财经一", "第一财经二", "中央电视二台"}) {
        QAction* action = channelMenu_->addAction(QString::fromUtf8(channel));
        action->setCheckable(true);
        action->setActionGroup(channels);
    }
    channelMenu_->actions().first()->setChecked(true);
}
