#pragma once

#include "app/main_layout.h"

#include <QList>
#include <QObject>
#include <functional>

class QLabel;
class QStatusBar;
class QToolBar;
class QWidget;

// The main window's client area laid out in the design's pixel coordinates:
// each frame control is bound to its rectangle of MainLayout, and on every
// resize of the client the bars are docked, the current rectangles gathered,
// the arithmetic run and the result applied.
class ClientLayout : public QObject {
public:
    ClientLayout(QWidget* client, QToolBar* toolbar, QStatusBar* statusBar, QLabel* statusPart1);

    void bind(QWidget* widget, QRect MainLayout::*field);
    void bind(QWidget* widget, std::array<QRect, MainLayout::kPages> MainLayout::*fields, size_t page);
    // Runs after every placement, for what lies on the placed controls.
    void afterPlacing(std::function<void(const MainLayout&)> then) { afterPlacing_ = std::move(then); }

    // Lays the client area out for its current size.
    void layOut();
    // The fold buttons of the right column.
    void toggleTvGroup();
    void toggleAlertGroup();

private:
    struct Binding {
        QWidget* widget;
        std::function<QRect&(MainLayout&)> field;
    };

    MainLayout current() const;
    void place(const MainLayout& layout);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* client_;
    QToolBar* toolbar_;
    QStatusBar* statusBar_;
    QLabel* statusPart1_;
    QList<Binding> bindings_;
    std::function<void(const MainLayout&)> afterPlacing_;
};
