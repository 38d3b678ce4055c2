#include "chart_images.h"

#include "chart_drawing.h"
#include "gif_writer.h"

#include <functional>

using namespace Qt::StringLiterals;

namespace demoportal {

namespace {

constexpr qint64 kDay = MarketHistory::kDaySeconds;
const QColor kPriceLine(0, 68, 170);
const QColor kGreen(0, 160, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kOrange(255, 128, 0);

struct HistorySpan {
    int days;
    const char* name;
};

const HistorySpan kSpans[] = {{30, "30天"},  {60, "60天"},   {182, "半年"},
                              {365, "一年"}, {1825, "五年"}, {3650, "十年"}};
const HistorySpan kTechnicalSpans[] = {{365, "一年"}, {730, "两年"}, {1825, "五年"}, {3650, "十年"}};

QString spanName(int days, const HistorySpan* spans, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (spans[i].days == days)
            return QString::fromUtf8(spans[i].name);
    }
    return QString::number(days) + u"天"_s;
}

// "au0365" → 365; -1 when the path does not start with a four-digit span.
int spanOf(const QString& name, const QString& prefix) {
    if (!name.startsWith(prefix) || name.size() < prefix.size() + 4)
        return -1;
    bool ok = false;
    const int days = name.mid(prefix.size(), 4).toInt(&ok);
    return ok ? days : -1;
}

PricePoints inDollars(PricePoints points) {
    for (QPointF& point : points)
        point.setY(MarketHistory::toUsdPerOunce(point.y()));
    return points;
}

// Midnight in Beijing on the day of `seconds`.
qint64 beijingMidnight(qint64 seconds) {
    return (seconds + kBeijingOffset) / kDay * kDay - kBeijingOffset;
}

// The moving average of the closes over `days`, from the first full window on.
PricePoints movingAverage(const PricePoints& closes, int days) {
    PricePoints average;
    double sum = 0;
    for (qsizetype i = 0; i < closes.size(); ++i) {
        sum += closes[i].y();
        if (i >= days)
            sum -= closes[i - days].y();
        if (i >= days - 1)
            average.append(QPointF(closes[i].x(), sum / days));
    }
    return average;
}

// Day ticks for a span: weekly for a month, monthly for a year, yearly beyond.
void dayTicks(LineChart& chart, int days) {
    const qint64 first = beijingMidnight(static_cast<qint64>(chart.xFrom)) + kDay;
    chart.xFirstTick = static_cast<double>(first);
    if (days <= 31) {
        chart.xStep = 7.0 * kDay;
        chart.xLabel = dayText;
    } else if (days <= 62) {
        chart.xStep = 14.0 * kDay;
        chart.xLabel = dayText;
    } else if (days <= 366) {
        chart.xStep = (days <= 190 ? 30.0 : 61.0) * kDay;
        chart.xLabel = monthText;
    } else {
        chart.xStep = (days <= 740 ? 182.0 : days <= 1830 ? 365.0 : 730.0) * kDay;
        chart.xLabel = monthText;
    }
}

} // namespace

QStringList ChartImages::paths() {
    QStringList paths = {
        u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s,
        u"/cn/live_charts/t24_crude_cn180x120.gif"_s,
        u"/cn/live_charts/t24_usd_cn180x120.gif"_s,
        u"/images/live/gold.gif"_s,
        u"/cn/past_charts/usd_30d_cn450x275.gif"_s,
        u"/cn/past_charts/crude_30d_cn450x275.gif"_s,
        u"/cn/live_charts/nygoldcn.gif"_s,
        u"/cn/live_charts/goldcn.gif"_s,
        u"/cn/live_charts/goldcny.gif"_s,
    };
    for (const HistorySpan& span : kSpans) {
        paths << u"/cn/past_charts/au%1lds_cny.gif"_s.arg(span.days, 4, 10, QLatin1Char('0'))
              << u"/cn/past_charts/au%1ldb_cny.gif"_s.arg(span.days, 4, 10, QLatin1Char('0'));
    }
    for (const HistorySpan& span : kTechnicalSpans)
        paths << u"/cn/tech_charts/au%1lf_ma_cn.gif"_s.arg(span.days, 4, 10, QLatin1Char('0'));
    return paths;
}

QByteArray ChartImages::gif(const QString& path, qint64 nowSeconds) {
    const QImage image = draw(path, nowSeconds);
    return image.isNull() ? QByteArray() : encodeGif(image);
}

QImage ChartImages::draw(const QString& path, qint64 now) {
    if (!paths().contains(path))
        return {};
    history_.observe(now);
    const QString name = path.section(u'/', -1);
    if (path == u"/cn/metals/gold/t24_au_cny_gram_450x275g.gif"_s)
        return gold24Hours({450, 275}, now);
    if (path == u"/cn/live_charts/t24_crude_cn180x120.gif"_s)
        return intraday24(history_.crudeIntraday(now - kDay, now), {180, 120}, u"美国原油"_s, u"美元/桶"_s, 2,
                          kBeijingOffset, now);
    if (path == u"/cn/live_charts/t24_usd_cn180x120.gif"_s)
        return intraday24(history_.dollarIntraday(now - kDay, now), {180, 120}, u"美元指数"_s, QString(), 2,
                          kBeijingOffset, now);
    if (path == u"/images/live/gold.gif"_s)
        return intraday24(inDollars(history_.goldIntraday(now - kDay, now)), {640, 400},
                          u"国际现货黄金 24小时"_s, u"美元/盎司"_s, 2, kBeijingOffset, now);
    if (path == u"/cn/live_charts/nygoldcn.gif"_s)
        return intraday24(inDollars(history_.goldIntraday(now - kDay, now)), {640, 280},
                          u"纽约黄金 24小时（纽约时间）"_s, u"美元/盎司"_s, 2, kNewYorkOffset, now);
    if (path == u"/cn/past_charts/usd_30d_cn450x275.gif"_s)
        return daily30(history_.dollarDaily(30, now), u"美元指数 30天"_s, QString(), 2);
    if (path == u"/cn/past_charts/crude_30d_cn450x275.gif"_s)
        return daily30(history_.crudeDaily(30, now), u"美国原油 30天"_s, u"美元/桶"_s, 2);
    if (path == u"/cn/live_charts/goldcn.gif"_s || path == u"/cn/live_charts/goldcny.gif"_s)
        return threeDays(path == u"/cn/live_charts/goldcn.gif"_s, now);
    if (const int days = spanOf(name, u"au"_s); days > 0 && path.startsWith(u"/cn/past_charts/"_s))
        return goldHistory(days, name.contains(u"ldb"_s) ? QSize(480, 300) : QSize(290, 185), now);
    if (const int days = spanOf(name, u"au"_s); days > 0 && path.startsWith(u"/cn/tech_charts/"_s))
        return technical(days, now);
    return {};
}

QImage ChartImages::gold24Hours(QSize size, qint64 now) {
    return intraday24(history_.goldIntraday(now - kDay, now), size, u"黄金24小时走势"_s, u"人民币/克"_s, 2,
                      kBeijingOffset, now);
}

QImage ChartImages::intraday24(PricePoints points, QSize size, const QString& title, const QString& unit,
                               int decimals, int offset, qint64 now) {
    LineChart chart;
    chart.size = size;
    chart.title = title;
    chart.unit = size.width() < 300 ? QString() : unit;
    chart.lines = {{std::move(points), kPriceLine, QString()}};
    chart.xFrom = static_cast<double>(now - kDay);
    chart.xTo = static_cast<double>(now);
    chart.decimals = decimals;
    // Ticks on whole hours of the axis's own clock.
    const qint64 hours = size.width() < 300 ? 6 : size.width() < 500 ? 3 : 2;
    const qint64 step = hours * 3600;
    chart.xStep = static_cast<double>(step);
    chart.xFirstTick = static_cast<double>(((now - kDay + offset) / step + 1) * step - offset);
    chart.xLabel = [offset](double seconds) { return clockText(seconds, offset); };
    return drawLineChart(chart);
}

QImage ChartImages::goldHistory(int days, QSize size, qint64 now) {
    LineChart chart;
    chart.size = size;
    chart.title = u"黄金%1走势"_s.arg(spanName(days, kSpans, std::size(kSpans)));
    chart.unit = u"元/克"_s;
    chart.lines = {{history_.goldDaily(days, now), kPriceLine, QString()}};
    chart.xFrom = static_cast<double>(now - days * kDay);
    chart.xTo = static_cast<double>(now);
    dayTicks(chart, days);
    return drawLineChart(chart);
}

QImage ChartImages::daily30(PricePoints points, const QString& title, const QString& unit, int decimals) {
    LineChart chart;
    chart.size = {450, 275};
    chart.title = title;
    chart.unit = unit;
    chart.xFrom = points.isEmpty() ? 0 : points.first().x();
    chart.xTo = points.isEmpty() ? 1 : points.last().x();
    chart.lines = {{std::move(points), kPriceLine, QString()}};
    chart.decimals = decimals;
    dayTicks(chart, 30);
    return drawLineChart(chart);
}

QImage ChartImages::threeDays(bool dollars, qint64 now) {
    // Today, yesterday and the day before, each laid over today's 24 hours.
    const qint64 midnight = beijingMidnight(now);
    const auto day = [&](int back) {
        const qint64 from = midnight - back * kDay;
        PricePoints points = history_.goldIntraday(from, back == 0 ? now : from + kDay);
        if (back > 0) // the day ends at midnight, not at the newest price
            points.removeLast();
        for (QPointF& point : points)
            point.setX(point.x() + static_cast<double>(back * kDay));
        return dollars ? inDollars(points) : points;
    };
    LineChart chart;
    chart.size = {640, 420};
    chart.title = dollars ? u"黄金三天走势 美元"_s : u"黄金三天走势 人民币"_s;
    chart.unit = dollars ? u"美元/盎司"_s : u"元/克"_s;
    chart.lines = {{day(0), kGreen, QString()}, {day(1), kRed, QString()}, {day(2), kBlue, QString()}};
    chart.xFrom = static_cast<double>(midnight);
    chart.xTo = static_cast<double>(midnight + kDay);
    chart.xFirstTick = chart.xFrom;
    chart.xStep = 2 * 3600;
    chart.xLabel = [](double seconds) { return clockText(seconds, kBeijingOffset); };
    return drawLineChart(chart);
}

QImage ChartImages::technical(int days, qint64 now) {
    constexpr int kLong = 200;
    const PricePoints closes = history_.goldDaily(days + kLong, now);
    const auto shown = [&](const PricePoints& points) {
        PricePoints tail;
        for (const QPointF& point : points) {
            if (point.x() >= static_cast<double>(now - days * kDay))
                tail.append(point);
        }
        return tail;
    };
    LineChart chart;
    chart.size = {640, 420};
    chart.title = u"黄金%1走势技术分析"_s.arg(spanName(days, kTechnicalSpans, std::size(kTechnicalSpans)));
    chart.unit = u"元/克"_s;
    chart.lines = {{shown(closes), kPriceLine, u"收盘价"_s},
                   {shown(movingAverage(closes, 50)), kOrange, u"50日均线"_s},
                   {shown(movingAverage(closes, kLong)), kGreen, u"200日均线"_s}};
    chart.xFrom = static_cast<double>(now - days * kDay);
    chart.xTo = static_cast<double>(now);
    dayTicks(chart, days);
    return drawLineChart(chart);
}

} // namespace demoportal
