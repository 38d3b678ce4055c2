#pragma once

#include "quotes/shown_price.h"

#include <QString>

// The simulated account's buy and sell rules. The window holds the account in
// its boxes; these functions take the boxes' texts and say what a trade does.
namespace tradingrules {

enum class Bank { Icbc = 1, Ccb = 2, Boc = 3 };

// The stored bank code: 1 and 2 as they are, anything else counts as BOC.
Bank bankFromCode(int code);

// Which shown prices feed the window: the user buys at the bank's sell price
// and sells at its buy price. The captions name the price beside each box.
struct PriceFeed {
    ShownPrice buyBox;
    ShownPrice sellBox;
    QString buyCaption;
    QString sellCaption;
};
PriceFeed priceFeed(Bank bank);

struct Account {
    int held = 0;    // grams
    double cash = 0; // yuan
    int capital = 0; // starting capital, as the whole number the profit compares with
};

// NoPrice: the bank's prices have not arrived yet, and a trade at 0 would
// hand out gold for nothing.
enum class Refusal { None, NoPrice, NotEnoughCash, NotEnoughGold, BadQuantity };
// "服务器还未连接，请稍后在进入！", "现金不足，无法购买！", "黄金不够卖！", "输入错误！";
// empty for None.
QString refusalText(Refusal refusal);

struct Trade {
    QString type; // "买入" or "卖出"
    double price = 0;
    int grams = 0;
    double amount = 0;
};

struct Outcome {
    Refusal refusal = Refusal::None;
    Trade trade;
    Account after;
    double profit = 0; // cash against starting capital, set by a sell
};

// The amount of a trade at this price: price × whole grams.
double amountOf(const QString& priceText, const QString& quantityText);

// The account after `trade` ("买入" or "卖出"): refused when it spends more
// cash or sells more gold than `account` holds. Buys and sells below check
// their boxes first and end here; the account book applies the same trade
// once more to the account on file.
Outcome apply(const Account& account, const Trade& trade);

// A buy at the price shown now. Refused when the cost exceeds the cash, or when
// the quantity is less than one whole gram.
Outcome buy(const Account& account, const QString& priceText, const QString& quantityText);
// A sell at the price shown now. Refused when more is sold than held, or when
// the quantity is less than one whole gram.
Outcome sell(const Account& account, const QString& priceText, const QString& quantityText);

} // namespace tradingrules
