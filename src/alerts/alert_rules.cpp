#include "alert_rules.h"

#include "core/number_text.h"
#include "settings/settings_store.h"

#include <utility>

// The build's synthesised sounds, compiled into this library. Outside any
// namespace, as the resource's initialiser is.
static void registerBuiltInSounds() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(alert_tones);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace alertrules {

Target chooseTarget(bool icbc, bool ccb, bool boc) {
    if (icbc)
        return Target::Icbc;
    if (ccb)
        return Target::Ccb;
    if (boc)
        return Target::Boc;
    return Target::International;
}

namespace {

bool isBuyRule(Rule rule) {
    return rule == Rule::BuyBelow || rule == Rule::BuyAbove;
}

bool isBelowRule(Rule rule) {
    return rule == Rule::BuyBelow || rule == Rule::SellBelow;
}

} // namespace

ShownPrice priceFor(Target target, Rule rule) {
    using S = ShownPrice;
    const bool buy = isBuyRule(rule);
    switch (target) {
    case Target::Icbc:
        return buy ? S::IcbcBuy : S::IcbcSell;
    case Target::Ccb:
        return buy ? S::CcbBuy : S::CcbSell;
    case Target::Boc:
        return buy ? S::BocBuy : S::BocSell;
    case Target::International:
        break;
    }
    return buy ? S::IntlBuy : S::IntlSell;
}

Verdict evaluate(Rule rule, const QString& price, const QString& threshold) {
    if (price.isEmpty())
        return Verdict::NoPrice;
    const float current = numtext::priceOf(price);
    const float line = numtext::priceOf(threshold);
    const bool hit = isBelowRule(rule) ? current < line : current > line;
    return hit ? Verdict::Hit : Verdict::Clear;
}

QString targetName(Target target) {
    static const char* const targets[] = {"国际", "工行", "建行", "中行"};
    return QString::fromUtf8(targets[static_cast<int>(target)]);
}

QString ruleName(Rule rule) {
    static const char* const rules[] = {"买入价低于", "买入价高于", "卖出价低于", "卖出价高于"};
    return QString::fromUtf8(rules[static_cast<int>(rule)]);
}

QString channelName(Channel channel) {
    static const char* const channels[] = {"声音提醒", "屏幕下方提醒", "桌面通知"};
    return QString::fromUtf8(channels[static_cast<int>(channel)]);
}

QString message(Target target, Rule rule) {
    return QStringLiteral("速度啊，%1%2达到标准了！").arg(targetName(target), ruleName(rule));
}

bool QuietRepeats::notifies(size_t index, Verdict verdict) {
    bool& fired = fired_.at(index);
    switch (verdict) {
    case Verdict::NoPrice:
        return false;
    case Verdict::Clear:
        fired = false;
        return false;
    case Verdict::Hit:
        break;
    }
    return !std::exchange(fired, true);
}

QString idleStatus() {
    return QStringLiteral("当前状态：预警提示未设置");
}

QString stoppedStatus() {
    return QStringLiteral("当前状态：停止中......");
}

QString runningStatus(bool sound, bool popup, bool desktop) {
    if (desktop && !sound && !popup)
        return QStringLiteral("当前状态：桌面通知运行中......");
    if (sound && popup)
        return QStringLiteral("当前状态：声音提醒及弹窗提醒运行中...");
    if (sound)
        return QStringLiteral("当前状态：声音提醒运行中......");
    if (popup)
        return QStringLiteral("当前状态：弹窗提醒运行中......");
    return QStringLiteral("未设置任何提醒");
}

SoundChoice soundChoice(const settings::Snapshot& config) {
    SoundChoice choice;
    choice.builtIn = config.value(settings::key::useBuiltInSound);
    if (choice.builtIn)
        choice.builtInNumber = config.value(settings::key::builtInSound);
    else
        choice.customPath = config.value(settings::key::customSound);
    return choice;
}

QUrl builtInSound(int number) {
    if (number < 1 || number > 3)
        return {};
    registerBuiltInSounds();
    return QUrl(QStringLiteral("qrc:/alerts/alert-tone-%1.wav").arg(number));
}

int listenedSound(int listValue) {
    return listValue == 2 || listValue == 3 ? listValue : 1;
}

QString missingSoundMessage(const QString& path) {
    return QStringLiteral("音乐文件 ") + path +
           QStringLiteral(" 不存在，可能已经被删除，请重新指定，要不将无声！");
}

} // namespace alertrules
