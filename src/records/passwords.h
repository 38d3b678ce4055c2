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

// Fields in file order; modify() addresses them by position.
QList<RecordFile::Field> propertyFields();
QList<RecordFile::Field> transactionFields();
QList<RecordFile::Field> ledgerFields();
QList<RecordFile::Field> newsFields();

} // namespace recordpasswords
