#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// The eight prices the program shows, as the price history keeps them: each
// bank's buy and sell and the international pair, in the quote model's order.
namespace history {

enum class Series : quint8 { IcbcBuy, IcbcSell, CcbBuy, CcbSell, BocBuy, BocSell, IntlBuy, IntlSell };
constexpr int kSeriesCount = 8;

constexpr std::array<Series, kSeriesCount> kAllSeries = {Series::IcbcBuy, Series::IcbcSell, Series::CcbBuy,
                                                         Series::CcbSell, Series::BocBuy,   Series::BocSell,
                                                         Series::IntlBuy, Series::IntlSell};

constexpr int indexOf(Series s) {
    return static_cast<int>(s);
}
// "工行买入", "工行卖出", …, "国际卖出".
QString seriesName(Series s);
// The bank rows 0 (ICBC), 1 (CCB), 2 (BOC); "工行", "建行", "中行".
QString bankName(int bank);
constexpr Series buySeries(int bank) {
    return static_cast<Series>(bank * 2);
}
constexpr Series sellSeries(int bank) {
    return static_cast<Series>(bank * 2 + 1);
}

// Prices are kept in fen (hundredths of a yuan per gram).
using Fen = qint32;
// The fen of a shown price text; nullopt-like 0 for a text that is no price.
Fen fenOf(const QString& priceText);
double yuanOf(Fen fen);

// One change of one price: when it was shown (milliseconds since the epoch) and what.
struct Change {
    qint64 ms = 0;
    Fen fen = 0;
    bool operator==(const Change&) const = default;
};

// Open, high, low and close of the changes within one period starting at `ms`.
struct Bar {
    qint64 ms = 0;
    Fen open = 0, high = 0, low = 0, close = 0;
    bool operator==(const Bar&) const = default;
};

constexpr qint64 kMinuteMs = 60'000;
constexpr qint64 kHourMs = 3'600'000;
constexpr qint64 kDayMs = 86'400'000;

} // namespace history
