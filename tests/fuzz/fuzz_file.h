#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// Qt's warnings about odd input (an INI key with no name) are no findings, and
// writing out one for every input costs more than the input itself.
inline const bool qtQuiet = [] {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return true;
}();

// The targets that read files get the input as a file of their own, in a
// folder private to this process (on tmpfs where there is one).
inline QString fuzzDir() {
    // Removed when the process ends normally.
    struct Folder {
        QString path;
        Folder() {
            const QString base = QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
            path = base + QStringLiteral("/aurivex-fuzz-%1").arg(::getpid());
            QDir().mkpath(path);
        }
        ~Folder() { QDir(path).removeRecursively(); }
    };
    static const Folder folder;
    return folder.path;
}

inline QString writeFuzzFile(const QString& name, const QByteArray& bytes) {
    const QString path = fuzzDir() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        std::abort();
    file.write(bytes);
    return path;
}

// Stops the run with the input saved as a finding.
#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);              \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)
