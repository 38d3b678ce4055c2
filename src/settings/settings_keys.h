#pragma once

#include <QList>
#include <QString>

// Every section and key of "config.ini" that the program reads or writes,
// named once here; windows use these constants, never the texts.
namespace settings {

enum class Form {
    Flag,    // "1" on, "0" off
    Integer, // the decimal text of a number
    Text,    // stored exactly as typed
};

struct KeyInfo {
    QString section;
    QString key;
    Form form;
};

namespace key {

inline const KeyInfo startWithSystem{QStringLiteral("常规选项"), QStringLiteral("启动"),
                                     Form::Flag}; // start with the desktop session
inline const KeyInfo designedLayout{QStringLiteral("常规选项"), QStringLiteral("界面"),
                                    Form::Flag}; // open at the designed size, even on a small screen
inline const KeyInfo floatingAtStart{QStringLiteral("常规选项"), QStringLiteral("浮动"),
                                     Form::Flag}; // open the floating strip at start

inline const KeyInfo holdIcbc{QStringLiteral("黄金选项"), QStringLiteral("工行数据"),
                              Form::Flag}; // do not update ICBC prices at start
inline const KeyInfo holdCcb{QStringLiteral("黄金选项"), QStringLiteral("建行数据"),
                             Form::Flag}; // do not update CCB prices at start
inline const KeyInfo holdBoc{QStringLiteral("黄金选项"), QStringLiteral("中行数据"),
                             Form::Flag}; // do not update BOC prices at start
inline const KeyInfo alertsAtStart{QStringLiteral("黄金选项"), QStringLiteral("提醒"),
                                   Form::Flag}; // start the price alerts at start

inline const KeyInfo buyBelow{QStringLiteral("提醒设置"), QStringLiteral("买入价低于"), Form::Flag};
inline const KeyInfo buyBelowValue{QStringLiteral("提醒设置"), QStringLiteral("买入价低于数值"), Form::Text};
inline const KeyInfo buyAbove{QStringLiteral("提醒设置"), QStringLiteral("买入价高于"), Form::Flag};
inline const KeyInfo buyAboveValue{QStringLiteral("提醒设置"), QStringLiteral("买入价高于数值"), Form::Text};
inline const KeyInfo sellBelow{QStringLiteral("提醒设置"), QStringLiteral("卖出价低于"), Form::Flag};
inline const KeyInfo sellBelowValue{QStringLiteral("提醒设置"), QStringLiteral("卖出价低于数值"), Form::Text};
inline const KeyInfo sellAbove{QStringLiteral("提醒设置"), QStringLiteral("卖出价高于"), Form::Flag};
inline const KeyInfo sellAboveValue{QStringLiteral("提醒设置"), QStringLiteral("卖出价高于数值"), Form::Text};
inline const KeyInfo watchIcbc{QStringLiteral("提醒设置"), QStringLiteral("工行提醒选中"), Form::Flag};
inline const KeyInfo watchCcb{QStringLiteral("提醒设置"), QStringLiteral("建行提醒选中"), Form::Flag};
inline const KeyInfo watchBoc{QStringLiteral("提醒设置"), QStringLiteral("中行提醒选中"), Form::Flag};
inline const KeyInfo soundAlert{QStringLiteral("提醒设置"), QStringLiteral("声音提醒选中"), Form::Flag};
inline const KeyInfo popupAlert{QStringLiteral("提醒设置"), QStringLiteral("气泡提醒选中"), Form::Flag};
// The alerts also go to the desktop's notifications (off when missing).
inline const KeyInfo desktopAlert{QStringLiteral("提醒设置"), QStringLiteral("桌面通知选中"), Form::Flag};

inline const KeyInfo useBuiltInSound{QStringLiteral("声音提醒"), QStringLiteral("系统声音使用"), Form::Flag};
inline const KeyInfo useCustomSound{QStringLiteral("声音提醒"), QStringLiteral("自定义声音使用"), Form::Flag};
inline const KeyInfo builtInSound{QStringLiteral("声音提醒"), QStringLiteral("系统声音"), Form::Integer};
inline const KeyInfo customSound{QStringLiteral("声音提醒"), QStringLiteral("自定义声音"), Form::Text};

inline const KeyInfo stripOpacity{QStringLiteral("浮动窗口"), QStringLiteral("透明度"), Form::Integer};
inline const KeyInfo chartOpacity{QStringLiteral("浮动窗口"), QStringLiteral("行情小窗口透明度"),
                                  Form::Integer};
inline const KeyInfo chartRefreshSeconds{QStringLiteral("浮动窗口"), QStringLiteral("刷新速度"),
                                         Form::Integer};
inline const KeyInfo autoHide{QStringLiteral("浮动窗口"), QStringLiteral("自动隐藏"), Form::Flag};
inline const KeyInfo stripOnTop{QStringLiteral("浮动窗口"), QStringLiteral("置前"), Form::Flag};
inline const KeyInfo showIcbc{QStringLiteral("浮动窗口"), QStringLiteral("工行价格选中"), Form::Flag};
inline const KeyInfo showCcb{QStringLiteral("浮动窗口"), QStringLiteral("建行价格选中"), Form::Flag};
inline const KeyInfo showBoc{QStringLiteral("浮动窗口"), QStringLiteral("中行价格选中"), Form::Flag};
inline const KeyInfo showGain{QStringLiteral("浮动窗口"), QStringLiteral("涨跌情况选中"), Form::Flag};
inline const KeyInfo gainBuyPrice{QStringLiteral("浮动窗口"), QStringLiteral("涨跌买入价数值"), Form::Text};
inline const KeyInfo chartOnTop{QStringLiteral("浮动窗口"), QStringLiteral("桌面窗口置前"), Form::Flag};
// The strip's "您的涨跌" takes its buy price from the ledger's average cost.
inline const KeyInfo gainFromLedger{QStringLiteral("浮动窗口"), QStringLiteral("涨跌取记账均价"), Form::Flag};
// The bank whose buy price values the ledger's gold: "工行" (also when missing), "建行" or "中行".
inline const KeyInfo valuationBank{QStringLiteral("交易管理"), QStringLiteral("估值银行"), Form::Text};

inline const KeyInfo mt4Program{QStringLiteral("路径"), QStringLiteral("MT4目录"),
                                Form::Text}; // the trading terminal's program file, despite its name
} // namespace key

// In the order the file lays them out.
const QList<KeyInfo>& allKeys();

// What a fresh installation holds: the design-time state of the control each
// key mirrors (unchecked, position 0, empty).
QString designDefault(Form form);

} // namespace settings
