#pragma once

#include "core/app_dir.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Sets `key` (one of endpoints::key::…) to `value` in the endpoints.ini at
// `path`, as written: the line of the key is replaced, or added to the
// [endpoints] section (made when missing); every other line stays.
inline bool setEndpoint(const QString& path, const QString& key, const QString& value) {
    QFile file(path);
    QStringList lines;
    if (file.open(QIODevice::ReadOnly))
        lines = QString::fromUtf8(file.readAll()).split(u'\n');
    file.close();
    const QString line = key + u'=' + value;
    bool replaced = false;
    for (QString& old : lines) {
        const qsizetype equals = old.indexOf(u'=');
        if (equals > 0 && old.left(equals).trimmed() == key) {
            old = line;
            replaced = true;
        }
    }
    const qsizetype section = lines.indexOf(QStringLiteral("[endpoints]"));
    if (!replaced && section >= 0)
        lines.insert(section + 1, line);
    else if (!replaced)
        lines = QStringList{QStringLiteral("[endpoints]"), line} + lines;
    if (!lines.last().isEmpty())
        lines.append(QString()); // the file ends with a line break
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(lines.join(u'\n').toUtf8()) >= 0;
}

// A program directory of its own in a temporary folder: appPath() names its
// files for as long as it lives.
class ProgramDir {
public:
    ProgramDir() { appdir::set(dir_.path()); }

    bool isValid() const { return dir_.isValid(); }
    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    // One key of its endpoints.ini (endpoints::key::…).
    bool setEndpoint(const QString& key, const QString& value) const {
        return ::setEndpoint(filePath(QStringLiteral("endpoints.ini")), key, value);
    }

private:
    QTemporaryDir dir_;
};
