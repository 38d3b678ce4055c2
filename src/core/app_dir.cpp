#include "app_dir.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& storedDir() {
    static QString dir;
    return dir;
}
} // namespace

namespace appdir {

QString normalized(const QString& dir) {
    QString result = QDir::fromNativeSeparators(dir);
    if (!result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}

void initFromExecutable() {
    set(QCoreApplication::applicationDirPath());
}

void set(const QString& dir) {
    storedDir() = normalized(dir);
}

} // namespace appdir

const QString& appDir() {
    return storedDir();
}

QString appPath(const QString& relativeName) {
    return storedDir() + relativeName;
}
