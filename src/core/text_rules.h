#pragma once

#include <QByteArray>
#include <QString>

// Byte-wise three-way comparison of the GBK texts, as unsigned bytes, stopping
// at the first difference or the first zero byte. A null text equals the empty
// text. Returns -1, 0 or 1.
int textCompare(const QByteArray& a, const QByteArray& b);
int textCompare(const QString& a, const QString& b);

// Truncates toward zero whatever the floating-point rounding mode. NaN gives 0;
// values beyond the 64-bit range are clamped to it.
qint64 toIntTrunc(double value);
