#include "endpoints.h"

#include "app_dir.h"

#include <QSettings>

namespace endpoints {

QString value(const QString& key) {
    QSettings file(appPath(QStringLiteral("endpoints.ini")), QSettings::IniFormat);
    return file.value(QStringLiteral("endpoints/") + key).toString().trimmed();
}

} // namespace endpoints
