#include "chart_data.h"

#include "bar_rules.h"
#include "core/csv_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace history::chartdata {

namespace {

QByteArray priceCell(double yuan) {
    return std::isnan(yuan) ? QByteArray() : QByteArray::number(yuan, 'f', 2);
}

} // namespace

Line lineOf(const HistoryStore::Span& span) {
    Line line;
    line.keys.reserve(span.bars.size() + span.changes.size());
    line.values.reserve(line.keys.capacity());
    for (const Bar& b : span.bars) {
        line.keys.append(b.ms / 1000.0);
        line.values.append(yuanOf(b.close));
    }
    for (const Change& c : span.changes) {
        line.keys.append(c.ms / 1000.0);
        line.values.append(yuanOf(c.fen));
    }
    return line;
}

Line lineOf(const HistoryStore::Span& span, qint64 resolutionMs, int utcOffsetSeconds) {
    if (resolutionMs <= 0)
        return lineOf(span);
    return lineOf({bars::aggregate(minuteBarsOf(span), resolutionMs, utcOffsetSeconds), {}});
}

qint64 lineResolutionMs(qint64 spanMs) {
    constexpr qint64 kMaxPoints = 120'000;
    if (spanMs <= 8 * kDayMs)
        return 0;
    for (qint64 minutes : {1, 5, 15, 60})
        if (spanMs / (minutes * kMinuteMs) <= kMaxPoints)
            return minutes * kMinuteMs;
    return kDayMs;
}

QString resolutionName(qint64 resolutionMs) {
    if (resolutionMs <= 0)
        return QStringLiteral("每个价格");
    if (resolutionMs >= kDayMs)
        return QStringLiteral("每天");
    return QStringLiteral("每%1分钟").arg(resolutionMs / kMinuteMs);
}

QList<Bar> minuteBarsOf(const HistoryStore::Span& span) {
    return bars::merge(span.bars, bars::minuteBars(span.changes));
}

Line spreadOf(const Line& buy, const Line& sell) {
    Line spread;
    qsizetype i = 0, j = 0;
    double b = std::numeric_limits<double>::quiet_NaN(), s = b;
    while (i < buy.keys.size() || j < sell.keys.size()) {
        double key;
        if (j == sell.keys.size() || (i < buy.keys.size() && buy.keys[i] <= sell.keys[j])) {
            key = buy.keys[i];
            b = buy.values[i++];
            // A sell changed at the same moment belongs to the same point.
            if (j < sell.keys.size() && sell.keys[j] == key)
                s = sell.values[j++];
        } else {
            key = sell.keys[j];
            s = sell.values[j++];
        }
        if (!std::isnan(b) && !std::isnan(s)) {
            spread.keys.append(key);
            spread.values.append(std::round((s - b) * 100) / 100);
        }
    }
    return spread;
}

QString spanName(Span span) {
    switch (span) {
    case Span::Hour:
        return QStringLiteral("1小时");
    case Span::Day:
        return QStringLiteral("1天");
    case Span::Week:
        return QStringLiteral("1周");
    case Span::Month:
        return QStringLiteral("1月");
    case Span::Year:
        return QStringLiteral("1年");
    case Span::All:
        return QStringLiteral("全部");
    }
    return {};
}

qint64 spanStartMs(Span span, const QDateTime& now, qint64 firstMs) {
    switch (span) {
    case Span::Hour:
        return now.addSecs(-3600).toMSecsSinceEpoch();
    case Span::Day:
        return now.addDays(-1).toMSecsSinceEpoch();
    case Span::Week:
        return now.addDays(-7).toMSecsSinceEpoch();
    case Span::Month:
        return now.addMonths(-1).toMSecsSinceEpoch();
    case Span::Year:
        return now.addYears(-1).toMSecsSinceEpoch();
    case Span::All:
        return firstMs > 0 ? std::min(firstMs, now.toMSecsSinceEpoch())
                           : now.addSecs(-3600).toMSecsSinceEpoch();
    }
    return now.toMSecsSinceEpoch();
}

QString timeText(double key) {
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround(key * 1000)))
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QByteArray csvOfLines(const QList<std::pair<QString, Line>>& lines) {
    QByteArray out = csv::start() + "时间";
    for (const auto& [name, line] : lines)
        out += ',' + name.toUtf8();
    out += "\r\n";
    // Walks every line at once, in time order.
    QList<qsizetype> next(lines.size(), 0);
    QList<double> inForce(lines.size(), std::numeric_limits<double>::quiet_NaN());
    for (;;) {
        double key = std::numeric_limits<double>::infinity();
        for (qsizetype l = 0; l < lines.size(); ++l)
            if (next[l] < lines[l].second.keys.size())
                key = std::min(key, lines[l].second.keys[next[l]]);
        if (std::isinf(key))
            break;
        for (qsizetype l = 0; l < lines.size(); ++l) {
            const Line& line = lines[l].second;
            while (next[l] < line.keys.size() && line.keys[next[l]] == key)
                inForce[l] = line.values[next[l]++];
        }
        out += timeText(key).toUtf8();
        for (double value : inForce)
            out += ',' + priceCell(value);
        out += "\r\n";
    }
    return out;
}

QByteArray csvOfCandles(const QList<Bar>& candles, const QVector<double>& average,
                        const QString& averageName) {
    const bool withAverage = !average.isEmpty();
    QByteArray out = csv::start() + "时间,开盘,最高,最低,收盘";
    if (withAverage)
        out += ',' + averageName.toUtf8();
    out += "\r\n";
    for (qsizetype i = 0; i < candles.size(); ++i) {
        const Bar& c = candles[i];
        out += timeText(c.ms / 1000.0).toUtf8() + ',' + priceCell(yuanOf(c.open)) + ',' +
               priceCell(yuanOf(c.high)) + ',' + priceCell(yuanOf(c.low)) + ',' + priceCell(yuanOf(c.close));
        if (withAverage)
            out +=
                ',' + priceCell(i < average.size() ? average[i] : std::numeric_limits<double>::quiet_NaN());
        out += "\r\n";
    }
    return out;
}

} // namespace history::chartdata
