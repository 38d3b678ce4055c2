#include "news_routes.h"

#include "platform/gbk.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace demoportal {

namespace {

struct Article {
    QString headline;
    QString body;
};

const QList<Article>& articles() {
    static const QList<Article> list = {
        {u"国际金价震荡走高 现货黄金重回关键阻力位上方"_s,
         u"隔夜美元走弱，现货黄金在亚市早盘延续涨势，多头试图站稳前期阻力位。"
         "交易员表示，短线仍需关注成交量能否同步放大。"_s},
        {u"美元指数回落 纸黄金早盘小幅上扬"_s, u"受美元指数回落带动，各家银行纸黄金报价早盘普遍小幅上扬。"
                                               "市场人士提醒，银行报价点差较大，短线操作需留意成本。"_s},
        {u"央行连续第八个月增持黄金储备"_s, u"最新公布的官方储备资产数据显示，黄金储备继续增加。"
                                            "分析人士认为，长期配置需求为金价提供了底部支撑。"_s},
        {u"美联储议息会议临近 黄金市场观望情绪浓厚"_s,
         u"在利率决议公布前，黄金多空双方均较为谨慎，金价在窄幅区间内运行。"
         "市场关注会后声明对未来政策路径的表述。"_s},
        {u"上海黄金交易所黄金T+D成交量创本月新高"_s, u"国内黄金延期交易品种成交活跃，持仓量同步上升。"
                                                     "现货溢价维持在合理区间，显示实物需求平稳。"_s},
        {u"原油价格走低拖累大宗商品 黄金短线承压"_s, u"国际油价下挫带动大宗商品整体走弱，黄金跟随回调。"
                                                     "技术面上，短期均线附近存在一定支撑。"_s},
        {u"分析师：地缘局势升温 避险需求支撑金价"_s,
         u"多位分析师指出，近期地缘政治不确定性上升，避险资金流入黄金市场。"
         "但若局势缓和，金价可能面临获利回吐压力。"_s},
        {u"全球黄金ETF持仓连续三周增加"_s, u"全球主要黄金ETF持仓量连续第三周增加，机构投资者配置意愿回升。"
                                           "业内认为这一趋势有助于稳定市场情绪。"_s},
        {u"工行纸黄金报价随国际金价同步走强"_s,
         u"工行纸黄金买入价与卖出价随国际金价同步上行，日内波动幅度有所扩大。"
         "投资者可关注整数关口附近的成交情况。"_s},
        {u"非农数据公布在即 金价窄幅整理等待方向"_s,
         u"美国就业数据公布前，金价维持窄幅整理。"
         "数据若明显好于预期，美元走强可能令金价承压；反之则有望提振金价。"_s},
    };
    return list;
}

QString htmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

// The portal as the client reached it; the list's addresses point back at it.
QString originOf(const QHttpServerRequest& request) {
    QUrl origin = request.url();
    origin.setPath(QString());
    origin.setQuery(QString());
    origin.setFragment(QString());
    if (origin.host().isEmpty())
        return u"http://127.0.0.1"_s;
    return origin.toString(QUrl::RemoveUserInfo | QUrl::StripTrailingSlash);
}

} // namespace

QStringList newsHeadlines() {
    QStringList headlines;
    for (const Article& article : articles())
        headlines << article.headline;
    return headlines;
}

QByteArray buildNewsList(const QString& origin) {
    QByteArray list;
    for (qsizetype i = 0; i < articles().size(); ++i) {
        list += gbk::encode(articles()[i].headline) + "|>" + origin.toLatin1() + "/news/article/" +
                QByteArray::number(i + 1) + "\r\n";
    }
    return list;
}

QByteArray buildArticlePage(int number) {
    if (number < 1 || number > articles().size())
        return {};
    const Article& article = articles()[number - 1];
    const QString page = u"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                         "<body><h1>%1</h1><p>%2</p>"
                         "<p><small>演示数据门户的示例资讯，不构成投资建议。</small></p></body></html>"_s.arg(
                             htmlEscaped(article.headline), htmlEscaped(article.body));
    return page.toUtf8();
}

void addNewsRoutes(QHttpServer& server) {
    server.route(u"/news/newslist.txt"_s, QHttpServerRequest::Method::Get,
                 [](const QHttpServerRequest& request) {
                     return QHttpServerResponse(QByteArrayLiteral("text/plain; charset=gbk"),
                                                buildNewsList(originOf(request)));
                 });
    server.route(u"/news/article/<arg>"_s, QHttpServerRequest::Method::Get, [](int number) {
        const QByteArray page = buildArticlePage(number);
        if (page.isEmpty())
            return QHttpServerResponse(QHttpServerResponder::StatusCode::NotFound);
        return QHttpServerResponse(QByteArrayLiteral("text/html; charset=utf-8"), page);
    });
}

} // namespace demoportal
