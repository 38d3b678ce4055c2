#include "chart_tabs.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

ChartTabs::ChartTabs(QWidget* parent) : QWidget(parent), bar_(new QTabBar(this)) {
    bar_->setObjectName(QStringLiteral("qt_tabwidget_tabbar"));
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        showPage(index);
        emit currentChanged(index);
    });
}

QWidget* ChartTabs::addPage(const QString& caption) {
    auto* page = new QWidget(this);
    page->setGeometry(rect());
    pages_.append(page);
    bar_->addTab(caption);
    bar_->raise();
    showPage(bar_->currentIndex());
    return page;
}

int ChartTabs::currentIndex() const {
    return bar_->currentIndex();
}

void ChartTabs::setCurrentIndex(int index) {
    bar_->setCurrentIndex(index);
}

int ChartTabs::tabRowHeight() const {
    return bar_->sizeHint().height();
}

void ChartTabs::showPage(int index) {
    for (int i = 0; i < pages_.size(); ++i)
        pages_[i]->setVisible(i == index);
}

void ChartTabs::resizeEvent(QResizeEvent*) {
    for (QWidget* page : pages_)
        page->setGeometry(rect());
    bar_->setGeometry(0, 0, std::min(width(), bar_->sizeHint().width()), tabRowHeight());
    bar_->raise();
}

void ChartTabs::paintEvent(QPaintEvent*) {
    // The pane under the tab row, drawn by the style like a tab widget's frame.
    QPainter painter(this);
    QStyleOptionTabWidgetFrame option;
    option.initFrom(this);
    option.rect = rect().adjusted(0, tabRowHeight() - 1, 0, 0);
    option.shape = QTabBar::RoundedNorth;
    option.tabBarSize = bar_->sizeHint();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
}
