// The installed program: the Debian package installed into a private root
// and started through its launcher as a new user, on a loopback of its own
// where no demo portal runs. It lays down the user's own program directory,
// starts the demo portal it ships, shows the portal's prices marked as the
// demo's, takes the portal along when it is killed, and keeps what the user
// changed on the next start; "aurivex --home DIR" runs on a directory of the
// user's choice.
#include "core/endpoints.h"
#include "program_run.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

class InstallEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void packageShowsDemoPricesOnAFirstStartAndKeepsTheUsersFiles();
};

namespace {

QString controlText(const QJsonObject& state, const QString& name) {
    return findControl(findWindow(state, u"Aurivex3.0"_qs), name)[u"text"].toString();
}

int timerInterval(const QJsonObject& state, const QString& name) {
    return findControl(findWindow(state, u"Aurivex3.0"_qs), name)[u"interval"].toInt(-1);
}

bool run(const QString& program, const QStringList& arguments, int timeoutMs = 300000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    return process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// The processes running `executable`, by their /proc entries.
int processesRunning(const QString& executable) {
    int count = 0;
    for (const QString& pid : QDir(u"/proc"_qs).entryList(QDir::Dirs)) {
        if (QFileInfo(u"/proc/%1/exe"_qs.arg(pid)).symLinkTarget() == executable)
            ++count;
    }
    return count;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

} // namespace

void InstallEndToEnd::packageShowsDemoPricesOnAFirstStartAndKeepsTheUsersFiles() {
    // A loopback of its own: nothing answers at the demo address there, and
    // the portal the program starts is visible to nobody else.
    if (QProcess::execute(u"unshare"_qs, {u"-rn"_qs, u"ip"_qs, u"link"_qs, u"set"_qs, u"lo"_qs, u"up"_qs}) !=
        0)
        QSKIP("no network namespace here (unshare -rn, ip)");

    QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(run(QStringLiteral(AURIVEX_CPACK_COMMAND),
                {u"--config"_qs, QStringLiteral(AURIVEX_BUILD_DIR "/CPackConfig.cmake"), u"-B"_qs,
                 root.filePath(u"package"_qs)}));
    const QStringList debs = QDir(root.filePath(u"package"_qs)).entryList({u"*.deb"_qs});
    QCOMPARE(debs.size(), 1);
    const QString system = root.filePath(u"system"_qs);
    const QString admin = system + u"/var/lib/dpkg"_qs;
    QVERIFY(QDir().mkpath(admin + u"/updates"_qs) && QDir().mkpath(admin + u"/info"_qs));
    QFile status(admin + u"/status"_qs);
    QVERIFY(status.open(QIODevice::WriteOnly));
    status.close();
    QVERIFY(run(u"dpkg"_qs, {u"--root"_qs, system, u"--admindir"_qs, admin, u"--force-not-root"_qs,
                             u"--force-depends"_qs, u"--force-script-chrootless"_qs, u"--log=/dev/null"_qs,
                             u"-i"_qs, root.filePath(u"package/"_qs + debs.first())}));
    const QString portal = QFileInfo(system + u"/usr/lib/aurivex/aurivex-demo-portal"_qs).canonicalFilePath();
    QVERIFY(QFileInfo(portal).isExecutable());
    // Nothing of a user's lies in the installation.
    QVERIFY(!QFileInfo::exists(system + u"/usr/lib/aurivex/config.ini"_qs));
    QVERIFY(!QFileInfo::exists(system + u"/usr/share/aurivex/DataBase"_qs));

    ProgramRun program;
    const QString home = root.filePath(u"home"_qs);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_qs, home);
    env.remove(u"XDG_DATA_HOME"_qs);
    env.remove(u"AURIVEX_HOME"_qs);
    program.setCommand(u"unshare"_qs, env);
    const QStringList launcher = {u"-rn"_qs, u"sh"_qs, u"-c"_qs,
                                  u"ip link set lo up && exec \"$0\" \"$@\""_qs,
                                  system + u"/usr/bin/aurivex"_qs};
    const QString userDir = home + u"/.local/share/Aurivex"_qs;
    const QString config = userDir + u"/config.ini"_qs;

    const QRegularExpression price(u"^\\d{3}\\.\\d{2}$"_qs);
    auto showsPrices = [&](const QJsonObject& s) {
        return price.match(controlText(s, u"标签_国际买入价"_qs)).hasMatch();
    };
    auto markedAsDemo = [&](const QJsonObject& s) {
        const QJsonObject mark = findControl(findWindow(s, u"Aurivex3.0"_qs), u"标签_演示行情"_qs);
        return mark[u"visible"].toBool() && mark[u"text"].toString() == u"演示行情"_qs;
    };
    QVERIFY2(program.startProgram(QProcess::ForwardedOutputChannel, launcher), qPrintable(program.error()));
    QVERIFY(
        program.waitForState([&](const QJsonObject& s) { return showsPrices(s) && markedAsDemo(s); }, 30000));
    QCOMPARE(processesRunning(portal), 1);
    // The run read the portal's own port; the user's file still names the demo address.
    QCOMPARE(
        endpoints::Endpoints::load(userDir + u"/endpoints.ini"_qs).value(endpoints::key::quotePortalHost),
        u"127.0.0.1:18090"_qs);
    QVERIFY(QFileInfo(userDir + u"/DataBase/property.edb"_qs).isFile());
    QCOMPARE(settings::readItem(config, settings::key::holdIcbc), u"0"_qs);
    QCOMPARE(timerInterval(program.state(), u"时钟_工行价格更新"_qs), 15000);
    ProgramRun::screenshot(u"installed-first-start"_qs);
    // Killed, the program leaves no portal behind.
    program.program().kill();
    QVERIFY(program.waitForExit(10000));
    QVERIFY(waitUntil([&] { return processesRunning(portal) == 0; }, 10000));

    // The user stops ICBC updates at start; the next start honours it.
    QVERIFY(settings::writeItem(config, settings::key::holdIcbc, u"1"_qs));
    QVERIFY2(program.startProgram(QProcess::ForwardedOutputChannel, launcher), qPrintable(program.error()));
    QVERIFY(program.waitForState(showsPrices, 30000));
    QCOMPARE(settings::readItem(config, settings::key::holdIcbc), u"1"_qs);
    QCOMPARE(timerInterval(program.state(), u"时钟_工行价格更新"_qs), 0);
    QCOMPARE(controlText(program.state(), u"标签_工行状态"_qs), u"停止状态..."_qs);
    program.program().terminate();
    QVERIFY(program.waitForExit(10000));
    QVERIFY(waitUntil([&] { return processesRunning(portal) == 0; }, 10000));

    // A profile of the user's own, named on the launcher's command line, is
    // laid down afresh and used; the user's files are theirs alone.
    const QString own = root.filePath(u"own profile"_qs);
    QVERIFY2(
        program.startProgram(QProcess::ForwardedOutputChannel, launcher + QStringList{u"--home"_qs, own}),
        qPrintable(program.error()));
    QVERIFY(program.waitForState(showsPrices, 30000));
    QCOMPARE(timerInterval(program.state(), u"时钟_工行价格更新"_qs), 15000);
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    for (const QString& path : {own, own + u"/DataBase"_qs, own + u"/DataBase/property.edb"_qs,
                                own + u"/config.ini"_qs, userDir + u"/DataBase/transactionrecord.edb"_qs})
        QVERIFY2((QFile::permissions(path) & others) == 0, qPrintable(path));
}

QTEST_GUILESS_MAIN(InstallEndToEnd)
#include "test_e2e_install.moc"
