#include "client_layout.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

ClientLayout::ClientLayout(QWidget* client, QToolBar* toolbar, QStatusBar* statusBar, QLabel* statusPart1)
    : QObject(client), client_(client), toolbar_(toolbar), statusBar_(statusBar), statusPart1_(statusPart1) {
    client_->installEventFilter(this);
}

void ClientLayout::bind(QWidget* widget, QRect MainLayout::*field) {
    bindings_.append({widget, [field](MainLayout& l) -> QRect& { return l.*field; }});
}

void ClientLayout::bind(QWidget* widget, std::array<QRect, MainLayout::kPages> MainLayout::*fields,
                        size_t page) {
    bindings_.append({widget, [fields, page](MainLayout& l) -> QRect& { return (l.*fields)[page]; }});
}

MainLayout ClientLayout::current() const {
    MainLayout l;
    l.toolbarHeight = toolbar_->height();
    for (const Binding& binding : bindings_)
        binding.field(l) = binding.widget->geometry();
    l.statusPart1Width = statusPart1_->width();
    return l;
}

void ClientLayout::place(const MainLayout& layout) {
    MainLayout l = layout;
    for (const Binding& binding : bindings_)
        binding.widget->setGeometry(binding.field(l));
    statusPart1_->setFixedWidth(std::max(0, l.statusPart1Width));
    if (afterPlacing_)
        afterPlacing_(l);
}

void ClientLayout::layOut() {
    const int w = client_->width();
    const int h = client_->height();
    // The docked bars first: toolbar along the top, status bar along the bottom.
    toolbar_->setGeometry(0, 0, w, MainLayout::kToolbarHeight);
    statusBar_->setGeometry(0, h - MainLayout::kStatusHeight, w, MainLayout::kStatusHeight);
    MainLayout layout = current();
    layout.apply(w, h);
    place(layout);
}

void ClientLayout::toggleTvGroup() {
    MainLayout layout = current();
    folds::toggleTvGroup(layout);
    place(layout);
}

void ClientLayout::toggleAlertGroup() {
    MainLayout layout = current();
    folds::toggleAlertGroup(layout);
    place(layout);
}

bool ClientLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        layOut();
    return QObject::eventFilter(watched, event);
}
