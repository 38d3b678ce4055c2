#include "reference_rules.h"

#include "platform/gbk.h"

namespace referencerules {

const QList<Link>& links() {
    // The searchKey of "COMEX期金" is that text in GBK, percent-encoded.
    static const QList<Link> lines = {
        {QStringLiteral("重要数据"), {}, {}},
        {QStringLiteral(" 实时信息"), QStringLiteral("referenceForexHost"), QStringLiteral("/")},
        {QStringLiteral(" 今日数据"), QStringLiteral("referenceDataHost"),
         QStringLiteral("/X_today_global_data.aspx")},
        {QStringLiteral("各国利率"), QStringLiteral("referenceRatesHost"),
         QStringLiteral("/Web/Chinese/News/HX_EconomicData_OCR.aspx")},
        {QStringLiteral("COMEX库存"), QStringLiteral("referenceStocksHost"),
         QStringLiteral("/glddt/fmgldkc/index.shtm")},
        {QStringLiteral("COMEX期金"), QStringLiteral("referenceSearchHost"),
         QStringLiteral("/search/searchZiXun.php?searchKey=COMEX%C6%DA%BD%F0")},
        {QStringLiteral("黄金持有量"), QStringLiteral("referenceSearchHost"),
         QStringLiteral("/search/searchZiXun.php?searchKey=StreetTracks")},
        {QStringLiteral("国际金价图表"), QStringLiteral("chartImageHost"), QStringLiteral("/cn/")},
        {QStringLiteral("黄金资询"), {}, {}},
        {QStringLiteral("搜狐黄金"), QStringLiteral("referenceSohuHost"), QStringLiteral("/jin/")},
        {QStringLiteral("和讯黄金"), QStringLiteral("referenceHexunHost"), QStringLiteral("/")},
        {QStringLiteral("新浪黄金"), QStringLiteral("referenceSinaHost"), QStringLiteral("/nmetal/")},
        {QStringLiteral("中金在线"), QStringLiteral("referenceCngoldHost"), QStringLiteral("/")},
        {QStringLiteral("英皇金融集团"), QStringLiteral("referenceEmperorHost"), QStringLiteral("/")},
        {QStringLiteral("瑞德投资"), QStringLiteral("referenceRuideHost"), QStringLiteral("/bbs/")},
        {QStringLiteral("银行"), {}, {}},
        {QStringLiteral("中国工商银行"), QStringLiteral("referenceIcbcHost"), QStringLiteral("/icbc/")},
        {QStringLiteral("中国建设银行"), QStringLiteral("referenceCcbHost"),
         QStringLiteral("/portal/cn/home/index.html")},
        {QStringLiteral("中国银行"), QStringLiteral("referenceBocHost"),
         QStringLiteral("/cn/static/index.html")},
        {QStringLiteral("金价行情站"), QStringLiteral("referencePartnerHost"), QStringLiteral("/")},
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
