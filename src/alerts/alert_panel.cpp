#include "alert_panel.h"

#include "ui/place.h"

#include <QGroupBox>

AlertPanel::AlertPanel(QWidget* rightColumn) : QObject(rightColumn) {
    group_ = place<QGroupBox>(rightColumn, QStringLiteral("分组框_提醒背景"), {1, 232, 260, 318},
                              QStringLiteral("提醒设置"));
    group_->setEnabled(false);
}
