#pragma once

#include <QString>

// The one place that turns texts into numbers and numbers into the texts the
// windows show.
namespace numtext {

// The leading decimal number of a text (optional white space, sign, digits and
// one decimal point), 0 when there is none: "257.76" → 257.76, "57.7<" → 57.7,
// "abc" → 0.
double leadingNumber(const QString& text);
double leadingNumber(const QByteArray& text);

// The same, read in single precision as prices are.
float priceOf(const QString& text);
float priceOf(const QByteArray& text);

// Money and quantities count as zero within this.
constexpr double kTolerance = 1e-7;

// True when |value| exceeds kTolerance.
bool isNonZero(double value);

// Plain decimal text of a value that carries `significantDigits` digits of
// precision: rounded to them, no exponent, no thousands separator, trailing
// zeros and a trailing point dropped ("257.8300" → "257.83", "-0" → "0").
QString plainText(double value, int significantDigits);

// Whole number of a text: its leading number with the fraction dropped,
// clamped to the int range ("12.9" → 12, "-5" → -5, "abc" → 0).
int wholeNumber(const QString& text);

// Money and other plain values: the digits a double carries (15), no
// rounding of the program's own beyond that ("1492.19", "100000").
QString valueText(double value);

// A sum or difference of money carries the 15 significant digits of its
// largest term, no more; the digits beyond are rounding noise that a
// difference of nearly equal values brings to the front (24520.8 − 23710.4 is
// 810.399999999998 in doubles). Rounds them away.
double roundToCarriedDigits(double value, double largestTerm);

// The text a price is shown with: a value that passed through single
// precision, printed with the 7 digits it carries and cut to 6 characters.
QString priceText(double value);

} // namespace numtext
