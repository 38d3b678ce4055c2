#include "quote_page.h"

namespace quotepage {

QByteArray rowMarker() {
    // 工 = B9 A4, 行 = D0 D0, '-', 金 = BD F0, 行 = D0 D0, 家 = BC D2.
    return QByteArrayLiteral("\xB9\xA4\xD0\xD0-\xBD\xF0\xD0\xD0\xBC\xD2");
}

namespace {

// At most kFieldLength bytes from `offset`; fewer (or none) when the text ends.
QByteArray field(const QByteArray& text, qsizetype offset) {
    if (offset >= text.size())
        return {};
    return text.mid(offset, kFieldLength);
}

bool holdsTag(const QByteArray& field) {
    return field.contains('<') || field.contains('>');
}

QByteArray pageText(const QByteArray& body) {
    const qsizetype zero = body.indexOf('\0');
    return zero < 0 ? body : body.left(zero);
}

} // namespace

Cut cut(const QByteArray& body) {
    const QByteArray text = pageText(body);

    Cut result;
    const qsizetype p = text.indexOf(rowMarker());
    if (p < 0)
        return result;

    result.buy = field(text, p + kBuyOffset);
    if (holdsTag(result.buy)) {
        result.buy.clear();
        result.outcome = Cut::Outcome::BuyError;
        return result;
    }
    result.sell = field(text, p + kSellOffset);
    if (holdsTag(result.sell)) {
        result.sell.clear();
        result.outcome = Cut::Outcome::SellError;
        return result;
    }
    result.outcome = Cut::Outcome::Prices;
    return result;
}

QByteArray demoMarker() {
    return QByteArrayLiteral("<meta name=\"aurivex-feed\" content=\"demo\" />");
}

bool isDemoPage(const QByteArray& body) {
    return pageText(body).contains(demoMarker());
}

} // namespace quotepage
