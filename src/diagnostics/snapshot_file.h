#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QThreadPool>
#include <optional>

// Replaces the file at `path` with `bytes`, owner-only, in one step for its
// readers (a rename over it), without waiting for the disk: for snapshots
// other programs poll, where a crash loses nothing the next one would not give.
bool replaceSnapshot(const QString& path, const QByteArray& bytes);

// Replaces one snapshot file from a thread of its own. Even without a sync,
// the rename frees the replaced file's blocks, which on a disk that discards
// them waits for the device for tens of milliseconds: never on the
// user-interface thread while the program runs.
class SnapshotWriter {
public:
    explicit SnapshotWriter(const QString& path);
    // Finishes the last queued write.
    ~SnapshotWriter();
    SnapshotWriter(const SnapshotWriter&) = delete;
    SnapshotWriter& operator=(const SnapshotWriter&) = delete;

    // Queues a write; a queued snapshot not yet written gives way to the newer one.
    void replaceLater(QByteArray bytes);
    // Writes here and now, after the queued writes; false when it fails.
    bool replaceNow(const QByteArray& bytes);
    QString path() const { return path_; }

private:
    void drain();

    const QString path_;
    QMutex mutex_;
    std::optional<QByteArray> pending_;
    bool draining_ = false;
    QThreadPool thread_;
};
