#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QUrl>

// Which chart shows where: every chart address of the chart pages and chart
// windows, one row each, with the panel that shows it and the button that
// loads it. The hosts come from endpoints.ini.
namespace charts {

enum class Host {
    Image,     // "chartImageHost": the chart image provider's regional site
    ImageIntl, // "chartImageIntlHost": the same provider's international site
    KLine,     // "klineChartHost": the K-line chart page
    Partner,   // "partnerChartHost": the partner quote site
};

// The endpoints.ini key that holds the host.
QString hostKey(Host host);

// "http://" + host + path, and "?" + query when there is one. Empty while the
// host is not configured: such a chart is never asked for.
QUrl chartUrl(const QString& host, const QString& path, const QString& query = {});

enum class Content {
    Image, // a chart image, shown by the program itself
    Page,  // a web page, shown in an embedded browser
};

// One chart address and where it shows. Texts are UTF-8.
struct ChartLink {
    int page;            // chart page 0..4
    const char* control; // the panel that shows it
    Host host;
    const char* path;
    const char* query;       // "" for none
    const char* button;      // the button that loads it; "" when its page's load routine does
    const char* caption;     // that button's caption
    const char* status;      // what the K-line status label shows; "" elsewhere
    const char* enlargePath; // the large image of a history chart; "" elsewhere
    Content content = Content::Image;

    QString controlName() const { return QString::fromUtf8(control); }
    QString buttonName() const { return QString::fromUtf8(button); }
    QString captionText() const { return QString::fromUtf8(caption); }
    QString statusText() const { return QString::fromUtf8(status); }
    QUrl url(const QString& hostValue) const;
    QUrl enlargeUrl(const QString& hostValue) const;
};

// Every chart of the five pages, page by page in the order of their tables.
const QList<ChartLink>& catalogue();
// The rows of one page, in table order.
QList<ChartLink> pageCharts(int page);
// The row whose button is `button`; null when none.
const ChartLink* chartOfButton(const QString& button);
// Page 0's 24-hour chart.
const ChartLink& chart24();

// The chart windows opened from the pages.
enum class ChartWindowKind {
    HistoryEnlarge, // the large history image of the enlarge button pressed
    DollarIndex30,
    CrudeOil30,
    NewYorkGold,
    ThreeDayUsd,
    ThreeDayCny,
};

struct ChartWindowDesign {
    ChartWindowKind kind;
    const char* opener; // the page button that opens it; "" for the six enlarge buttons
    const char* title;  // "" for none
    QSize size;         // the design's outer size, frame and caption included
    const char* control;
    QSize controlSize;
    const char* path;   // on the chart image host; "" for the enlarge address
    bool clearsCache;   // the web cache is emptied before every load
    bool refreshButton; // "手动刷新" at the frame's right edge
    const char* hint;
    bool legend; // the green, red and blue line legend under the chart

    QString titleText() const { return QString::fromUtf8(title); }
    QString controlName() const { return QString::fromUtf8(control); }
    QString openerName() const { return QString::fromUtf8(opener); }
};

const QList<ChartWindowDesign>& chartWindows();
const ChartWindowDesign& chartWindow(ChartWindowKind kind);

// The partner quote site's chart page, "/" on "partnerChartHost".
QUrl partnerUrl(const QString& hostValue);

} // namespace charts
