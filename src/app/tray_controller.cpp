#include "tray_controller.h"

#include "app/commands.h"
#include "platform/timer.h"
#include "ui/app_art.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QStatusBar>
#include <QWidget>

namespace {

constexpr int kNoticeLingerMs = 15000;

QString trayTip() {
    return QStringLiteral("Aurivex，双击打开主窗口！");
}

QString noTrayNotice() {
    return QStringLiteral("桌面没有系统托盘，主窗口已最小化到任务栏。");
}

// A tray menu item stands for its command under its tray caption: it does
// what the command does and is enabled exactly when the command is.
QAction* addCommandItem(QMenu* menu, Command command, QAction* action) {
    const QString caption = Commands::trayCaption(command);
    QAction* item = menu->addAction(caption);
    item->setObjectName(QStringLiteral("托盘菜单_") + caption);
    item->setEnabled(action->isEnabled());
    QObject::connect(action, &QAction::changed, item,
                     [item, action] { item->setEnabled(action->isEnabled()); });
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    return item;
}

} // namespace

TrayController::TrayController(QWidget* window, Tray& tray, Commands& commands, QStatusBar* statusBar)
    : QObject(window), window_(window), tray_(tray), statusBar_(statusBar),
      noticeTimer_(new Timer(this, QStringLiteral("时钟_托盘提示清除"))) {
    buildMenu(commands);
    tray_.setContextMenu(menu_);
    connect(&tray_, &Tray::activated, this, &TrayController::onActivated);
    connect(noticeTimer_, &Timer::timeout, this, [this] {
        noticeTimer_->setInterval(0);
        if (statusBar_ && statusBar_->currentMessage() == noTrayNotice())
            statusBar_->clearMessage();
    });
    window_->installEventFilter(this);
}

TrayController::~TrayController() {
    tray_.setContextMenu(nullptr);
    if (tray_.isShown())
        tray_.hide();
}

void TrayController::buildMenu(Commands& commands) {
    menu_ = new QMenu(window_);
    menu_->setObjectName(QStringLiteral("托盘右键菜单"));
    for (const std::optional<Command>& item : Commands::trayMenu()) {
        if (item)
            addCommandItem(menu_, *item, commands.action(*item));
        else
            menu_->addSeparator();
    }
}

void TrayController::hideToTray() {
    if (!window_->isVisible() || window_->isMinimized())
        return;
    if (!tray_.isAvailable()) {
        // Nowhere to hide to: the task bar keeps the window within reach.
        window_->showMinimized();
        if (!toldNoTray_ && statusBar_) {
            toldNoTray_ = true;
            statusBar_->showMessage(noTrayNotice());
        }
        return;
    }
    tray_.show(appart::windowIcon(), trayTip());
    tray_.showMessage(QStringLiteral("提示："), QStringLiteral("我跑到这里来了，双击我重新显示主窗口！"));
    window_->hide();
}

void TrayController::showFromTray() {
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
    if (tray_.isShown())
        tray_.hide();
}

void TrayController::bringForward() {
    showFromTray();
}

void TrayController::onActivated(Tray::Activation how) {
    // A double-click brings the window back. A StatusNotifierItem host sends
    // one activation for a click and never a double-click, so there a click
    // does; where the tray reports double-clicks a single click is ignored.
    if (window_->isVisible())
        return;
    if (how == Tray::Activation::DoubleClick ||
        (how == Tray::Activation::Click && !tray_.reportsDoubleClicks()))
        showFromTray();
}

bool TrayController::eventFilter(QObject* watched, QEvent* event) {
    // The no-tray notice stays until the window is back, and a while longer.
    if (watched == window_ && event->type() == QEvent::WindowStateChange && !window_->isMinimized() &&
        statusBar_ && statusBar_->currentMessage() == noTrayNotice())
        noticeTimer_->setInterval(kNoticeLingerMs);
    return QObject::eventFilter(watched, event);
}
