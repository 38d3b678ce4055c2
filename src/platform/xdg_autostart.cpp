#include "xdg_autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory
// rules say.
QString configHome() {
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

// The program as one Exec argument: quoted, with the characters special inside
// quotes escaped, then the value's own escapes (backslash) and %% for a
// literal percent sign.
QString execArgument(const QString& path) {
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return u'"' + quoted + u'"';
}

// The program directory's own icon when it has one, else the icon the
// installation put into the desktop's icon theme.
QString iconValue(const QString& programPath) {
    const QString beside = QFileInfo(programPath).absolutePath() + QStringLiteral("/aurivex.png");
    if (QFileInfo(beside).isFile())
        return QString(beside).replace(u'\\', QStringLiteral("\\\\"));
    return QStringLiteral("aurivex");
}

} // namespace

XdgAutostart::XdgAutostart(const QString& entryName) : entryName_(entryName) {}

QString XdgAutostart::entryPath() const {
    return configHome() + QStringLiteral("/autostart/") + entryName_ + QStringLiteral(".desktop");
}

bool XdgAutostart::isEnabled() const {
    return QFileInfo(entryPath()).isFile();
}

bool XdgAutostart::enable(const QString& programPath, const QString& homeOverride) {
    // A line break would end the Exec line and start a key of its own.
    for (const QString* value : {&programPath, &homeOverride})
        if (value->contains(u'\n') || value->contains(u'\r'))
            return false;
    // A profile of its own is opened at login too: env sets the variable.
    const QString exec = homeOverride.isEmpty()
                             ? execArgument(programPath)
                             : QStringLiteral("env ") + execArgument(QStringLiteral("AURIVEX_HOME=") + homeOverride) +
                                   u' ' + execArgument(programPath);
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Aurivex\n"
                                         "Exec=%1\n"
                                         "Icon=%2\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(exec, iconValue(programPath));
    // Written whole or not at all: a half-written entry could start nothing.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = entry.toUtf8();
    return file.write(bytes) == bytes.size() && file.commit();
}

bool XdgAutostart::disable() {
    const QString path = entryPath();
    return !QFileInfo::exists(path) || QFile::remove(path);
}
