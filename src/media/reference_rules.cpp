#include "reference_rules.h"

#include "core/endpoints.h"
#include "platform/gbk.h"

namespace referencerules {

const QList<Link>& links() {
    // The searchKey of "COMEX期金" is that text in GBK, percent-encoded.
    static const QList<Link> lines = {
        {QStringLiteral("重要数据"), {}, {}},
        {QStringLiteral(" 实时信息"), endpoints::key::referenceForexHost, QStringLiteral("/")},
        {QStringLiteral(" 今日数据"), endpoints::key::referenceDataHost,
         QStringLiteral("/X_today_global_data.aspx")},
        {QStringLiteral("各国利率"), endpoints::key::referenceRatesHost,
         QStringLiteral("/Web/Chinese/News/HX_EconomicData_OCR.aspx")},
        {QStringLiteral("COMEX库存"), endpoints::key::referenceStocksHost,
         QStringLiteral("/glddt/fmgldkc/index.shtm")},
        {QStringLiteral("COMEX期金"), endpoints::key::referenceSearchHost,
         QStringLiteral("/search/searchZiXun.php?searchKey=COMEX%C6%DA%BD%F0")},
        {QStringLiteral("黄金持有量"), endpoints::key::referenceSearchHost,
         QStringLiteral("/search/searchZiXun.php?searchKey=StreetTracks")},
        {QStringLiteral("国际金价图表"), endpoints::key::chartImageHost, QStringLiteral("/cn/")},
        {QStringLiteral("黄金资询"), {}, {}},
        {QStringLiteral("搜狐黄金"), endpoints::key::referenceSohuHost, QStringLiteral("/jin/")},
        {QStringLiteral("和讯黄金"), endpoints::key::referenceHexunHost, QStringLiteral("/")},
        {QStringLiteral("新浪黄金"), endpoints::key::referenceSinaHost, QStringLiteral("/nmetal/")},
        {QStringLiteral("中金在线"), endpoints::key::referenceCngoldHost, QStringLiteral("/")},
        {QStringLiteral("英皇金融集团"), endpoints::key::referenceEmperorHost, QStringLiteral("/")},
        {QStringLiteral("瑞德投资"), endpoints::key::referenceRuideHost, QStringLiteral("/bbs/")},
        {QStringLiteral("银行"), {}, {}},
        {QStringLiteral("中国工商银行"), endpoints::key::referenceIcbcHost, QStringLiteral("/icbc/")},
        {QStringLiteral("中国建设银行"), endpoints::key::referenceCcbHost,
         QStringLiteral("/portal/cn/home/index.html")},
        {QStringLiteral("中国银行"), endpoints::key::referenceBocHost,
         QStringLiteral("/cn/static/index.html")},
        {QStringLiteral("金价行情站"), endpoints::key::referencePartnerHost, QStringLiteral("/")},
    };
    return lines;
}

QUrl pageUrl(const QString& host, const QString& path) {
    QString base = host.trimmed();
    if (base.isEmpty())
        return {};
    while (base.endsWith(u'/'))
        base.chop(1);
    // The path is already encoded as the site expects it (GBK percent-escapes).
    return QUrl(QStringLiteral("http://") + base + path, QUrl::TolerantMode);
}

QString tabCaption(const QString& title) {
    QString caption;
    int bytes = 0;
    for (qsizetype i = 0; i < title.size() && bytes < kCaptionBytes;) {
        // One character, both halves of a surrogate pair together.
        const qsizetype length = title.at(i).isHighSurrogate() && i + 1 < title.size() ? 2 : 1;
        const QString character = title.mid(i, length);
        bytes += static_cast<int>(gbk::encode(character).size());
        caption += character;
        i += length;
    }
    return caption;
}

} // namespace referencerules
