#pragma once

#include "platform/tray.h"

#include <QObject>
#include <QPointer>

class Commands;
class QMenu;
class QStatusBar;
class QWidget;
class Timer;

// Hiding the main window to the notification area and bringing it back. The
// icon is there only while the window is hidden. Where the desktop has no
// notification area the window is minimised instead: a hidden window there
// could never be brought back.
class TrayController : public QObject {
    Q_OBJECT
public:
    TrayController(QWidget* window, Tray& tray, Commands& commands, QStatusBar* statusBar);
    // The icon goes with the program.
    ~TrayController() override;

    // Only while the window is visible: the icon with its tip, the balloon,
    // then the window hides.
    void hideToTray();
    // The window visible again, then the icon removed.
    void showFromTray();
    // The window to the front from wherever it is: the tray, minimised, behind others.
    void bringForward();

    // "托盘右键菜单", the icon's right-click menu.
    QMenu* menu() const { return menu_; }

private:
    void onActivated(Tray::Activation how);
    void buildMenu(Commands& commands);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* window_;
    Tray& tray_;
    QPointer<QStatusBar> statusBar_;
    QMenu* menu_;
    // Clears the no-tray notice a while after the window is back.
    Timer* noticeTimer_;
    bool toldNoTray_ = false;
};
