#pragma once

#include <QList>
#include <QObject>
#include <functional>
#include <map>
#include <optional>

class QAction;
class QWidget;

// Every command of the program: a toolbar button, a menu item or both (and,
// for some, an item of the tray menu). Each is one QAction shared by every
// place that shows it, so its caption, tooltip and enabled state live in one
// place.
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

    // Creates every command on `window`, disabled until it is bound.
    explicit Commands(QWidget* window);

    QAction* action(Command command) const { return actions_.at(command); }
    // What the command does; a bound command is enabled. A command whose
    // window is not built yet stays unbound and visibly disabled.
    void bind(Command command, std::function<void()> handler);

private:
    std::map<Command, QAction*> actions_;
};
