#include "quote_line.h"

#include "core/number_text.h"
#include "core/text_rules.h"

#include <cmath>

namespace quoteline {

namespace {

constexpr qsizetype kGainLength = 5;

struct Labels {
    const char16_t* buy;
    const char16_t* sell;
};

Labels labelsOf(Source source) {
    switch (source) {
    case Source::Icbc:
        return {u"工行买入:", u"  工行卖出:"};
    case Source::Ccb:
        return {u"建行买入:", u"  建行卖出:"};
    case Source::Boc:
        return {u"中行买入:", u"  中行卖出:"};
    case Source::International:
        break;
    }
    return {u"国际买入:", u"  国际卖出:"};
}

} // namespace

Source chosenSource(bool icbc, bool ccb, bool boc) {
    if (icbc)
        return Source::Icbc;
    if (ccb)
        return Source::Ccb;
    if (boc)
        return Source::Boc;
    return Source::International;
}

QString gainText(const QString& bankBuy, const QString& yourBuyPrice) {
    if (bankBuy.isEmpty())
        return {};
    const double bank = numtext::leadingNumber(bankBuy);
    const double yours = numtext::leadingNumber(yourBuyPrice);
    // 257.76 − 250 is 7.7599999999999909 in doubles: the digits beyond those
    // the prices carry are noise, and would show a cent less than the gain.
    const double gain =
        numtext::roundToCarriedDigits(bank - yours, std::max(std::fabs(bank), std::fabs(yours)));
    return numtext::valueText(gain).left(kGainLength);
}

QString priceLine(const Input& input) {
    const Labels labels = labelsOf(input.source);
    QString line = QString::fromUtf16(labels.buy) + input.buy + QString::fromUtf16(labels.sell) + input.sell;
    if (input.gainShown && input.source != Source::International)
        line += QStringLiteral("  您的涨跌:") + gainText(input.buy, input.yourBuyPrice);
    return line;
}

int alphaOfPosition(int position) {
    return static_cast<int>(toIntTrunc(position * 2.5));
}

} // namespace quoteline
