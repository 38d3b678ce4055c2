#include "demo_portal_process.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTcpSocket>

QString DemoPortalProcess::locate(const QString& executableDir) {
    const QDir dir(executableDir);
    for (const QString& candidate :
         {dir.filePath(QLatin1String(kProgramName)),
          dir.filePath(QStringLiteral("../tools/") + QLatin1String(kProgramName))}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.canonicalFilePath();
    }
    return {};
}

bool DemoPortalProcess::answers(const QString& address, int timeoutMs) {
    const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
    bool valid = false;
    const quint16 port = address.mid(colon + 1).toUShort(&valid);
    if (colon <= 0 || !valid)
        return false;
    QTcpSocket probe;
    probe.connectToHost(address.left(colon), port);
    return probe.waitForConnected(timeoutMs);
}

DemoPortalProcess::~DemoPortalProcess() {
    if (process_.state() == QProcess::NotRunning)
        return;
    // The closed pipe is the portal's signal to end; a hung one is stopped.
    process_.closeWriteChannel();
    if (!process_.waitForFinished(2000)) {
        process_.kill();
        process_.waitForFinished(2000);
    }
}

bool DemoPortalProcess::start(const QString& program) {
    if (program.isEmpty())
        return false;
    // Its complaints reach the user's terminal; its one line of output is ours.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(program,
                   {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--exit-with-stdin")});
    return process_.waitForStarted(5000);
}

QString DemoPortalProcess::address(int timeoutMs) {
    const QByteArray prefix = QByteArrayLiteral("listening on ");
    const QDeadlineTimer deadline(timeoutMs);
    while (address_.isEmpty() && process_.state() == QProcess::Running) {
        said_ += process_.readAllStandardOutput();
        const qsizetype end = said_.indexOf('\n');
        if (end >= 0) {
            bool valid = false;
            const quint16 port = said_.left(end).mid(prefix.size()).trimmed().toUShort(&valid);
            if (said_.startsWith(prefix) && valid && port != 0)
                address_ = QStringLiteral("127.0.0.1:%1").arg(port);
            break;
        }
        if (deadline.hasExpired())
            break;
        process_.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    return address_;
}
