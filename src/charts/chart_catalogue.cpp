#include "chart_catalogue.h"

#include "core/endpoints.h"

namespace charts {

namespace {

constexpr const char* kHistoryHint = "如果未正常显示 可能网络正忙 请多试几次";
constexpr const char* kNewYorkHint = "如果未显示 可能网络未连接或忙 请重试";
constexpr const char* kThreeDayHint = "如果未显示 可能网络未连接或忙 请稍后 或 请重试";

const QList<ChartLink> kCatalogue = {
    // Page 0: the 24-hour chart, loaded at start-up and by its timer.
    {0, "浏览框_二十四小时黄金图超文本", Host::Image, "/cn/metals/gold/t24_au_cny_gram_450x275g.gif", "", "",
     "", "", ""},

    // Page 1: six history images, each with its enlarge button.
    {1, "超文本浏览框_三十天黄金图", Host::Image, "/cn/past_charts/au0030lds_cny.gif", "",
     "按钮_三十天黄金价格图放大", "放大", "", "/cn/past_charts/au0030ldb_cny.gif"},
    {1, "超文本浏览框_六十天黄金图", Host::Image, "/cn/past_charts/au0060lds_cny.gif", "",
     "按钮_六十天黄金价格图放大", "放大", "", "/cn/past_charts/au0060ldb_cny.gif"},
    {1, "超文本浏览框_半年黄金图", Host::Image, "/cn/past_charts/au0182lds_cny.gif", "",
     "按钮_半年黄金价格图放大", "放大", "", "/cn/past_charts/au0182ldb_cny.gif"},
    {1, "超文本浏览框_一年黄金图", Host::Image, "/cn/past_charts/au0365lds_cny.gif", "",
     "按钮_一年黄金价格图放大", "放大", "", "/cn/past_charts/au0365ldb_cny.gif"},
    {1, "超文本浏览框_五年黄金图", Host::Image, "/cn/past_charts/au1825lds_cny.gif", "",
     "按钮_五年黄金价格图放大", "放大", "", "/cn/past_charts/au1825ldb_cny.gif"},
    {1, "超文本浏览框_十年黄金图", Host::Image, "/cn/past_charts/au3650lds_cny.gif", "",
     "按钮_十年黄金价格图放大", "放大", "", "/cn/past_charts/au3650ldb_cny.gif"},

    // Page 2: crude oil and the dollar index over 24 hours, and world gold.
    {2, "超文本浏览框_美国原油图", Host::Image, "/cn/live_charts/t24_crude_cn180x120.gif", "", "", "", "",
     ""},
    {2, "超文本浏览框_美元指数图", Host::Image, "/cn/live_charts/t24_usd_cn180x120.gif", "", "", "", "", ""},
    {2, "超文本浏览框_世界黄金图", Host::ImageIntl, "/images/live/gold.gif", "", "", "", "", ""},

    // Page 3: the K-line page by period, then the daily chart with an indicator.
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=0&type=1", "按钮_五分钟K线显示",
     "5分钟K线", "五分钟K线", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=1&type=1", "按钮_十五分钟K线显示",
     "15分钟K线", "十五分钟K线", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=2&type=1", "按钮_三十分钟K线显示",
     "30分钟K线", "三十分钟K线", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=3&type=1", "按钮_六十分钟K线显示",
     "60分钟K线", "六十分钟K线", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1", "按钮_日K线显示",
     "日K线", "日K线", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=5&type=1", "按钮_周K线显示",
     "周K线", "周K线", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1&tech=6", "按钮_MACD",
     "MACD", "MACD", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1&tech=7", "按钮_DMI",
     "DMI", "DMI", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1&tech=8", "按钮_RSI",
     "RSI", "RSI", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1&tech=9", "按钮_KDJ",
     "KDJ", "KDJ", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1&tech=10", "按钮_WR",
     "W%R", "WR", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1&tech=11", "按钮_BIAS",
     "BIAS", "BIAS", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1&tech=12", "按钮_CCI",
     "CCI", "CCI", "", Content::Page},
    {3, "超文本浏览框_K线图", Host::KLine, "/embed.aspx", "code=XAUUSD&time=4&type=1&tech=13", "按钮_ROC",
     "ROC", "ROC", "", Content::Page},

    // Page 4: the technical charts, all into one panel.
    {4, "超文本浏览框_势技术分析图", Host::Image, "/cn/tech_charts/au0365lf_ma_cn.gif", "",
     "按钮_一年黄金价格走势技术分析图", "一年", "", ""},
    {4, "超文本浏览框_势技术分析图", Host::Image, "/cn/tech_charts/au0730lf_ma_cn.gif", "",
     "按钮_两年黄金价格走势技术分析图", "两年", "", ""},
    {4, "超文本浏览框_势技术分析图", Host::Image, "/cn/tech_charts/au1825lf_ma_cn.gif", "",
     "按钮_五年黄金价格走势技术分析图", "五年", "", ""},
    {4, "超文本浏览框_势技术分析图", Host::Image, "/cn/tech_charts/au3650lf_ma_cn.gif", "",
     "按钮_十年黄金价格走势技术分析图", "十年", "", ""},
};

const QList<ChartWindowDesign> kWindows = {
    {ChartWindowKind::HistoryEnlarge,
     "",
     "",
     {514, 368},
     "黄金历史大图浏览框",
     {500, 310},
     "",
     false,
     false,
     kHistoryHint,
     false},
    {ChartWindowKind::DollarIndex30,
     "按钮_美元指数放大",
     "",
     {518, 369},
     "美指走势大图浏览框",
     {500, 310},
     "/cn/past_charts/usd_30d_cn450x275.gif",
     false,
     true,
     kHistoryHint,
     false},
    {ChartWindowKind::CrudeOil30,
     "按钮_原油放大",
     "",
     {518, 371},
     "浏览框_原油走势大图",
     {500, 310},
     "/cn/past_charts/crude_30d_cn450x275.gif",
     false,
     true,
     kHistoryHint,
     false},
    {ChartWindowKind::NewYorkGold,
     "按钮_纽约黄金价格走势图",
     "纽约黄金价格走势图",
     {690, 345},
     "纽约黄金价格走势图超文本浏览框",
     {674, 285},
     "/cn/live_charts/nygoldcn.gif",
     true,
     true,
     kNewYorkHint,
     false},
    {ChartWindowKind::ThreeDayUsd,
     "按钮_三天黄金走势图美元",
     "三天黄金走势图美元",
     {699, 562},
     "超文本浏览框_三天黄金走势图美元",
     {680, 440},
     "/cn/live_charts/goldcn.gif",
     true,
     true,
     kThreeDayHint,
     true},
    {ChartWindowKind::ThreeDayCny,
     "按钮_三天黄金走势图",
     "三天黄金走势图人民币",
     {699, 562},
     "三天黄金走势图人民币超文本浏览框",
     {680, 440},
     "/cn/live_charts/goldcny.gif",
     true,
     true,
     kThreeDayHint,
     true},
};

} // namespace

QString hostKey(Host host) {
    switch (host) {
    case Host::Image:
        return endpoints::key::chartImageHost;
    case Host::ImageIntl:
        return endpoints::key::chartImageIntlHost;
    case Host::KLine:
        return endpoints::key::klineChartHost;
    case Host::Partner:
        return endpoints::key::partnerChartHost;
    }
    return {};
}

QUrl chartUrl(const QString& host, const QString& path, const QString& query) {
    if (host.trimmed().isEmpty())
        return {};
    QString text = QStringLiteral("http://") + host.trimmed() + path;
    if (!query.isEmpty())
        text += u'?' + query;
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
}

QUrl ChartLink::url(const QString& hostValue) const {
    return chartUrl(hostValue, QString::fromUtf8(path), QString::fromUtf8(query));
}

QUrl ChartLink::enlargeUrl(const QString& hostValue) const {
    if (*enlargePath == '\0')
        return {};
    return chartUrl(hostValue, QString::fromUtf8(enlargePath));
}

const QList<ChartLink>& catalogue() {
    return kCatalogue;
}

QList<ChartLink> pageCharts(int page) {
    QList<ChartLink> rows;
    for (const ChartLink& row : kCatalogue) {
        if (row.page == page)
            rows.append(row);
    }
    return rows;
}

const ChartLink* chartOfButton(const QString& button) {
    if (button.isEmpty())
        return nullptr;
    for (const ChartLink& row : kCatalogue) {
        if (row.buttonName() == button)
            return &row;
    }
    return nullptr;
}

const ChartLink& chart24() {
    return kCatalogue.first();
}

const QList<ChartWindowDesign>& chartWindows() {
    return kWindows;
}

const ChartWindowDesign& chartWindow(ChartWindowKind kind) {
    for (const ChartWindowDesign& design : kWindows) {
        if (design.kind == kind)
            return design;
    }
    return kWindows.first();
}

QUrl partnerUrl(const QString& hostValue) {
    return chartUrl(hostValue, QStringLiteral("/"));
}

} // namespace charts
