#include "number_text.h"

#include <QByteArray>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace numtext {

namespace {

constexpr int kPriceDigits = 7;
constexpr qsizetype kPriceLength = 6;

// strtod would also take "inf", "nan", hex and exponents; the program's
// numbers are plain decimals, so the prefix is cut out by hand first.
QByteArray decimalPrefix(const QByteArray& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        ++i;
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            digits = true;
        }
    }
    return digits ? text.mid(start, i - start) : QByteArray();
}

} // namespace

double leadingNumber(const QByteArray& text) {
    const QByteArray prefix = decimalPrefix(text);
    if (prefix.isEmpty())
        return 0.0;
    // "C" locale rules: the decimal point is always '.'.
    return std::strtod(prefix.constData(), nullptr);
}

double leadingNumber(const QString& text) {
    return leadingNumber(text.toLatin1());
}

float priceOf(const QByteArray& text) {
    return static_cast<float>(leadingNumber(text));
}

float priceOf(const QString& text) {
    return static_cast<float>(leadingNumber(text));
}

bool isNonZero(double value) {
    return std::fabs(value) > kTolerance;
}

QString plainText(double value, int significantDigits) {
    if (!std::isfinite(value))
        return QStringLiteral("0");
    // Round to the significant digits first, then print without an exponent.
    const double rounded = QString::number(value, 'g', significantDigits).toDouble();
    if (rounded == 0.0)
        return QStringLiteral("0");
    const int integerDigits = static_cast<int>(std::floor(std::log10(std::fabs(rounded)))) + 1;
    const int decimals = std::max(0, significantDigits - integerDigits);
    QString text = QString::number(rounded, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

int wholeNumber(const QString& text) {
    // From the digits themselves: through a double, "0.99999999999999999999"
    // would round up to 1.
    const QByteArray prefix = decimalPrefix(text.toLatin1());
    const bool negative = prefix.startsWith('-');
    qint64 magnitude = 0;
    for (char c : prefix) {
        if (c == '.')
            break;
        if (c >= '0' && c <= '9')
            magnitude = std::min<qint64>(magnitude * 10 + (c - '0'), qint64(1) << 32);
    }
    const qint64 value = negative ? -magnitude : magnitude;
    return static_cast<int>(
        std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString valueText(double value) {
    return plainText(value, 15);
}

double roundToCarriedDigits(double value, double largestTerm) {
    largestTerm = std::fabs(largestTerm);
    if (largestTerm == 0 || !std::isfinite(value) || !std::isfinite(largestTerm))
        return value;
    const int lastDigit = static_cast<int>(std::floor(std::log10(largestTerm))) - 14;
    // Whole powers of ten, so that the division rounds to the nearest double of the decimal.
    if (lastDigit < 0) {
        const double scale = std::pow(10.0, -lastDigit);
        return std::round(value * scale) / scale;
    }
    const double quantum = std::pow(10.0, lastDigit);
    return std::round(value / quantum) * quantum;
}

QString priceText(double value) {
    return plainText(value, kPriceDigits).left(kPriceLength);
}

} // namespace numtext
