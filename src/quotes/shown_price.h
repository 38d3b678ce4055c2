#pragma once

// The eight prices the program shows, in the order of the panels: each bank's
// buy and sell price, then the international pair. A plain header, so that
// rules can name a price without the quote model.
enum class ShownPrice { IcbcBuy, IcbcSell, CcbBuy, CcbSell, BocBuy, BocSell, IntlBuy, IntlSell };
inline constexpr int kShownPriceCount = 8;
