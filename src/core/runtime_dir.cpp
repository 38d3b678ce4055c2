#include "runtime_dir.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace runtimedir {

namespace {

enum class Kind { Private, Missing, NotAFolder, Foreign, Open, Unreadable };

struct Found {
    Kind kind;
    mode_t mode = 0;
    int error = 0;
};

// A link is judged by what it names only when `followLinks`: in the shared
// temporary folder anyone may plant one.
Found inspect(const QString& path, uint owner, bool followLinks) {
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if ((followLinks ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info)) != 0)
        return {errno == ENOENT ? Kind::Missing : Kind::Unreadable, 0, errno};
    if (!S_ISDIR(info.st_mode))
        return {Kind::NotAFolder};
    if (info.st_uid != owner)
        return {Kind::Foreign};
    if ((info.st_mode & 077) != 0)
        return {Kind::Open, info.st_mode & 07777};
    return {Kind::Private};
}

QString refusal(const QString& path, const Found& found) {
    switch (found.kind) {
    case Kind::NotAFolder:
        return QStringLiteral("运行文件夹 %1 的位置上不是文件夹。请删除它后重新运行软件。").arg(path);
    case Kind::Foreign:
        return QStringLiteral("运行文件夹 %1 属于其他用户，程序的锁文件不能放在那里。"
                              "请让管理员删除它，或设置 XDG_RUNTIME_DIR 后重新运行软件。")
            .arg(path);
    case Kind::Open:
        return QStringLiteral("运行文件夹 %1 其他用户也能进入（权限 %2），程序的锁文件不能放在那里。"
                              "请执行 chmod 700 \"%1\" 后重新运行软件。")
            .arg(path, QString::number(found.mode, 8));
    case Kind::Missing:
    case Kind::Unreadable:
        return QStringLiteral("无法使用运行文件夹 %1：%2。")
            .arg(path, QString::fromLocal8Bit(std::strerror(found.error)));
    case Kind::Private:
        break;
    }
    return {};
}

} // namespace

Location locate(const QString& xdgRuntimeDir, const QString& tempDir, uint owner) {
    // The session's own folder, as the login made it.
    if (QDir::isAbsolutePath(xdgRuntimeDir) && inspect(xdgRuntimeDir, owner, true).kind == Kind::Private)
        return {QDir::cleanPath(xdgRuntimeDir), {}};

    const QString path = QDir::cleanPath(tempDir + QStringLiteral("/aurivex-") + QString::number(owner));
    Found found = inspect(path, owner, false);
    if (found.kind == Kind::Missing) {
        if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0)
            // The umask may have taken bits away that the owner needs.
            ::chmod(QFile::encodeName(path).constData(), 0700);
        else if (errno != EEXIST)
            return {{}, refusal(path, {Kind::Unreadable, 0, errno})};
        // Whoever made it, it is judged as found.
        found = inspect(path, owner, false);
    }
    if (found.kind != Kind::Private)
        return {{}, refusal(path, found)};
    return {path, {}};
}

Location locate() {
    return locate(qEnvironmentVariable("XDG_RUNTIME_DIR"), QDir::tempPath(), ::geteuid());
}

} // namespace runtimedir
