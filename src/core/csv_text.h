#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The CSV files the program exports: UTF-8 with a byte-order mark, so that
// spreadsheets read the Chinese headers rightly, and CRLF line ends.
namespace csv {

// The byte-order mark every file begins with.
QByteArray start();
// One line of cells, each quoted where it holds a comma, a quote or a line end.
QByteArray line(const QStringList& cells);
// Writes `bytes` to `path` whole or not at all: a full disk leaves no half a
// table behind. False when it could not.
bool save(const QString& path, const QByteArray& bytes);

} // namespace csv
