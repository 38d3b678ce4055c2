#pragma once

#include <QProcess>
#include <QString>
#include <csignal>
#include <sys/resource.h>

// Ways to make a record file's change fail for real, for tests.
namespace crashpoints {

// Runs the commit child on `dir` ("trade", "password" or "ledger") and kills
// it inside the commit, when it deletes a file whose path contains `at`
// ("-journal" for a single file, "-mj" for files committing together). True
// when the child died there, leaving its journal behind.
inline bool killInsideCommit(const QString& dir, const QString& what, const QString& at) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(AURIVEX_KILL_AT_UNLINK_LIBRARY));
    env.insert(QStringLiteral("AURIVEX_KILL_AT_UNLINK"), at);
    child.setProcessEnvironment(env);
    child.start(QStringLiteral(AURIVEX_COMMIT_CHILD), {dir, what});
    if (!child.waitForFinished(60000))
        return false;
    return child.exitStatus() == QProcess::CrashExit;
}

// While it lives, this process cannot write a file beyond `bytes` (a full
// disk as SQLite sees one: every write past the limit fails).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace crashpoints
