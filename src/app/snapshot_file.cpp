#include "snapshot_file.h"

#include <QFile>
#include <QTemporaryFile>
#include <cstdio>

bool replaceSnapshot(const QString& path, const QByteArray& bytes) {
    // Created owner-only beside the target, so the rename stays on one file system.
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return false;
    file.setAutoRemove(false);
    return true;
}
