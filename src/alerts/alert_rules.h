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

// The ways a hit reaches the user, each with its own check timer.
enum class Channel { Sound, Popup, Desktop };

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
// "国际", "工行", "建行", "中行".
QString targetName(Target target);
// The rule's caption, "买入价低于" ….
QString ruleName(Rule rule);
// The channel's check box caption: "声音提醒", "屏幕下方提醒", "桌面通知".
QString channelName(Channel channel);

// The desktop channel does not repeat itself: a rule that has notified there
// stays quiet while its price stays past the threshold, and is re-armed by the
// first check that finds it back (a check without a price changes nothing).
class QuietRepeats {
public:
    // Whether this check's verdict on rule `index` (in check order) notifies.
    bool notifies(size_t index, Verdict verdict);
    // The note for rule `index` did not reach the desktop: the next check tries again.
    void missed(size_t index) { fired_.at(index) = false; }
    // Every rule armed again, as when checking starts.
    void rearm() { fired_ = {}; }

private:
    std::array<bool, kRules.size()> fired_{};
};

// The status line.
QString idleStatus();
QString stoppedStatus();
// After a start with these channels checked. The desktop channel shows only
// when it runs alone: the line has no room to name it beside the others.
QString runningStatus(bool sound, bool popup, bool desktop = false);

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
