#pragma once

#include <QByteArray>
#include <QString>

// How the eight shown prices are derived from the two base fields of the
// quote page, and the small counting rules of the quote display.
namespace pricerules {

// Both base fields convert to non-zero numbers.
bool basePricesValid(const QByteArray& baseBuy, const QByteArray& baseSell);

// The international row: the base price plus `cents` hundredths (1..5).
QString intlPriceText(const QByteArray& base, int cents);

struct BankPrices {
    QString buy;
    QString sell;
};
// A bank row: base buy plus `cents` hundredths (0..15); its sell price is the
// shown buy price plus 0.80.
BankPrices bankPrices(const QByteArray& baseBuy, int cents);

// Inclusive ranges of the random draws.
constexpr int kIntlStepLow = 1;
constexpr int kIntlStepHigh = 5;
constexpr int kBankStepLow = 0;
constexpr int kBankStepHigh = 15;
constexpr int kProgressIntervalLow = 1;
constexpr int kProgressIntervalHigh = 15;

// One step of a progress animation: the position counted by the program
// passes the bar's maximum once before the animation stops at 0.
struct ProgressStep {
    int position;
    bool finished;
};
ProgressStep progressStep(int position, int maximum);

// The connecting indicator moves 5 pixels per tick between the edges 0 and
// 120; at an edge it turns round instead of moving.
constexpr int kIndicatorStep = 5;
constexpr int kIndicatorRightEdge = 120;
struct IndicatorStep {
    int left;
    bool turn;
};
IndicatorStep indicatorRight(int left);
IndicatorStep indicatorLeft(int left);

} // namespace pricerules
