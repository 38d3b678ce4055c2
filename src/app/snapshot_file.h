#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes`, owner-only, in one step for its
// readers (a rename over it), without waiting for the disk: for snapshots
// other programs poll, written from the user-interface thread many times a
// second, where a sync can block for tens of milliseconds on a busy disk and a
// crash loses nothing that the next snapshot would not give again.
bool replaceSnapshot(const QString& path, const QByteArray& bytes);
