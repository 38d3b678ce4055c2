#include "records/passwords.h"

#include <QStringList>

namespace recordpasswords {

namespace {

QString digit(int value) {
    return QString::number(value);
}

} // namespace

QString propertyPassword() {
    return QStringLiteral("Qw7rTz2kPx9mLb4N");
}

QString propertyPasswordFromPieces() {
    const QStringList pieces{QChar(81), QStringLiteral("w"), digit(7), QChar(114),
                             QChar(84), QStringLiteral("z"), digit(2), QChar(107),
                             QChar(80), QStringLiteral("x"), digit(9), QChar(109),
                             QChar(76), QStringLiteral("b"), digit(4), QChar(78)};
    return pieces.join(QString());
}

QString newsPassword() {
    const QStringList pieces{QChar(78),  QStringLiteral("w"), digit(5),
                             QChar(115), QChar(72),           QStringLiteral("q"),
                             digit(8),   QChar(82),           QStringLiteral("z"),
                             digit(3),   QChar(86),           QChar(100),
                             digit(6),   QStringLiteral("K")};
    return pieces.join(QString());
}

using Type = RecordFile::FieldType;

QList<RecordFile::Field> propertyFields() {
    using namespace propertyfield;
    return {{bank, Type::Integer},
            {capital, Type::Decimal},
            {cash, Type::Decimal},
            {held, Type::Integer},
            {lockPassword, Type::Text}};
}

QList<RecordFile::Field> transactionFields() {
    using namespace tradefield;
    return {{time, Type::DateTime},
            {type, Type::Text},
            {price, Type::Decimal},
            {grams, Type::Integer},
            {amount, Type::Decimal}};
}

QList<RecordFile::Field> ledgerFields() {
    using namespace ledgerfield;
    return {{time, Type::DateTime}, {type, Type::Text},    {grams, Type::Integer},
            {price, Type::Decimal}, {amount, Type::Decimal}, {held, Type::Integer}};
}

QList<RecordFile::Field> newsFields() {
    return {{newsfield::line, Type::Integer}};
}

} // namespace recordpasswords
