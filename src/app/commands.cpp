#include "commands.h"

#include "app/main_layout.h"
#include "ui/app_art.h"
#include "ui/place.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>
#include <QWidget>

namespace {

struct Row {
    Command command;
    const char* menuCaption;   // null: in no menu of the menu bar
    const char* buttonCaption; // null: not on the toolbar
    int image;                 // the toolbar image, -1 for none
    const char* tooltip;
    const char* trayCaption = nullptr; // null: not in the tray menu
};

const Row kRows[] = {
    {Command::FloatingStrip, "小窗口(&S)", "小窗口", 0, "启动袖珍价格显示桌面小窗口", "打开小窗口"},
    {Command::Chart24, "实时黄金(&T)", "实时黄金", 9, "纸黄金24小时实时走势"},
    {Command::HistoryCharts, "历史走势(&A)", "历史走势", 6,
     "纸黄金3天 30天 60天 半年 一年 五年 十年历史走势"},
    {Command::InfluenceCharts, "影响走势(&E)", "影响走势", 4, "美国原油 美元指数 国际黄金走势"},
    {Command::KLineChart, "黄金K线(&K)", "黄金K线", 12,
     "黄金K5分钟K线 10分钟K线 30分钟K线 60分钟K线 日K线 周K线及日线指标"},
    {Command::TechnicalChart, nullptr, "技术分析", 5, "走势技术分析"},
    {Command::Overview, "综合看盘(&G)", "综合看盘", 1, "动态分析黄金K线及贵重金属相关行情", "打开综合看盘"},
    {Command::TradingTerminal, "MT4(&W)", "MT4工具", 11, "强大的外汇分析软件"},
    {Command::ReferenceBrowser, "资料浏览(&S)", "资料浏览", 8, "黄金相关资料"},
    {Command::SimulatedTrading, "模拟炒金(&G)", "模拟炒金", 2, "模拟炒金 进来先过过瘾"},
    {Command::Ledger, "交易管理(&D)", "交易管理", 3, "记录你每次交易记录"},
    {Command::Lock, "锁定系统(&L)", "锁定系统", 10, "锁定软件"},
    {Command::HideToTray, nullptr, "隐藏窗口", 7, "将窗口隐藏在托盘处", "隐藏主窗口"},
    {Command::Exit, "退出(&E)", nullptr, -1, nullptr, "退出主程序"},
    {Command::Magnifier, "放大镜（按F12键退出）", nullptr, -1, nullptr},
    {Command::Notepad, "记事本(&N)", nullptr, -1, nullptr},
    {Command::Calculator, "计算器(&C)", nullptr, -1, nullptr},
    {Command::UnitConverter, "单位换算(&U)", nullptr, -1, nullptr, "打开单位换算"},
    {Command::SystemSettings, "系统设置(&P)", nullptr, -1, nullptr},
    {Command::CheckForUpdates, "升级检测(&U)", nullptr, -1, nullptr},
    {Command::Help, "软件使用(&B)", nullptr, -1, nullptr},
    {Command::About, "关于我们(&A)", nullptr, -1, nullptr},
    {Command::PriceHistory, "价格记录(&R)", nullptr, -1, "本机记录的价格走势", "打开价格记录"},
    {Command::AlertLog, "提醒记录(&J)", nullptr, -1, "每一次价格提醒的时间、条件和价格"},
    {Command::ShowMainWindow, nullptr, nullptr, -1, nullptr, "显示主窗口"},
};

const Row& rowOf(Command command) {
    for (const Row& row : kRows) {
        if (row.command == command)
            return row;
    }
    Q_UNREACHABLE();
}

} // namespace

QString Commands::withoutMnemonic(const QString& caption) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)"));
    return QString(caption).remove(mnemonic).remove(u'&');
}

const QList<Command>& Commands::toolbar() {
    static const QList<Command> buttons = {
        Command::FloatingStrip,    Command::Chart24,         Command::HistoryCharts,
        Command::InfluenceCharts,  Command::KLineChart,      Command::TechnicalChart,
        Command::Overview,         Command::TradingTerminal, Command::ReferenceBrowser,
        Command::SimulatedTrading, Command::Ledger,          Command::Lock,
        Command::HideToTray,
    };
    return buttons;
}

const QList<Commands::Menu>& Commands::menus() {
    const std::optional<Command> separator;
    static const QList<Menu> menus = {
        {"文件(&F)", {Command::FloatingStrip, separator, Command::Exit}},
        {"行情(&M)",
         {Command::Chart24, Command::HistoryCharts, Command::InfluenceCharts, separator, Command::KLineChart,
          Command::Overview, Command::TradingTerminal, separator, Command::PriceHistory}},
        {"工具(&T)",
         {Command::Magnifier, Command::Notepad, Command::Calculator, Command::UnitConverter, separator,
          Command::ReferenceBrowser, Command::SimulatedTrading, Command::Ledger, Command::AlertLog, separator,
          Command::Lock}},
        {"设置(&S)", {Command::SystemSettings}},
        {"帮助(&H)", {Command::CheckForUpdates, separator, Command::Help, Command::About}},
    };
    return menus;
}

const QList<std::optional<Command>>& Commands::trayMenu() {
    const std::optional<Command> separator;
    static const QList<std::optional<Command>> items = {
        Command::ShowMainWindow,
        Command::HideToTray,
        separator,
        Command::FloatingStrip,
        separator,
        Command::Overview,
        Command::UnitConverter,
        Command::PriceHistory,
        separator,
        Command::Exit,
    };
    return items;
}

QString Commands::trayCaption(Command command) {
    const char* caption = rowOf(command).trayCaption;
    return caption ? QString::fromUtf8(caption) : QString();
}

Commands::Commands(QWidget* window) : QObject(window) {
    for (const Row& row : kRows) {
        auto* action = new QAction(window);
        const QString menuCaption = row.menuCaption ? QString::fromUtf8(row.menuCaption) : QString();
        // A command of the tray menu alone goes by its tray caption.
        const QString buttonCaption = row.buttonCaption ? QString::fromUtf8(row.buttonCaption)
                                      : row.menuCaption ? withoutMnemonic(menuCaption)
                                                        : QString::fromUtf8(row.trayCaption);
        // The menu shows the text with its mnemonic, the toolbar its own caption.
        action->setText(row.menuCaption ? menuCaption : buttonCaption);
        action->setIconText(buttonCaption);
        action->setObjectName(QStringLiteral("命令_") + buttonCaption);
        if (row.image >= 0)
            action->setIcon(appart::toolbarImage(row.image));
        if (row.tooltip)
            action->setToolTip(QString::fromUtf8(row.tooltip));
        action->setEnabled(false);
        actions_[row.command] = action;
    }
}

void Commands::bind(Command command, std::function<void()> handler) {
    QAction* action = actions_.at(command);
    action->setEnabled(static_cast<bool>(handler));
    if (handler)
        connect(action, &QAction::triggered, this, std::move(handler));
}

void Commands::addMenus(QMenuBar* bar) const {
    for (const Menu& entry : menus()) {
        const QString title = QString::fromUtf8(entry.title);
        QMenu* menu = bar->addMenu(title);
        menu->setObjectName(QStringLiteral("菜单_") + withoutMnemonic(title));
        for (const std::optional<Command>& item : entry.items) {
            if (item)
                menu->addAction(action(*item));
            else
                menu->addSeparator();
        }
    }
}

QToolBar* Commands::placeToolbar(QWidget* client) const {
    auto* bar = place<QToolBar>(client, QStringLiteral("工具条"), {0, 0, 1013, MainLayout::kToolbarHeight});
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize({16, 16});
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setSpacing(0);
    for (Command command : toolbar()) {
        QAction* button = action(command);
        bar->addAction(button);
        // The style's generous margins would push the last buttons off a 1013-pixel bar.
        if (QWidget* widget = bar->widgetForAction(button))
            widget->setMaximumWidth(widget->fontMetrics().horizontalAdvance(button->iconText()) + 16 + 12);
    }
    return bar;
}
