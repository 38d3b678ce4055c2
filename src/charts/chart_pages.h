#pragma once

#include <QList>
#include <QObject>

class ChartTabs;
class QFrame;
class QWidget;

// "高级选择夹": the five chart pages of the main window, each with its side
// panel and content frame. Page 0 holds the 24-hour chart above the speed
// panel; the bank panel is placed on it by the quote display.
class ChartPages : public QObject {
    Q_OBJECT
public:
    static constexpr int kPages = 5;

    // Builds the tab control and its pages on `parent`.
    explicit ChartPages(QWidget* parent);

    ChartTabs* tabs() const { return tabs_; }
    QWidget* page(int index) const;
    QFrame* sidePanel(int index) const { return sidePanels_.value(index); }
    // Null for page 0, whose content is the 24-hour chart and the bank panel.
    QFrame* contentFrame(int index) const { return contentFrames_.value(index); }
    QFrame* chart24() const { return chart24_; }
    QFrame* speedPanel() const { return speedPanel_; }

    // `selectChartPage`: makes page `index` current.
    void select(int index);

private:
    ChartTabs* tabs_;
    QList<QFrame*> sidePanels_;
    QList<QFrame*> contentFrames_;
    QFrame* chart24_ = nullptr;
    QFrame* speedPanel_ = nullptr;
};
