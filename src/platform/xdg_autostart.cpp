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

// The command line of the entry: the program, then "--home DIR" for a
// profile of its own. GLib checks the line's first word as a file before it
// turns %% into %, so a program whose path holds % is started by the shell,
// which receives the path as an argument.
QString execLine(const QString& programPath, const QString& homeOverride) {
    QString line = programPath.contains(u'%')
                       ? QStringLiteral("/bin/sh -c ") + execArgument(QStringLiteral(R"(exec "$0" "$@")")) +
                             u' ' + execArgument(programPath)
                       : execArgument(programPath);
    if (!homeOverride.isEmpty())
        line += QStringLiteral(" --home ") + execArgument(homeOverride);
    return line;
}

// A plain string value: only the backslash needs its escape.
QString stringValue(const QString& text) {
    return QString(text).replace(u'\\', QStringLiteral("\\\\"));
}

// The program directory's own icon when it has one, else the icon the
// installation put into the desktop's icon theme.
QString iconValue(const QString& programPath) {
    const QString beside = QFileInfo(programPath).absolutePath() + QStringLiteral("/aurivex.png");
    if (QFileInfo(beside).isFile())
        return stringValue(beside);
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
    const QString entry =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Aurivex\n"
                       "TryExec=%1\n"
                       "Exec=%2\n"
                       "Icon=%3\n"
                       "Terminal=false\n"
                       "X-GNOME-Autostart-enabled=true\n")
            .arg(stringValue(programPath), execLine(programPath, homeOverride), iconValue(programPath));
    return write(entry.toUtf8());
}

bool XdgAutostart::write(const QByteArray& entry) const {
    const QString path = entryPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    // Written whole or not at all: a half-written entry could start nothing.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(entry) == entry.size() && file.commit();
}

std::optional<QByteArray> XdgAutostart::saved() const {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // An entry is a few lines; anything larger is no entry of ours to keep.
    return file.read(kMaxEntryBytes);
}

bool XdgAutostart::restore(const std::optional<QByteArray>& saved) {
    return saved ? write(*saved) : disable();
}

bool XdgAutostart::disable() {
    const QString path = entryPath();
    return !QFileInfo::exists(path) || QFile::remove(path);
}
