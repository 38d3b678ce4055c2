#include "demo_mark.h"

#include "ui/place.h"

#include <QLabel>

namespace demomark {

QString text() {
    return QStringLiteral("演示行情");
}

QString explanation() {
    return QStringLiteral(
        "演示行情：价格来自随软件安装的演示数据服务，是模拟数据，并非银行真实报价。\n"
        "在用户目录的 endpoints.ini 中填写真实行情服务器的地址，重新启动后即显示真实行情。");
}

QLabel* place(QWidget* parent, const QString& name, const QRect& rect, const QString& caption,
              int pixelSize) {
    auto* mark = ::place<QLabel>(parent, name, rect, caption);
    mark->setTextFormat(Qt::PlainText);
    mark->setAlignment(Qt::AlignCenter);
    mark->setToolTip(explanation());
    // Set on the label itself, so that no skin or window style sheet tones it down.
    mark->setStyleSheet(QStringLiteral("QLabel { color: white; background: #c8102e; border-radius: 3px;"
                                       " font-weight: bold; font-size: %1px; padding: 0px; }")
                            .arg(pixelSize));
    mark->hide();
    return mark;
}

} // namespace demomark
