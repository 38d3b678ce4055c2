#include "trading_hours.h"

namespace tradinghours {

QString weekdayName(const QDate& date) {
    // Qt counts Monday as 1 and Sunday as 7.
    static const std::array<QString, 7> names = {
        QStringLiteral("星期一"), QStringLiteral("星期二"), QStringLiteral("星期三"),
        QStringLiteral("星期四"), QStringLiteral("星期五"), QStringLiteral("星期六"),
        QStringLiteral("星期日"),
    };
    const int day = date.dayOfWeek();
    return day >= 1 && day <= 7 ? names[static_cast<size_t>(day - 1)] : QString();
}

bool isClosed(const QString& name, int hour) {
    if (name == QStringLiteral("星期六"))
        return hour > 4;
    if (name == QStringLiteral("星期日"))
        return true;
    if (name == QStringLiteral("星期一"))
        return hour < 7;
    return false;
}

bool isClosed(const QDateTime& localTime) {
    return isClosed(weekdayName(localTime.date()), localTime.time().hour());
}

int cityHour(int localHour, int offset) {
    const int hour = localHour + offset;
    return hour > 23 ? hour - 24 : hour;
}

QString clockText(int hour, int minute, int second) {
    return QStringLiteral("%1:%2:%3").arg(hour).arg(minute).arg(second);
}

std::array<QString, 4> worldClockTexts(const QTime& t) {
    std::array<QString, 4> texts;
    texts[0] = clockText(t.hour(), t.minute(), t.second());
    for (size_t i = 0; i < kCityOffsets.size(); ++i)
        texts[i + 1] = clockText(cityHour(t.hour(), kCityOffsets[i]), t.minute(), t.second());
    return texts;
}

} // namespace tradinghours
