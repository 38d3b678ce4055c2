#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

// Figures of running processes read from /proc, shared by the benchmarks.

// Proportional set size of one process, in kB, from smaps_rollup; 0 when unreadable.
inline qint64 pssKb(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

// The process and all its descendants, but for `leaveOut` and its own.
inline QList<qint64> processTree(qint64 pid, qint64 leaveOut = 0) {
    QList<qint64> tree{pid};
    for (qsizetype i = 0; i < tree.size(); ++i) {
        const QDir tasks(QStringLiteral("/proc/%1/task").arg(tree[i]));
        for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile children(tasks.filePath(task) + QStringLiteral("/children"));
            if (!children.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray& child : children.readAll().split(' ')) {
                if (!child.trimmed().isEmpty() && child.trimmed().toLongLong() != leaveOut)
                    tree.append(child.trimmed().toLongLong());
            }
        }
    }
    return tree;
}

// User and system CPU time of one process so far, in clock ticks; 0 when unreadable.
inline qint64 cpuTicks(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = file.readAll();
    // The fields after the command name, which may hold blanks, in brackets:
    // utime and stime are the 14th and 15th of the line.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : 0;
}

// The X server of this display, from its lock file; 0 when not found.
inline qint64 xServerPid() {
    QString display = qEnvironmentVariable("DISPLAY");
    display = display.mid(display.indexOf(u':') + 1).section(u'.', 0, 0);
    QFile lock(QStringLiteral("/tmp/.X%1-lock").arg(display));
    return lock.open(QIODevice::ReadOnly) ? lock.readAll().trimmed().toLongLong() : 0;
}
