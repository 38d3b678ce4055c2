#include "endpoints.h"

#include "app_dir.h"

#include <QFileInfo>
#include <QSettings>

namespace endpoints {

Endpoints Endpoints::load() {
    return load(appPath(QStringLiteral("endpoints.ini")));
}

Endpoints Endpoints::load(const QString& path) {
    Endpoints endpoints;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileBytes)
        return endpoints;
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("endpoints"));
    const QStringList keys = file.childKeys();
    for (const QString& key : keys)
        endpoints.values_.insert(key, file.value(key).toString().trimmed());
    return endpoints;
}

QString value(const QString& key) {
    return Endpoints::load().value(key);
}

} // namespace endpoints
