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
    return {{u"操作银行"_qs, Type::Integer},
            {u"启始资产"_qs, Type::Decimal},
            {u"现有资产"_qs, Type::Decimal},
            {u"持有量"_qs, Type::Integer},
            {u"锁定密码"_qs, Type::Text}};
}

QList<RecordFile::Field> transactionFields() {
    return {{u"操作日期"_qs, Type::DateTime},
            {u"交易类型"_qs, Type::Text},
            {u"交易价格"_qs, Type::Decimal},
            {u"交易克数"_qs, Type::Integer},
            {u"交易金额"_qs, Type::Decimal}};
}

QList<RecordFile::Field> ledgerFields() {
    return {{u"操作时间"_qs, Type::DateTime}, {u"交易类型"_qs, Type::Text},
            {u"交易克数"_qs, Type::Integer},  {u"交易价格"_qs, Type::Decimal},
            {u"交易金额"_qs, Type::Decimal},  {u"拥有黄金"_qs, Type::Integer}};
}

QList<RecordFile::Field> newsFields() {
    return {{u"现行行号段"_qs, Type::Integer}};
}

} // namespace recordpasswords
