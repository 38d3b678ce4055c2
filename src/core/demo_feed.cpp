#include "demo_feed.h"

namespace demofeed {

namespace {

QString& redirectTarget() {
    static QString target;
    return target;
}

bool endsAddress(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('?') || c == QLatin1Char('#');
}

// Where `address` stands in `value` as its host part, or -1.
qsizetype addressAt(const QString& value, const QString& address) {
    if (address.isEmpty())
        return -1;
    const qsizetype scheme = value.indexOf(QLatin1String("://"));
    const qsizetype start = scheme < 0 ? 0 : scheme + 3;
    if (!value.mid(start, address.size()).startsWith(address, Qt::CaseInsensitive))
        return -1;
    const qsizetype end = start + address.size();
    return end == value.size() || endsAddress(value.at(end)) ? start : -1;
}

} // namespace

QString defaultAddress() {
    return QStringLiteral(AURIVEX_DEMO_PORTAL);
}

bool names(const QString& value, const QString& address) {
    return addressAt(value, address) >= 0;
}

QString replaced(const QString& value, const QString& from, const QString& to) {
    const qsizetype at = addressAt(value, from);
    if (at < 0)
        return value;
    QString result = value;
    return result.replace(at, from.size(), to);
}

void redirectTo(const QString& to) {
    redirectTarget() = to;
}

QString apply(const QString& value) {
    const QString& target = redirectTarget();
    return target.isEmpty() ? value : replaced(value, defaultAddress(), target);
}

bool isDemo(const QString& value) {
    const QString used = apply(value);
    const QString& target = redirectTarget();
    return names(used, defaultAddress()) || (!target.isEmpty() && names(used, target));
}

} // namespace demofeed
