#pragma once

#include "ui/open_once.h"

#include <QList>
#include <QObject>
#include <functional>
#include <map>
#include <optional>

class QAction;
class QMenuBar;
class QToolBar;
class QWidget;

// Every command of the program: a toolbar button, a menu item, an item of the
// tray menu, or several of these. Each is one QAction shared by every place
// that shows it, so its captions, tooltip and enabled state live in one place.
enum class Command {
    FloatingStrip,
    Chart24,
    HistoryCharts,
    InfluenceCharts,
    KLineChart,
    TechnicalChart,
    Overview,
    TradingTerminal,
    ReferenceBrowser,
    SimulatedTrading,
    Ledger,
    Lock,
    HideToTray,
    Exit,
    Magnifier,
    Notepad,
    Calculator,
    UnitConverter,
    SystemSettings,
    CheckForUpdates,
    Help,
    About,
    PriceHistory,
    ShowMainWindow,
    AlertLog,
};

class Commands : public QObject {
    Q_OBJECT
public:
    // A menu of the menu bar: its title and its commands, nullopt a separator.
    struct Menu {
        const char* title;
        QList<std::optional<Command>> items;
    };

    // "文件(&F)" → "文件": a caption without its mnemonic.
    static QString withoutMnemonic(const QString& caption);

    // The toolbar's buttons, left to right.
    static const QList<Command>& toolbar();
    static const QList<Menu>& menus();
    // The tray icon's menu, top to bottom; nullopt a separator.
    static const QList<std::optional<Command>>& trayMenu();
    // The command's caption in the tray menu ("打开小窗口"); empty when it has none.
    static QString trayCaption(Command command);

    // Creates every command on `window`, disabled until it is bound.
    explicit Commands(QWidget* window);

    QAction* action(Command command) const { return actions_.at(command); }
    // Every menu of the menu bar (named 菜单_<title>) with its commands.
    void addMenus(QMenuBar* bar) const;
    // "工具条" along the top of `client`, with the toolbar's buttons left to right.
    QToolBar* placeToolbar(QWidget* client) const;
    // What the command does; a bound command is enabled. A command whose
    // window is not built yet stays unbound and visibly disabled.
    void bind(Command command, std::function<void()> handler);
    // Binds the command to a window that exists once: `make` creates it, `window` tracks it.
    template <typename T, typename Make> void bindWindow(Command command, QPointer<T>& window, Make make) {
        bind(command, [&window, make] { showOnce(window, make); });
    }

private:
    std::map<Command, QAction*> actions_;
};
