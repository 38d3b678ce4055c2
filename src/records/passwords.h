#pragma once

#include "records/record_file.h"

#include <QList>
#include <QString>

// Passwords, fields and places of the program's four record files.
namespace recordpasswords {

// The property file's password, held as one string.
QString propertyPassword();
// The same password put together at run time from single characters, the
// form the trading routines use.
QString propertyPasswordFromPieces();
// The news file's password, put together at run time as well.
QString newsPassword();

// Record files, relative to the program directory.
inline const QString kPropertyFile = QStringLiteral("DataBase/property.edb");
inline const QString kTransactionFile = QStringLiteral("DataBase/transaction.edb");
inline const QString kLedgerFile = QStringLiteral("DataBase/transactionrecord.edb");
inline const QString kNewsFile = QStringLiteral("DataBase/news.edb");

// Field names, spelled here only.
namespace propertyfield {
inline const QString bank = QStringLiteral("操作银行");
inline const QString capital = QStringLiteral("启始资产");
inline const QString cash = QStringLiteral("现有资产");
inline const QString held = QStringLiteral("持有量");
inline const QString lockPassword = QStringLiteral("锁定密码");
} // namespace propertyfield
namespace tradefield {
inline const QString time = QStringLiteral("操作日期");
inline const QString type = QStringLiteral("交易类型");
inline const QString price = QStringLiteral("交易价格");
inline const QString grams = QStringLiteral("交易克数");
inline const QString amount = QStringLiteral("交易金额");
} // namespace tradefield
namespace ledgerfield {
inline const QString time = QStringLiteral("操作时间");
inline const QString type = QStringLiteral("交易类型");
inline const QString grams = QStringLiteral("交易克数");
inline const QString price = QStringLiteral("交易价格");
inline const QString amount = QStringLiteral("交易金额");
inline const QString held = QStringLiteral("拥有黄金");
} // namespace ledgerfield
namespace newsfield {
inline const QString line = QStringLiteral("现行行号段");
} // namespace newsfield

// Fields in file order; modify() addresses them by position.
QList<RecordFile::Field> propertyFields();
QList<RecordFile::Field> transactionFields();
QList<RecordFile::Field> ledgerFields();
QList<RecordFile::Field> newsFields();

} // namespace recordpasswords
