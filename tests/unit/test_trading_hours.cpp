// The weekend closing of the bank rows and the world clock strip.
#include "quotes/trading_hours.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A week of known dates: 2026-12-12 is a Saturday.
const QDate kSaturday(2026, 12, 12);

QDate dayOfThatWeek(int offsetFromSaturday) {
    return kSaturday.addDays(offsetFromSaturday);
}

} // namespace

class TradingHoursTest : public QObject {
    Q_OBJECT
private slots:
    void calendarIsAsAssumed();
    void weekdayNames_data();
    void weekdayNames();
    void closedMarketBoundaries_data();
    void closedMarketBoundaries();
    void everyHourOfTheWeek();
    void unknownNameIsNeverClosed();
    void cityHoursWrapOnce();
    void worldClockTexts_data();
    void worldClockTexts();
};

void TradingHoursTest::calendarIsAsAssumed() {
    QCOMPARE(kSaturday.dayOfWeek(), int(Qt::Saturday));
    QCOMPARE(dayOfThatWeek(1).dayOfWeek(), int(Qt::Sunday));
    QCOMPARE(dayOfThatWeek(2).dayOfWeek(), int(Qt::Monday));
    QCOMPARE(dayOfThatWeek(6).dayOfWeek(), int(Qt::Friday));
}

void TradingHoursTest::weekdayNames_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("name");
    QTest::newRow("Saturday") << dayOfThatWeek(0) << u"星期六"_s;
    QTest::newRow("Sunday") << dayOfThatWeek(1) << u"星期日"_s;
    QTest::newRow("Monday") << dayOfThatWeek(2) << u"星期一"_s;
    QTest::newRow("Tuesday") << dayOfThatWeek(3) << u"星期二"_s;
    QTest::newRow("Wednesday") << dayOfThatWeek(4) << u"星期三"_s;
    QTest::newRow("Thursday") << dayOfThatWeek(5) << u"星期四"_s;
    QTest::newRow("Friday") << dayOfThatWeek(6) << u"星期五"_s;
    QTest::newRow("leap day, a Thursday") << QDate(2024, 2, 29) << u"星期四"_s;
    QTest::newRow("new year 2000, a Saturday") << QDate(2000, 1, 1) << u"星期六"_s;
    QTest::newRow("invalid date") << QDate() << QString();
}

void TradingHoursTest::weekdayNames() {
    QFETCH(QDate, date);
    QFETCH(QString, name);
    QCOMPARE(tradinghours::weekdayName(date), name);
}

void TradingHoursTest::closedMarketBoundaries_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<bool>("closed");
    const auto at = [](int day, int hour, int minute, int second = 0) {
        return QDateTime(dayOfThatWeek(day), QTime(hour, minute, second));
    };
    QTest::newRow("Saturday 00:00") << at(0, 0, 0) << false;
    QTest::newRow("Saturday 04:59:59") << at(0, 4, 59, 59) << false;
    QTest::newRow("Saturday 05:00") << at(0, 5, 0) << true;
    QTest::newRow("Saturday 23:59") << at(0, 23, 59) << true;
    QTest::newRow("Sunday 00:00") << at(1, 0, 0) << true;
    QTest::newRow("Sunday 12:00") << at(1, 12, 0) << true;
    QTest::newRow("Sunday 23:59") << at(1, 23, 59) << true;
    QTest::newRow("Monday 00:00") << at(2, 0, 0) << true;
    QTest::newRow("Monday 06:59:59") << at(2, 6, 59, 59) << true;
    QTest::newRow("Monday 07:00") << at(2, 7, 0) << false;
    QTest::newRow("Tuesday 03:00") << at(3, 3, 0) << false;
    QTest::newRow("Friday 00:00") << at(6, 0, 0) << false;
    QTest::newRow("Friday 23:59") << at(6, 23, 59) << false;
    QTest::newRow("next Saturday 05:00") << at(7, 5, 0) << true;
}

void TradingHoursTest::closedMarketBoundaries() {
    QFETCH(QDateTime, when);
    QFETCH(bool, closed);
    QCOMPARE(tradinghours::isClosed(when), closed);
}

// Both forms of the rule over all 168 hours of a week, against the window
// Saturday 05:00 to Monday 06:59.
void TradingHoursTest::everyHourOfTheWeek() {
    for (int day = 0; day < 7; ++day) {
        const QDate date = dayOfThatWeek(day);
        const int weekday = date.dayOfWeek();
        for (int hour = 0; hour < 24; ++hour) {
            const bool expected = (weekday == Qt::Saturday && hour >= 5) || weekday == Qt::Sunday ||
                                  (weekday == Qt::Monday && hour <= 6);
            const QString where = u"%1 %2:00"_s.arg(date.toString(Qt::ISODate)).arg(hour);
            QVERIFY2(tradinghours::isClosed(QDateTime(date, QTime(hour, 30))) == expected, qPrintable(where));
            QVERIFY2(tradinghours::isClosed(tradinghours::weekdayName(date), hour) == expected,
                     qPrintable(where));
        }
    }
}

void TradingHoursTest::unknownNameIsNeverClosed() {
    for (int hour = 0; hour < 24; ++hour) {
        QVERIFY(!tradinghours::isClosed(QString(), hour));
        QVERIFY(!tradinghours::isClosed(u"Sunday"_s, hour));
    }
}

void TradingHoursTest::cityHoursWrapOnce() {
    QCOMPARE(tradinghours::kCityOffsets[0], 16);
    QCOMPARE(tradinghours::kCityOffsets[1], 12);
    QCOMPARE(tradinghours::kCityOffsets[2], 3);
    for (int offset : tradinghours::kCityOffsets) {
        for (int hour = 0; hour < 24; ++hour)
            QCOMPARE(tradinghours::cityHour(hour, offset), (hour + offset) % 24);
    }
}

void TradingHoursTest::worldClockTexts_data() {
    QTest::addColumn<QTime>("local");
    QTest::addColumn<QString>("beijing");
    QTest::addColumn<QString>("london");
    QTest::addColumn<QString>("newYork");
    QTest::addColumn<QString>("sydney");
    QTest::newRow("21:30:05") << QTime(21, 30, 5) << u"21:30:5"_s << u"13:30:5"_s << u"9:30:5"_s
                              << u"0:30:5"_s;
    QTest::newRow("08:00:00") << QTime(8, 0, 0) << u"8:0:0"_s << u"0:0:0"_s << u"20:0:0"_s << u"11:0:0"_s;
    QTest::newRow("09:05:07") << QTime(9, 5, 7) << u"9:5:7"_s << u"1:5:7"_s << u"21:5:7"_s << u"12:5:7"_s;
    QTest::newRow("midnight") << QTime(0, 0, 0) << u"0:0:0"_s << u"16:0:0"_s << u"12:0:0"_s << u"3:0:0"_s;
    QTest::newRow("07:10:10 London 23")
        << QTime(7, 10, 10) << u"7:10:10"_s << u"23:10:10"_s << u"19:10:10"_s << u"10:10:10"_s;
    QTest::newRow("11:00:59 New York 23")
        << QTime(11, 0, 59) << u"11:0:59"_s << u"3:0:59"_s << u"23:0:59"_s << u"14:0:59"_s;
    QTest::newRow("12:00:00 New York 0")
        << QTime(12, 0, 0) << u"12:0:0"_s << u"4:0:0"_s << u"0:0:0"_s << u"15:0:0"_s;
    QTest::newRow("20:01:02 Sydney 23")
        << QTime(20, 1, 2) << u"20:1:2"_s << u"12:1:2"_s << u"8:1:2"_s << u"23:1:2"_s;
    QTest::newRow("23:59:59") << QTime(23, 59, 59) << u"23:59:59"_s << u"15:59:59"_s << u"11:59:59"_s
                              << u"2:59:59"_s;
}

void TradingHoursTest::worldClockTexts() {
    QFETCH(QTime, local);
    QFETCH(QString, beijing);
    QFETCH(QString, london);
    QFETCH(QString, newYork);
    QFETCH(QString, sydney);
    const std::array<QString, 4> texts = tradinghours::worldClockTexts(local);
    QCOMPARE(texts[0], beijing);
    QCOMPARE(texts[1], london);
    QCOMPARE(texts[2], newYork);
    QCOMPARE(texts[3], sydney);
}

QTEST_APPLESS_MAIN(TradingHoursTest)
#include "test_trading_hours.moc"
