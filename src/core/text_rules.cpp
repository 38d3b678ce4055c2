#include "text_rules.h"

#include "platform/gbk.h"

#include <cmath>
#include <limits>

int textCompare(const QByteArray& a, const QByteArray& b) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a.constData());
    const auto* pb = reinterpret_cast<const unsigned char*>(b.constData());
    const qsizetype na = a.size();
    const qsizetype nb = b.size();
    for (qsizetype i = 0;; ++i) {
        const unsigned ca = i < na ? pa[i] : 0u;
        const unsigned cb = i < nb ? pb[i] : 0u;
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

int textCompare(const QString& a, const QString& b) {
    return textCompare(gbk::encode(a), gbk::encode(b));
}

qint64 toIntTrunc(double value) {
    if (std::isnan(value))
        return 0;
    const double truncated = std::trunc(value);
    if (truncated >= 9223372036854775807.0)
        return std::numeric_limits<qint64>::max();
    if (truncated <= -9223372036854775808.0)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(truncated);
}
