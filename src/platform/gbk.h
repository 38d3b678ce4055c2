#pragma once

#include <QByteArray>
#include <QString>

// GBK (code page 936) is the program's text encoding on the wire and on disk.
// These are the only conversions between GBK bytes and QString.
namespace gbk {

// Characters GBK cannot hold become "?".
QByteArray encode(const QString& text);
// Bytes that are not valid GBK become U+FFFD.
QString decode(const QByteArray& bytes);

} // namespace gbk
