#include "reference_pages.h"

#include "platform/gbk.h"

#include <QStringList>
#include <QTime>

namespace demoportal {

namespace {

struct PageText {
    QString site;
    QString path;
    QString title;
    QString heading;
    QString body; // HTML; %BUY% and %SELL% become the quote
};

QString headlines(const QStringList& lines) {
    QString html = QStringLiteral("<ul>");
    for (const QString& line : lines)
        html += QStringLiteral("<li>") + line + QStringLiteral("</li>");
    return html + QStringLiteral("</ul>");
}

QString table(const QStringList& header, const QList<QStringList>& rows) {
    QString html = QStringLiteral("<table><tr>");
    for (const QString& cell : header)
        html += QStringLiteral("<th>") + cell + QStringLiteral("</th>");
    html += QStringLiteral("</tr>");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : row)
            html += QStringLiteral("<td>") + cell + QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

const QStringList& goldNews() {
    static const QStringList news = {
        QStringLiteral("美联储议息在即，国际金价高位整理"),
        QStringLiteral("纸黄金报价 %BUY% 元/克，日内波动收窄"),
        QStringLiteral("全球最大黄金ETF持仓连续三日持平"),
        QStringLiteral("美元指数回落，贵金属获得支撑"),
        QStringLiteral("分析师：短线关注前期高点阻力"),
    };
    return news;
}

const QList<PageText>& pages() {
    static const QList<PageText> list = {
        {QStringLiteral("forex"), QStringLiteral("/"), QStringLiteral("外汇实时信息 - 汇市快讯"),
         QStringLiteral("实时信息"),
         headlines({QStringLiteral("[09:30] 欧元兑美元小幅走高，市场等待通胀数据"),
                    QStringLiteral("[10:05] 纸黄金买入价 %BUY% 元/克，卖出价 %SELL% 元/克"),
                    QStringLiteral("[10:40] 日元避险需求升温，美元兑日元回落"),
                    QStringLiteral("[11:15] 原油库存意外下降，油价反弹")})},
        {QStringLiteral("data"), QStringLiteral("/X_today_global_data.aspx"),
         QStringLiteral("今日全球经济数据一览 - 汇市数据中心"), QStringLiteral("今日数据"),
         table({QStringLiteral("时间"), QStringLiteral("国家"), QStringLiteral("指标"),
                QStringLiteral("前值"), QStringLiteral("预测")},
               {{QStringLiteral("09:30"), QStringLiteral("中国"), QStringLiteral("居民消费价格指数年率"),
                 QStringLiteral("0.4%"), QStringLiteral("0.5%")},
                {QStringLiteral("15:00"), QStringLiteral("德国"), QStringLiteral("工业产出月率"),
                 QStringLiteral("-0.3%"), QStringLiteral("0.2%")},
                {QStringLiteral("21:30"), QStringLiteral("美国"), QStringLiteral("初请失业金人数"),
                 QStringLiteral("21.9万"), QStringLiteral("22.0万")},
                {QStringLiteral("23:00"), QStringLiteral("美国"), QStringLiteral("成屋销售年化总数"),
                 QStringLiteral("396万"), QStringLiteral("401万")}})},
        {QStringLiteral("rates"), QStringLiteral("/Web/Chinese/News/HX_EconomicData_OCR.aspx"),
         QStringLiteral("各国央行基准利率一览"), QStringLiteral("各国利率"),
         table({QStringLiteral("央行"), QStringLiteral("基准利率"), QStringLiteral("最近调整")},
               {{QStringLiteral("美联储"), QStringLiteral("4.50%"), QStringLiteral("降息25个基点")},
                {QStringLiteral("欧洲央行"), QStringLiteral("2.15%"), QStringLiteral("维持不变")},
                {QStringLiteral("英国央行"), QStringLiteral("4.00%"), QStringLiteral("降息25个基点")},
                {QStringLiteral("日本央行"), QStringLiteral("0.50%"), QStringLiteral("维持不变")},
                {QStringLiteral("中国人民银行"), QStringLiteral("3.00%"), QStringLiteral("维持不变")}})},
        {QStringLiteral("stocks"), QStringLiteral("/glddt/fmgldkc/index.shtm"),
         QStringLiteral("COMEX黄金库存日报"), QStringLiteral("COMEX库存"),
         table({QStringLiteral("仓库"), QStringLiteral("注册仓单(盎司)"), QStringLiteral("合格仓单(盎司)")},
               {{QStringLiteral("布林克斯"), QStringLiteral("4,512,306"), QStringLiteral("3,287,415")},
                {QStringLiteral("HSBC"), QStringLiteral("3,905,771"), QStringLiteral("4,120,038")},
                {QStringLiteral("JP摩根"), QStringLiteral("5,736,912"), QStringLiteral("4,998,260")},
                {QStringLiteral("合计"), QStringLiteral("14,154,989"), QStringLiteral("12,405,713")}})},
        {QStringLiteral("search"), QStringLiteral("/search/searchZiXun.php"), QStringLiteral("资讯搜索"),
         QStringLiteral("资讯搜索"),
         headlines({QStringLiteral("COMEX期金收盘小幅上涨，成交量萎缩"),
                    QStringLiteral("StreetTracks黄金信托持仓报告（本周）"),
                    QStringLiteral("期金与现货价差扩大，市场关注交割月")})},
        {QString(), QStringLiteral("/cn/"), QStringLiteral("国际金价图表中心"),
         QStringLiteral("国际金价图表"),
         QStringLiteral("<p>24小时金价、历史走势、原油与美元指数图表，每分钟更新。</p>") +
             table({QStringLiteral("图表"), QStringLiteral("周期")},
                   {{QStringLiteral("人民币金价(元/克)"), QStringLiteral("24小时")},
                    {QStringLiteral("纽约金价"), QStringLiteral("3天 / 30天 / 1年")},
                    {QStringLiteral("美国原油、美元指数"), QStringLiteral("24小时 / 30天")}})},
        {QStringLiteral("sohu"), QStringLiteral("/jin/"), QStringLiteral("搜狐黄金频道 - 金价要闻"),
         QStringLiteral("搜狐黄金"), headlines(goldNews())},
        {QStringLiteral("hexun"), QStringLiteral("/"), QStringLiteral("和讯黄金 - 黄金行情资讯"),
         QStringLiteral("和讯黄金"), headlines(goldNews())},
        {QStringLiteral("sina"), QStringLiteral("/nmetal/"), QStringLiteral("新浪财经 - 贵金属"),
         QStringLiteral("新浪黄金"), headlines(goldNews())},
        {QStringLiteral("cngold"), QStringLiteral("/"), QStringLiteral("中金在线 - 黄金频道"),
         QStringLiteral("中金在线"), headlines(goldNews())},
        {QStringLiteral("emperor"), QStringLiteral("/"), QStringLiteral("英皇金融集团 - 贵金属交易"),
         QStringLiteral("英皇金融集团"),
         QStringLiteral("<p>伦敦金、伦敦银报价与交易时间说明。</p>") + headlines(goldNews().mid(0, 3))},
        {QStringLiteral("ruide"), QStringLiteral("/bbs/"), QStringLiteral("瑞德投资论坛 - 黄金讨论区"),
         QStringLiteral("瑞德投资"),
         table({QStringLiteral("主题"), QStringLiteral("回复")},
               {{QStringLiteral("纸黄金 %BUY% 能不能进？"), QStringLiteral("128")},
                {QStringLiteral("分享我的止损纪律"), QStringLiteral("56")},
                {QStringLiteral("周线级别的支撑在哪里"), QStringLiteral("73")}})},
        {QStringLiteral("icbc"), QStringLiteral("/icbc/"), QStringLiteral("中国工商银行 - 账户贵金属"),
         QStringLiteral("中国工商银行"),
         table({QStringLiteral("品种"), QStringLiteral("银行买入价"), QStringLiteral("银行卖出价")},
               {{QStringLiteral("人民币账户黄金"), QStringLiteral("%BUY%"), QStringLiteral("%SELL%")}})},
        {QStringLiteral("ccb"), QStringLiteral("/portal/cn/home/index.html"),
         QStringLiteral("中国建设银行 - 个人黄金业务"), QStringLiteral("中国建设银行"),
         QStringLiteral("<p>账户金、实物金与黄金积存业务介绍。</p>")},
        {QStringLiteral("boc"), QStringLiteral("/cn/static/index.html"), QStringLiteral("中国银行 - 纸黄金"),
         QStringLiteral("中国银行"),
         QStringLiteral("<p>人民币账户金买卖，交易时间为周一早7:00至周六凌晨4:00。</p>")},
        {QStringLiteral("partner"), QStringLiteral("/"), QStringLiteral("金价行情站 - 实时金价"),
         QStringLiteral("金价行情站"),
         table({QStringLiteral("品种"), QStringLiteral("买入"), QStringLiteral("卖出")},
               {{QStringLiteral("纸黄金"), QStringLiteral("%BUY%"), QStringLiteral("%SELL%")}})},
    };
    return list;
}

QString searchedText(const QString& query) {
    // The key is GBK, percent-encoded, as a Chinese portal's search takes it.
    for (const QString& item : query.split(u'&')) {
        if (item.startsWith(QLatin1String("searchKey=")))
            return gbk::decode(QByteArray::fromPercentEncoding(item.mid(10).toLatin1())).toHtmlEscaped();
    }
    return {};
}

} // namespace

const QList<ReferencePage>& referencePages() {
    static const QList<ReferencePage> list = [] {
        QList<ReferencePage> all;
        for (const PageText& page : pages())
            all.append({page.site, page.path});
        return all;
    }();
    return list;
}

QByteArray buildReferencePage(const ReferencePage& wanted, const QString& query, const QString& buy,
                              const QString& sell) {
    for (const PageText& page : pages()) {
        if (page.site != wanted.site || page.path != wanted.path)
            continue;
        QString title = page.title;
        QString body = page.body;
        const QString searched = searchedText(query);
        if (!searched.isEmpty()) {
            title += QStringLiteral("：") + searched;
            body = QStringLiteral("<p>搜索“") + searched + QStringLiteral("”的结果：</p>") + body;
        }
        const QString html =
            QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"gbk\"><title>") + title +
            QStringLiteral(
                "</title><style>"
                "body{font:14px sans-serif;margin:14px;color:#222}"
                "h1{font-size:20px;color:#8a1c1c;border-bottom:2px solid #c9a227;padding-bottom:4px}"
                "table{border-collapse:collapse}td,th{border:1px solid #ccc;padding:3px 10px}"
                "th{background:#f4efe0}li{margin:4px 0}.quote{color:#b00;font-weight:bold}"
                ".note{color:#888;font-size:12px;margin-top:18px}a{color:#1a4f9c}"
                "</style></head><body><h1>") +
            page.heading +
            QStringLiteral("</h1><p class=\"quote\">纸黄金 买入 %BUY% 元/克　卖出 %SELL% 元/克</p>") + body +
            QStringLiteral(
                "<p class=\"note\">演示站点，数据为离线演示数据。 "
                "<a href=\"/ref/data/X_today_global_data.aspx\" target=\"_blank\">在新窗口查看今日数据</a>"
                "</p></body></html>");
        QString filled = html;
        filled.replace(QStringLiteral("%BUY%"), buy.toHtmlEscaped());
        filled.replace(QStringLiteral("%SELL%"), sell.toHtmlEscaped());
        return gbk::encode(filled);
    }
    return {};
}

QByteArray buildConverterPage(const QString& buy) {
    const QString html =
        QStringLiteral(R"(<!DOCTYPE html><html><head><meta charset="gbk"><title>黄金单位换算</title><style>
html,body{margin:0;overflow:hidden;background:#fffdf5}
body{font:12px sans-serif;padding:2px 3px}
input,select{font:12px sans-serif;padding:0;margin:0;height:18px;box-sizing:border-box}
input{width:66px}select{width:90px}
table{border-collapse:collapse;margin-top:2px}td{padding:0 3px;height:14px;line-height:14px}
td.v{text-align:right;font-weight:bold;width:64px;color:#8a1c1c}
.f{color:#777;font-size:11px;margin-top:1px}
</style></head><body>
<input id="v" value="%BUY%"><select id="u"><option value="cg">元/克</option><option value="uo">美元/盎司</option><option value="co">元/盎司</option><option value="ug">美元/克</option></select>
<table><tr><td>元/克</td><td class="v" id="cg"></td></tr><tr><td>美元/盎司</td><td class="v" id="uo"></td></tr><tr><td>元/盎司</td><td class="v" id="co"></td></tr><tr><td>美元/克</td><td class="v" id="ug"></td></tr></table>
<div class="f">1盎司=31.1035克 汇率7.10 <a href="/product/index.html" target="_blank">说明</a></div>
<script>
var G = 31.1034768, R = 7.10;
function show() {
  var x = parseFloat(document.getElementById('v').value), u = document.getElementById('u').value;
  var ok = isFinite(x) && x >= 0;
  var cg = !ok ? 0 : u == 'cg' ? x : u == 'uo' ? x * R / G : u == 'co' ? x / G : x * R;
  var out = {cg: cg, uo: cg * G / R, co: cg * G, ug: cg / R};
  for (var k in out) document.getElementById(k).textContent = ok ? out[k].toFixed(2) : '-';
}
document.getElementById('v').oninput = show;
document.getElementById('u').onchange = show;
show();
</script></body></html>)");
    QString filled = html;
    filled.replace(QStringLiteral("%BUY%"), buy.toHtmlEscaped());
    return gbk::encode(filled);
}

QByteArray buildLivePlaylist(const QString& channel, qint64 sequence, int seconds) {
    // Three segments up to the newest; each is the same clip, so each starts
    // its clock anew and says so.
    const qint64 first = std::max<qint64>(0, sequence - 2);
    QByteArray playlist = "#EXTM3U\n#EXT-X-VERSION:3\n";
    playlist += "#EXT-X-TARGETDURATION:" + QByteArray::number(seconds) + '\n';
    playlist += "#EXT-X-MEDIA-SEQUENCE:" + QByteArray::number(first) + '\n';
    playlist += "#EXT-X-DISCONTINUITY-SEQUENCE:" + QByteArray::number(first) + '\n';
    for (qint64 n = first; n <= sequence; ++n) {
        if (n > first)
            playlist += "#EXT-X-DISCONTINUITY\n";
        playlist += "#EXTINF:" + QByteArray::number(seconds) + ".0,\n";
        playlist += "/tv/" + channel.toLatin1() + '/' + QByteArray::number(n) + ".ts\n";
    }
    return playlist;
}

} // namespace demoportal
