#pragma once

#include <QList>
#include <QWidget>

class QTabBar;

// The main window's tab control. Unlike QTabWidget, every page covers the
// whole control with the tab row laid over its top, so that the controls on a
// page are placed in the tab control's own coordinates, as the window's layout
// arithmetic expects.
class ChartTabs : public QWidget {
    Q_OBJECT
public:
    explicit ChartTabs(QWidget* parent = nullptr);

    QWidget* addPage(const QString& caption);
    QWidget* page(int index) const { return pages_.value(index); }
    int count() const { return static_cast<int>(pages_.size()); }
    int currentIndex() const;
    void setCurrentIndex(int index);
    QTabBar* tabBar() const { return bar_; }
    // Height of the tab row, where page content should not go.
    int tabRowHeight() const;

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showPage(int index);

    QTabBar* bar_;
    QList<QWidget*> pages_;
};
