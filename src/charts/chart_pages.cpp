#include "chart_pages.h"

#include "chart_tabs.h"
#include "ui/place.h"

#include <QFrame>

namespace {

constexpr int kSidePanelWidth = 62;

struct Page {
    const char* caption;
    const char* sidePanel;
    const char* content; // null on page 0
    QSize contentSize;
};

const Page kPageSpecs[ChartPages::kPages] = {
    {"24小时黄金", "一夹侧边控制背景框", nullptr, {}},
    {"历史黄金走势图", "二夹侧边控制背景框", "历史走势背景框", {600, 560}},
    {"影响走势图", "三夹侧边控制背景框", "影响走势背景框", {672, 560}},
    {"K线图", "四夹侧边控制背景框", "K线背景框", {600, 540}},
    {"技术分析", "五夹侧边控制背景框", "技术分析背景框", {660, 480}},
};

} // namespace

ChartPages::ChartPages(QWidget* parent) : QObject(parent) {
    tabs_ = new ChartTabs(parent);
    tabs_->setObjectName(QStringLiteral("高级选择夹"));
    tabs_->setGeometry(2, 52, 745, 614);
    tabs_->setFont(QFont(QStringLiteral("宋体"), 9));
    for (const Page& spec : kPageSpecs) {
        QWidget* page = tabs_->addPage(QString::fromUtf8(spec.caption));
        auto* side = place<QFrame>(page, QString::fromUtf8(spec.sidePanel),
                                   {745 - kSidePanelWidth - 1, 1, kSidePanelWidth, 611});
        side->setFrameShape(QFrame::StyledPanel);
        sidePanels_.append(side);
        if (!spec.content) {
            contentFrames_.append(nullptr);
            continue;
        }
        const QSize size = spec.contentSize;
        auto* content = place<QFrame>(page, QString::fromUtf8(spec.content),
                                      {(683 - size.width()) / 2, 30, size.width(), size.height()});
        content->setFrameShape(QFrame::StyledPanel);
        contentFrames_.append(content);
    }

    QWidget* page0 = tabs_->page(0);
    speedPanel_ = place<QFrame>(page0, QStringLiteral("速度调节背景框"), {2, 24, 660, 26});
    chart24_ = place<QFrame>(page0, QStringLiteral("浏览框_二十四小时黄金图超文本"), {95, 52, 492, 310});
    chart24_->setFrameShape(QFrame::StyledPanel);
}

QWidget* ChartPages::page(int index) const {
    return tabs_->page(index);
}

void ChartPages::select(int index) {
    tabs_->setCurrentIndex(index);
}
