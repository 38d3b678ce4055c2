#include "skin.h"

#include "core/app_dir.h"

#include <QApplication>
#include <QFile>

void attachSkin() {
    QFile skin(appPath(QStringLiteral("CambridgeBlue.she")));
    if (skin.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromUtf8(skin.readAll()));
}
