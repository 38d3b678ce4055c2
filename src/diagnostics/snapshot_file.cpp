#include "snapshot_file.h"

#include <QFile>
#include <QMutexLocker>
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

SnapshotWriter::SnapshotWriter(const QString& path) : path_(path) {
    // One thread keeps the writes in order.
    thread_.setMaxThreadCount(1);
}

SnapshotWriter::~SnapshotWriter() {
    thread_.waitForDone();
}

void SnapshotWriter::replaceLater(QByteArray bytes) {
    const QMutexLocker lock(&mutex_);
    pending_ = std::move(bytes);
    if (draining_)
        return;
    draining_ = true;
    thread_.start([this] { drain(); });
}

void SnapshotWriter::drain() {
    for (;;) {
        QByteArray bytes;
        {
            const QMutexLocker lock(&mutex_);
            if (!pending_) {
                draining_ = false;
                return;
            }
            bytes = std::move(*pending_);
            pending_.reset();
        }
        replaceSnapshot(path_, bytes);
    }
}

bool SnapshotWriter::replaceNow(const QByteArray& bytes) {
    thread_.waitForDone();
    return replaceSnapshot(path_, bytes);
}
