#pragma once

#include "quotes/shown_price.h"

#include <QString>
#include <QUrl>
#include <array>

namespace settings {
class Snapshot;
}

// The price alerts without their windows: which prices a rule watches, when it
// hits, what the user is told, and which sound is in force.
namespace alertrules {

// In the order every check runs them.
enum class Rule { BuyBelow, BuyAbove, SellBelow, SellAbove };
inline constexpr std::array<Rule, 4> kRules{Rule::BuyBelow, Rule::BuyAbove, Rule::SellBelow, Rule::SellAbove};

enum class Target { International, Icbc, Ccb, Boc };

// The two ways a hit reaches the user, each with its own check timer.
enum class Channel { Sound, Popup };

// The first checked bank in the order ICBC, CCB, BOC; none checked watches the
// international prices.
Target chooseTarget(bool icbc, bool ccb, bool boc);

// The shown price a rule compares for a target: the buy price for the buy
// rules, the sell price for the sell rules.
ShownPrice priceFor(Target target, Rule rule);

enum class Verdict {
    NoPrice, // no price shown yet: the rule sits this check out
    Hit,
    Clear,
};

// Both texts are read as single-precision prices (their leading number, 0
// when there is none); a below rule hits strictly under the threshold, an
// above rule strictly over it, so equal values never hit ("7.3" vs "7.30").
Verdict evaluate(Rule rule, const QString& price, const QString& threshold);

// "速度啊，工行买入价低于达到标准了！" and its fifteen siblings.
QString message(Target target, Rule rule);

// The status line.
QString idleStatus();
QString stoppedStatus();
// After a start with these channels checked.
QString runningStatus(bool sound, bool popup);

// The sound in force while checking runs, read when it starts.
struct SoundChoice {
    bool builtIn = false;
    int builtInNumber = 0; // 1, 2 or 3 play; any other number is silent
    QString customPath;    // the user's MP3, when not builtIn
};

// Read from the "声音提醒" keys: "系统声音使用" 1 picks the built-in sound
// "系统声音"; anything else (absent included) the file "自定义声音".
SoundChoice soundChoice(const settings::Snapshot& config);

// The resource address of built-in sound 1, 2 or 3 ("提醒音一" … "提醒音三"),
// whose resources it registers first; empty for any other number.
QUrl builtInSound(int number);
// The built-in sound a listen button plays for a list value: 2 and 3 as
// they are, anything else 1.
int listenedSound(int listValue);

// "音乐文件 " + path + " 不存在，可能已经被删除，请重新指定，要不将无声！"
QString missingSoundMessage(const QString& path);

} // namespace alertrules
