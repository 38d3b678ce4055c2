#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>

// The weekend closing of bank paper-gold trading and the world clock strip.
// The computer's clock is taken as Beijing time; nothing converts time zones.
namespace tradinghours {

// "星期日" .. "星期六" for the date's weekday.
QString weekdayName(const QDate& date);

// From Saturday 05:00 to Monday 06:59, in whole hours.
bool isClosed(const QString& weekdayName, int hour);
bool isClosed(const QDateTime& localTime);

// Hour offsets of London, New York and Sydney, added to the local hour.
constexpr std::array<int, 3> kCityOffsets = {16, 12, 3};

// The hour plus an offset, brought back into 0..23.
int cityHour(int localHour, int offset);
// "h:m:s" without leading zeros.
QString clockText(int hour, int minute, int second);
// Beijing, London, New York, Sydney.
std::array<QString, 4> worldClockTexts(const QTime& localTime);

} // namespace tradinghours
