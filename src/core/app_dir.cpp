#include "app_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

appdir::Layout& stored() {
    static appdir::Layout layout;
    return layout;
}

// The files a user changes: never looked for among the shared ones, where a
// default copy may lie that must not be written.
bool isUserFile(const QString& relativeName) {
    return relativeName == QLatin1String("config.ini") || relativeName == QLatin1String("endpoints.ini") ||
           relativeName.startsWith(QLatin1String("DataBase/"));
}

} // namespace

namespace appdir {

QString normalized(const QString& dir) {
    QString result = QDir::fromNativeSeparators(dir);
    if (!result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}

Layout locate(const QString& executableDir, const QString& homeOverride, const QString& dataHome,
              const QString& homeDir) {
    const QString exeDir = normalized(executableDir);
    // An installation: <prefix>/lib/aurivex/Aurivex beside <prefix>/share/aurivex.
    const QString installedShared = QDir::cleanPath(exeDir + QStringLiteral("../../share/aurivex"));
    const bool installed = QFileInfo(installedShared).isDir();
    const QString launcher = QDir::cleanPath(exeDir + QStringLiteral("../../bin/aurivex"));

    Layout layout;
    layout.sharedDir = installed ? normalized(installedShared) : exeDir;
    layout.program =
        installed && QFileInfo(launcher).isFile() ? launcher : exeDir + QStringLiteral("Aurivex");
    if (!homeOverride.isEmpty()) {
        layout.userDir = normalized(QFileInfo(homeOverride).absoluteFilePath());
        layout.homeOverride = layout.userDir;
    } else if (QFileInfo(exeDir + QStringLiteral("config.ini")).isFile())
        layout.userDir = exeDir;
    else
        layout.userDir = normalized(
            (QDir::isAbsolutePath(dataHome) ? dataHome : homeDir + QStringLiteral("/.local/share")) +
            QStringLiteral("/Aurivex"));
    return layout;
}

void initFromExecutable(const QString& homeOption) {
    set(locate(QCoreApplication::applicationDirPath(),
               homeOption.isEmpty() ? qEnvironmentVariable("AURIVEX_HOME") : homeOption,
               qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath()));
}

void set(const QString& dir) {
    const QString normal = normalized(dir);
    set(Layout{normal, normal, normal + QStringLiteral("Aurivex"), QString()});
}

void set(const Layout& layout) {
    stored() = layout;
}

const QString& program() {
    return stored().program;
}

const QString& homeOverride() {
    return stored().homeOverride;
}

} // namespace appdir

const QString& appDir() {
    return stored().userDir;
}

QString appPath(const QString& relativeName) {
    const appdir::Layout& layout = stored();
    const QString own = layout.userDir + relativeName;
    if (layout.sharedDir == layout.userDir || isUserFile(relativeName) || QFileInfo::exists(own))
        return own;
    const QString shared = layout.sharedDir + relativeName;
    return QFileInfo::exists(shared) ? shared : own;
}
