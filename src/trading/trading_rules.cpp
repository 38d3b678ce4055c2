#include "trading_rules.h"

#include "core/number_text.h"

#include <algorithm>
#include <cmath>

namespace tradingrules {

namespace {
const QString kBuy = QStringLiteral("买入");
const QString kSell = QStringLiteral("卖出");
} // namespace

Bank bankFromCode(int code) {
    if (code == 1)
        return Bank::Icbc;
    if (code == 2)
        return Bank::Ccb;
    return Bank::Boc;
}

PriceFeed priceFeed(Bank bank) {
    using S = ShownPrice;
    switch (bank) {
    case Bank::Icbc:
        return {S::IcbcSell, S::IcbcBuy, QStringLiteral("工行当前卖出价："),
                QStringLiteral("工行当前买入价：")};
    case Bank::Ccb:
        return {S::CcbSell, S::CcbBuy, QStringLiteral("建行当前卖出价："),
                QStringLiteral("建行当前买入价：")};
    case Bank::Boc:
        break;
    }
    return {S::BocSell, S::BocBuy, QStringLiteral("中行当前卖出价："), QStringLiteral("中行当前买入价：")};
}

QString refusalText(Refusal refusal) {
    switch (refusal) {
    case Refusal::NoPrice:
        return QStringLiteral("服务器还未连接，请稍后在进入！");
    case Refusal::NotEnoughCash:
        return QStringLiteral("现金不足，无法购买！");
    case Refusal::NotEnoughGold:
        return QStringLiteral("黄金不够卖！");
    case Refusal::BadQuantity:
        return QStringLiteral("输入错误！");
    case Refusal::None:
        break;
    }
    return {};
}

double amountOf(const QString& priceText, const QString& quantityText) {
    return numtext::leadingNumber(priceText) * numtext::wholeNumber(quantityText);
}

Outcome apply(const Account& account, const Trade& trade) {
    Outcome outcome;
    outcome.after = account;
    if (trade.type == kBuy) {
        if (trade.amount - account.cash > numtext::kTolerance) {
            outcome.refusal = Refusal::NotEnoughCash;
            return outcome;
        }
        outcome.trade = trade;
        outcome.after.held = account.held + trade.grams;
        outcome.after.cash =
            numtext::roundToCarriedDigits(account.cash - trade.amount, std::max(account.cash, trade.amount));
        return outcome;
    }
    if (trade.grams > account.held) {
        outcome.refusal = Refusal::NotEnoughGold;
        return outcome;
    }
    outcome.trade = trade;
    outcome.after.held = account.held - trade.grams;
    outcome.after.cash =
        numtext::roundToCarriedDigits(account.cash + trade.amount, std::max(account.cash, trade.amount));
    outcome.profit =
        numtext::roundToCarriedDigits(outcome.after.cash - account.capital,
                                      std::max(std::abs(outcome.after.cash), double(account.capital)));
    return outcome;
}

Outcome buy(const Account& account, const QString& priceText, const QString& quantityText) {
    Outcome outcome;
    outcome.after = account;
    const int grams = numtext::wholeNumber(quantityText);
    const double cost = amountOf(priceText, quantityText);
    if (numtext::leadingNumber(priceText) <= numtext::kTolerance) {
        outcome.refusal = Refusal::NoPrice;
        return outcome;
    }
    if (cost - account.cash > numtext::kTolerance) {
        outcome.refusal = Refusal::NotEnoughCash;
        return outcome;
    }
    if (grams < 1) {
        outcome.refusal = Refusal::BadQuantity;
        return outcome;
    }
    return apply(account, {kBuy, numtext::leadingNumber(priceText), grams, cost});
}

Outcome sell(const Account& account, const QString& priceText, const QString& quantityText) {
    Outcome outcome;
    outcome.after = account;
    const int grams = numtext::wholeNumber(quantityText);
    if (numtext::leadingNumber(priceText) <= numtext::kTolerance) {
        outcome.refusal = Refusal::NoPrice;
        return outcome;
    }
    if (grams > account.held) {
        outcome.refusal = Refusal::NotEnoughGold;
        return outcome;
    }
    if (grams < 1) {
        outcome.refusal = Refusal::BadQuantity;
        return outcome;
    }
    return apply(account,
                 {kSell, numtext::leadingNumber(priceText), grams, amountOf(priceText, quantityText)});
}

} // namespace tradingrules
