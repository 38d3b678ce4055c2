#pragma once

#include <QProcess>
#include <QString>

// The demo portal a program starts for itself when its endpoints name the
// demo address and nothing answers there. It listens on a free loopback port,
// so users and build trees never contend for one, and it lives no longer than
// this object, nor than the program: it ends when its standard input, a pipe
// only this process holds, closes, which also happens when the program is
// killed.
class DemoPortalProcess {
public:
    static constexpr char kProgramName[] = "aurivex-demo-portal";

    // The portal's program beside the executable in `executableDir` (an
    // installation's lib/aurivex/), else in the build tree's tools/ next to
    // the program directory; empty when there is none.
    static QString locate(const QString& executableDir);
    // Something accepts connections at `address` (host:port) within `timeoutMs`.
    static bool answers(const QString& address, int timeoutMs);

    DemoPortalProcess() = default;
    DemoPortalProcess(const DemoPortalProcess&) = delete;
    DemoPortalProcess& operator=(const DemoPortalProcess&) = delete;
    ~DemoPortalProcess();

    // Starts `program` on a free loopback port; false when it does not start.
    bool start(const QString& program);
    bool started() const { return process_.state() != QProcess::NotRunning || !address_.isEmpty(); }
    // host:port it listens on, waiting at most `timeoutMs` for it to say so;
    // empty when it ended or said nothing in time.
    QString address(int timeoutMs);

private:
    QProcess process_;
    QByteArray said_;
    QString address_;
};
