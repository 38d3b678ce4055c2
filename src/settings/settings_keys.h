#pragma once

#include <QList>
#include <QString>
#include <type_traits>

// Every section and key of "config.ini" that the program reads or writes,
// named once here; windows use these constants, never the texts.
namespace settings {

enum class Form {
    Flag,    // "1" on, "0" off
    Integer, // the decimal text of a number
    Text,    // stored exactly as typed
};

// A key of the file: its section, its name and the form of its value.
struct KeyInfo {
    QString section;
    QString key;
    Form form;
};

// A key whose value the program reads and writes as a T, converted at the
// file's edge by the one set of rules:
//  - bool, a flag: written "1" (on) or "0" (off); read as on only when its
//    text reads as the whole number 1 ("1", " 1", "01", "1.0"), else off;
//  - int: written as the number's decimal text; read as the text's leading
//    decimal number, truncated toward zero, 0 when there is none;
//  - QString: stored and read exactly as it is.
// A missing file or key reads as the empty text: off, 0 or empty.
template <typename T> struct Key : KeyInfo {
    static_assert(std::is_same_v<T, bool> || std::is_same_v<T, int> || std::is_same_v<T, QString>);

    Key(const QString& section, const QString& name) : KeyInfo{section, name, form()} {}

    static constexpr Form form() {
        if constexpr (std::is_same_v<T, bool>)
            return Form::Flag;
        else if constexpr (std::is_same_v<T, int>)
            return Form::Integer;
        else
            return Form::Text;
    }
    // The value a stored text stands for, and the text that stores a value.
    static T fromText(const QString& text);
    static QString toText(const T& value);
};

template <> bool Key<bool>::fromText(const QString& text);
template <> QString Key<bool>::toText(const bool& value);
template <> int Key<int>::fromText(const QString& text);
template <> QString Key<int>::toText(const int& value);
template <> QString Key<QString>::fromText(const QString& text);
template <> QString Key<QString>::toText(const QString& value);

using Flag = Key<bool>;
using Number = Key<int>;
using Text = Key<QString>;

namespace key {

// Start with the desktop session.
inline const Flag startWithSystem{QStringLiteral("常规选项"), QStringLiteral("启动")};
// Open at the designed size, even on a small screen.
inline const Flag designedLayout{QStringLiteral("常规选项"), QStringLiteral("界面")};
// Open the floating strip at start.
inline const Flag floatingAtStart{QStringLiteral("常规选项"), QStringLiteral("浮动")};

// Do not update the bank's prices at start.
inline const Flag holdIcbc{QStringLiteral("黄金选项"), QStringLiteral("工行数据")};
inline const Flag holdCcb{QStringLiteral("黄金选项"), QStringLiteral("建行数据")};
inline const Flag holdBoc{QStringLiteral("黄金选项"), QStringLiteral("中行数据")};
// Start the price alerts at start.
inline const Flag alertsAtStart{QStringLiteral("黄金选项"), QStringLiteral("提醒")};

inline const Flag buyBelow{QStringLiteral("提醒设置"), QStringLiteral("买入价低于")};
inline const Text buyBelowValue{QStringLiteral("提醒设置"), QStringLiteral("买入价低于数值")};
inline const Flag buyAbove{QStringLiteral("提醒设置"), QStringLiteral("买入价高于")};
inline const Text buyAboveValue{QStringLiteral("提醒设置"), QStringLiteral("买入价高于数值")};
inline const Flag sellBelow{QStringLiteral("提醒设置"), QStringLiteral("卖出价低于")};
inline const Text sellBelowValue{QStringLiteral("提醒设置"), QStringLiteral("卖出价低于数值")};
inline const Flag sellAbove{QStringLiteral("提醒设置"), QStringLiteral("卖出价高于")};
inline const Text sellAboveValue{QStringLiteral("提醒设置"), QStringLiteral("卖出价高于数值")};
inline const Flag watchIcbc{QStringLiteral("提醒设置"), QStringLiteral("工行提醒选中")};
inline const Flag watchCcb{QStringLiteral("提醒设置"), QStringLiteral("建行提醒选中")};
inline const Flag watchBoc{QStringLiteral("提醒设置"), QStringLiteral("中行提醒选中")};
inline const Flag soundAlert{QStringLiteral("提醒设置"), QStringLiteral("声音提醒选中")};
inline const Flag popupAlert{QStringLiteral("提醒设置"), QStringLiteral("气泡提醒选中")};
// The alerts also go to the desktop's notifications (off when missing).
inline const Flag desktopAlert{QStringLiteral("提醒设置"), QStringLiteral("桌面通知选中")};

inline const Flag useBuiltInSound{QStringLiteral("声音提醒"), QStringLiteral("系统声音使用")};
inline const Flag useCustomSound{QStringLiteral("声音提醒"), QStringLiteral("自定义声音使用")};
inline const Number builtInSound{QStringLiteral("声音提醒"), QStringLiteral("系统声音")};
inline const Text customSound{QStringLiteral("声音提醒"), QStringLiteral("自定义声音")};

inline const Number stripOpacity{QStringLiteral("浮动窗口"), QStringLiteral("透明度")};
inline const Number chartOpacity{QStringLiteral("浮动窗口"), QStringLiteral("行情小窗口透明度")};
inline const Number chartRefreshSeconds{QStringLiteral("浮动窗口"), QStringLiteral("刷新速度")};
inline const Flag autoHide{QStringLiteral("浮动窗口"), QStringLiteral("自动隐藏")};
inline const Flag stripOnTop{QStringLiteral("浮动窗口"), QStringLiteral("置前")};
inline const Flag showIcbc{QStringLiteral("浮动窗口"), QStringLiteral("工行价格选中")};
inline const Flag showCcb{QStringLiteral("浮动窗口"), QStringLiteral("建行价格选中")};
inline const Flag showBoc{QStringLiteral("浮动窗口"), QStringLiteral("中行价格选中")};
inline const Flag showGain{QStringLiteral("浮动窗口"), QStringLiteral("涨跌情况选中")};
inline const Text gainBuyPrice{QStringLiteral("浮动窗口"), QStringLiteral("涨跌买入价数值")};
inline const Flag chartOnTop{QStringLiteral("浮动窗口"), QStringLiteral("桌面窗口置前")};
// The strip's "您的涨跌" takes its buy price from the ledger's average cost.
inline const Flag gainFromLedger{QStringLiteral("浮动窗口"), QStringLiteral("涨跌取记账均价")};
// The bank whose buy price values the ledger's gold: "工行" (also when missing), "建行" or "中行".
inline const Text valuationBank{QStringLiteral("交易管理"), QStringLiteral("估值银行")};

// The trading terminal's program file, despite its name.
inline const Text mt4Program{QStringLiteral("路径"), QStringLiteral("MT4目录")};
} // namespace key

// In the order the file lays them out.
const QList<KeyInfo>& allKeys();

// What a fresh installation holds: the design-time state of the control each
// key mirrors (unchecked, position 0, empty).
QString designDefault(Form form);

} // namespace settings
