#include "quote_page_builder.h"

#include "platform/gbk.h"
#include "quotes/quote_page.h"

#include <QtGlobal>

using namespace Qt::StringLiterals;

namespace demoportal {

namespace {

// Troy ounce in grams and the yuan per dollar used for the international rows.
constexpr double kGramsPerOunce = 31.1035;
constexpr double kYuanPerDollar = 7.10;

// The sell cell moves this many bytes to the right in BrokenSell, which pulls the
// end of its opening tag into the sell field.
constexpr qsizetype kBrokenSellShift = 2;

QByteArray enc(const QString& text) {
    return gbk::encode(text);
}

QString money(double value) {
    return QString::number(value, 'f', 2);
}

QString timeText(const QTime& time) {
    return time.isValid() ? time.toString(u"HH:mm:ss"_s) : u"--:--:--"_s;
}

QString changeClass(const QString& change) {
    return change.startsWith(u'-') ? u"down"_s : u"up"_s;
}

QByteArray pageHead() {
    return enc(
        uR"(<!DOCTYPE html PUBLIC "-//W3C//DTD XHTML 1.0 Transitional//EN" "http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd">
<html xmlns="http://www.w3.org/1999/xhtml">
<head>
<meta http-equiv="Content-Type" content="text/html; charset=gbk" />
<meta http-equiv="refresh" content="60" />
<title>今日金价_纸黄金价格_银行黄金实时报价 - 金价行情中心</title>
<meta name="keywords" content="纸黄金,账户金,黄金宝,工行纸黄金,建行账户金,中行黄金宝,国际金价,伦敦金" />
<link rel="stylesheet" type="text/css" href="/css/quote.css" />
<script type="text/javascript" src="/js/chart.js"></script>
</head>
<body>
<div id="header">
  <div class="logo"><a href="/"><img src="/img/logo.gif" width="180" height="48" alt="金价行情中心" /></a></div>
  <ul class="nav">
    <li><a href="/">首页</a></li>
    <li class="on"><a href="/quote/index.html">黄金行情</a></li>
    <li><a href="/news/">黄金资讯</a></li>
    <li><a href="/chart/">走势图表</a></li>
    <li><a href="/school/">投资学堂</a></li>
  </ul>
</div>
<div id="main">
<h1>银行纸黄金实时报价</h1>
<p class="note">报价单位：人民币/克，每分钟自动刷新。数据仅供参考，以各银行实际成交价为准。</p>
<table class="quote" id="paper_gold" width="100%" cellspacing="0" cellpadding="0" border="0">
  <tr class="head">
    <th>品种</th>
    <th>单位</th>
    <th>更新时间</th>
    <th>买入价</th>
    <th>卖出价</th>
    <th>涨跌</th>
  </tr>
)"_s);
}

// Ends the current line, indents, and opens a cell whose text will start at
// `textAt` bytes into `row`. The indentation absorbs whatever the fixed markup
// before it leaves over.
void openCellAt(QByteArray& row, qsizetype textAt, const QByteArray& openTag) {
    const qsizetype indent = textAt - row.size() - 1 - openTag.size();
    if (indent < 0)
        qFatal("demo quote page: the ICBC row markup does not fit before its price cell");
    row += '\n';
    row += QByteArray(indent, ' ');
    row += openTag;
}

QByteArray icbcGoldRow(const QuotePrices& prices, QuotePageLayout layout) {
    QByteArray row = enc(uR"(  <tr class="odd" id="icbc_paper_gold">
    <td class="name"><a href="/quote/icbc.html" target="_blank">)"_s);
    const qsizetype anchor = row.size();
    row += layout == QuotePageLayout::NoMarker ? enc(u"工行金行家"_s) : rowMarker();
    row += enc(u" 纸黄金</a></td>\n    <td class=\"unit\">人民币/克</td>\n    <td class=\"time\">"_s);
    row += enc(timeText(prices.updated));
    row += "</td>";

    const QString buy = layout == QuotePageLayout::BrokenBuy ? prices.buy.right(5) : prices.buy;
    openCellAt(
        row, anchor + kBuyOffset,
        R"html(<td class="price buy" id="icbc_buy" style="color:#cc0000;font-weight:bold;" onmouseover="tip(this, 'buy')" onclick="showChart('icbc','buy')">)html");
    row += enc(buy);
    row += "</td>";

    const qsizetype sellAt =
        anchor + kSellOffset + (layout == QuotePageLayout::BrokenSell ? kBrokenSellShift : 0);
    openCellAt(
        row, sellAt,
        R"html(<td class="price sell" id="icbc_sell" style="color:green;" onclick="showChart('icbc','sell')">)html");
    row += enc(prices.sell);
    row += "</td>";

    row += enc(
        u"\n    <td class=\"change %1\">%2</td>\n  </tr>\n"_s.arg(changeClass(prices.change), prices.change));
    return row;
}

QString bankRow(const QString& rowClass, const QString& id, const QString& name, const QString& unit,
                const QString& updated, double buy, double sell, const QString& change) {
    return uR"(  <tr class="%1" id="%2">
    <td class="name"><a href="/quote/%2.html" target="_blank">%3</a></td>
    <td class="unit">%4</td>
    <td class="time">%5</td>
    <td class="price buy">%6</td>
    <td class="price sell">%7</td>
    <td class="change %8">%9</td>
  </tr>
)"_s.arg(rowClass, id, name, unit, updated, money(buy), money(sell), changeClass(change), change);
}

QByteArray otherRows(const QuotePrices& prices, QuotePageLayout layout) {
    const double buy = prices.buy.toDouble();
    const QString updated = timeText(prices.updated);
    const QString& change = prices.change;
    const QString silverName =
        layout == QuotePageLayout::NoMarker ? u"工行金行家 纸白银"_s : u"工行-金行家 纸白银"_s;

    QString rows;
    rows += bankRow(u"even"_s, u"ccb_account_gold"_s, u"建行-账户金"_s, u"人民币/克"_s, updated, buy + 0.06,
                    buy + 0.96, change);
    rows += bankRow(u"odd"_s, u"boc_gold_bao"_s, u"中行-黄金宝"_s, u"人民币/克"_s, updated, buy + 0.11,
                    buy + 0.91, change);
    rows += bankRow(u"even"_s, u"icbc_paper_silver"_s, silverName, u"人民币/克"_s, updated, buy / 118.0,
                    buy / 118.0 + 0.08, u"+0.01"_s);
    rows +=
        u"</table>\n\n<h2>国际金价</h2>\n"_s
        u"<table class=\"quote\" id=\"world_gold\" width=\"100%\" cellspacing=\"0\" cellpadding=\"0\" border=\"0\">\n"_s
        u"  <tr class=\"head\">\n    <th>品种</th>\n    <th>单位</th>\n    <th>更新时间</th>\n"_s
        u"    <th>买入价</th>\n    <th>卖出价</th>\n    <th>涨跌</th>\n  </tr>\n"_s;

    const double spot = buy * kGramsPerOunce / kYuanPerDollar;
    rows += bankRow(u"odd"_s, u"xau_usd"_s, u"国际现货黄金"_s, u"美元/盎司"_s, updated, spot, spot + 0.50,
                    change);
    rows += bankRow(u"even"_s, u"london_gold"_s, u"伦敦金"_s, u"美元/盎司"_s, updated, spot + 0.20,
                    spot + 0.70, change);
    rows += bankRow(u"odd"_s, u"comex_gold"_s, u"纽约期金"_s, u"美元/盎司"_s, updated, spot + 12.30,
                    spot + 12.60, change);
    rows += u"</table>\n"_s;
    return enc(rows);
}

QByteArray pageTail() {
    return enc(uR"(<p class="source">数据来源：各银行官方网站报价，延时约一分钟。</p>
</div>
<div id="footer">
  <p><a href="/about.html">关于我们</a> | <a href="/contact.html">联系方式</a> | <a href="/disclaimer.html">免责声明</a></p>
  <p>Copyright &copy; 金价行情中心 版权所有</p>
</div>
</body>
</html>
)"_s);
}

void verifyLayout(const QByteArray& page, const QuotePrices& prices, QuotePageLayout layout) {
    const qsizetype at = page.indexOf(rowMarker());
    const auto field = [&](qsizetype offset) { return page.mid(at + offset, kFieldLength); };
    const QByteArray buy = enc(prices.buy);
    bool matches = false;
    switch (layout) {
    case QuotePageLayout::Normal:
        matches = at >= 0 && field(kBuyOffset) == buy && field(kSellOffset) == enc(prices.sell);
        break;
    case QuotePageLayout::NoMarker:
        matches = at < 0;
        break;
    case QuotePageLayout::BrokenBuy:
        matches = at >= 0 && field(kBuyOffset) == buy.right(5) + '<';
        break;
    case QuotePageLayout::BrokenSell:
        matches = at >= 0 && field(kBuyOffset) == buy && field(kSellOffset).contains('>');
        break;
    }
    if (!matches)
        qFatal("demo quote page: the ICBC row does not have its expected layout");
}

} // namespace

QByteArray rowMarker() {
    return enc(u"工行-金行家"_s);
}

QByteArray buildQuotePage(const QuotePrices& prices, QuotePageLayout layout) {
    QByteArray page = pageHead();
    // Every layout says its prices are simulated: the program marks them so.
    page.replace(QByteArrayLiteral("</head>"), quotepage::demoMarker() + QByteArrayLiteral("\n</head>"));
    page += icbcGoldRow(prices, layout);
    page += otherRows(prices, layout);
    page += pageTail();
    verifyLayout(page, prices, layout);
    return page;
}

} // namespace demoportal
