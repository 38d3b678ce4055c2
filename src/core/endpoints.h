#pragma once

#include <QHash>
#include <QString>

// Hosts and addresses of every outside endpoint, read from "endpoints.ini"
// (UTF-8, section [endpoints]) in the program directory.
namespace endpoints {

// A larger file is no endpoint list; it is refused before its bytes are read.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

// Every key of the file, read once: a window that needs several endpoints
// loads them together when it is built.
class Endpoints {
public:
    // The program directory's "endpoints.ini".
    static Endpoints load();
    // A missing, unreadable or oversized file gives no values.
    static Endpoints load(const QString& path);

    // The value of `key` without outer white space; empty when the file or
    // the key is missing.
    QString value(const QString& key) const { return values_.value(key); }

private:
    QHash<QString, QString> values_;
};

// One key on its own; it reads the whole file, so an action needing more
// keys loads Endpoints once instead.
QString value(const QString& key);

} // namespace endpoints
