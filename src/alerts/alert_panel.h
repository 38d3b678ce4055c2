#pragma once

#include <QObject>

class QGroupBox;
class QWidget;

// "分组框_提醒背景" ("提醒设置"): the price alert settings in the main window's
// right column. Its controls are not built yet, so the group stays disabled.
class AlertPanel : public QObject {
    Q_OBJECT
public:
    // Builds the group on `rightColumn`.
    explicit AlertPanel(QWidget* rightColumn);

    QGroupBox* group() const { return group_; }

private:
    QGroupBox* group_;
};
