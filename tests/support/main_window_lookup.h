#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

// Finding the main window's parts as a person would: commands by the caption
// the toolbar or a menu shows, windows by their design name.
namespace lookup {

// The command shown as `caption` on the toolbar ("模拟炒金") or in a menu
// ("模拟炒金(&G)"); null when there is none.
inline QAction* command(const QWidget* window, const QString& caption) {
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->text() == caption || action->iconText() == caption)
            return action;
    }
    return nullptr;
}

// Button `index` of the toolbar "工具条", left to right.
inline QAction* toolbarButton(const QWidget* window, int index) {
    const auto* toolbar = window->findChild<QToolBar*>(QStringLiteral("工具条"));
    return toolbar ? toolbar->actions().value(index) : nullptr;
}

// The open window of type T named `designName` that `window` owns; null when
// there is none or it has closed.
template <typename T> T* openWindow(const QWidget* window, const QString& designName) {
    for (T* child : window->findChildren<T*>(designName, Qt::FindDirectChildrenOnly)) {
        if (child->isVisible())
            return child;
    }
    return nullptr;
}

} // namespace lookup
