#pragma once

#include <QObject>

class QGroupBox;
class QMenu;
class QWidget;

// "分组框_频道背景" ("财经频道"): the TV player in the main window's right
// column, and its channel menu "电视频道", which pops up from the panel and
// never shows in the menu bar. The player is not built yet, so the group
// stays disabled.
class TvPanel : public QObject {
    Q_OBJECT
public:
    // Builds the group on `rightColumn` and the channel menu on `window`.
    TvPanel(QWidget* rightColumn, QWidget* window);

    QGroupBox* group() const { return group_; }
    QMenu* channelMenu() const { return channelMenu_; }

private:
    QGroupBox* group_;
    QMenu* channelMenu_;
};
