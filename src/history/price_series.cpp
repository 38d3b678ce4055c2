#include "price_series.h"

#include "core/number_text.h"

#include <algorithm>
#include <cmath>

namespace history {

QString seriesName(Series s) {
    static const std::array<QString, kSeriesCount> names = {
        QStringLiteral("工行买入"), QStringLiteral("工行卖出"), QStringLiteral("建行买入"),
        QStringLiteral("建行卖出"), QStringLiteral("中行买入"), QStringLiteral("中行卖出"),
        QStringLiteral("国际买入"), QStringLiteral("国际卖出")};
    return names[static_cast<size_t>(indexOf(s))];
}

QString bankName(int bank) {
    static const std::array<QString, 3> names = {QStringLiteral("工行"), QStringLiteral("建行"),
                                                 QStringLiteral("中行")};
    return names[static_cast<size_t>(std::clamp(bank, 0, 2))];
}

Fen fenOf(const QString& priceText) {
    const double yuan = numtext::leadingNumber(priceText);
    // A shown price is at most six characters, so anything beyond this is no price.
    if (!(yuan > 0) || yuan >= 1e6)
        return 0;
    return static_cast<Fen>(std::llround(yuan * 100));
}

double yuanOf(Fen fen) {
    return fen / 100.0;
}

} // namespace history
