// One program per directory: the first claims it, a later start reaches the
// first and asks it forward, another directory runs on its own. A lock that no
// running program answers for is taken over; a runtime folder others could
// reach, or a folder where the socket belongs, is refused with a message.
#include "app/desktop_rules.h"
#include "app/single_instance.h"
#include "core/runtime_dir.h"

#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Outcome = SingleInstance::Outcome;

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void secondStartAsksTheFirstForward();
    void lockAndFolder_data();
    void lockAndFolder();
    void sessionFolderIsUsedOnlyWhenPrivate_data();
    void sessionFolderIsUsedOnlyWhenPrivate();
    void connectionsAreShortLivedAndCapped();
};

namespace {

const QString kProgramDir = u"/opt/a/Aurivex"_s;

QString pathIn(const QString& runtime, const QString& suffix) {
    return runtime + u'/' + desktop::instanceKey(kProgramDir) + suffix;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

void SingleInstanceTest::secondStartAsksTheFirstForward() {
    QTemporaryDir runtime;
    auto first = std::make_unique<SingleInstance>(kProgramDir, runtime.path());
    QCOMPARE(first->start(), Outcome::Claimed);
    QSignalSpy asked(first.get(), &SingleInstance::activationRequested);

    SingleInstance second(kProgramDir + u'/', runtime.path());
    QCOMPARE(second.start(5000), Outcome::Activated);
    QTRY_COMPARE(asked.size(), 1);

    // Another directory is another program.
    SingleInstance elsewhere(u"/opt/b/Aurivex"_s, runtime.path());
    QCOMPARE(elsewhere.start(), Outcome::Claimed);
    QTest::qWait(100);
    QCOMPARE(asked.size(), 1);

    // Once the first has ended, the directory can be claimed again.
    first.reset();
    SingleInstance third(kProgramDir, runtime.path());
    QCOMPARE(third.start(), Outcome::Claimed);
}

void SingleInstanceTest::lockAndFolder_data() {
    QTest::addColumn<QString>("folder"); // own, foreign, open, file
    QTest::addColumn<QString>("lock");   // "-" none, "held" by a live program, else the lock file's text
    QTest::addColumn<QString>("socket"); // none, dir, file
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("message");
    const QString host = QHostInfo::localHostName();
    QTest::newRow("free") << u"own"_s << u"-"_s << u"none"_s << Outcome::Claimed << u""_s;
    QTest::newRow("empty lock") << u"own"_s << u""_s << u"none"_s << Outcome::Claimed << u""_s;
    QTest::newRow("junk lock") << u"own"_s << u"\u00ff\u00fe junk\n\n\nx"_s << u"none"_s << Outcome::Claimed
                               << u""_s;
    QTest::newRow("another host's lock")
        << u"own"_s << u"4242\nAurivex\nelsewhere.example\n"_s << u"none"_s << Outcome::Claimed << u""_s;
    QTest::newRow("a dead program's lock and socket file")
        << u"own"_s << u"2147483000\nAurivex\n"_s + host + u"\n"_s << u"file"_s << Outcome::Claimed << u""_s;
    // A program still holding its lock is never taken over, answering or not.
    QTest::newRow("held, silent") << u"own"_s << u"held"_s << u"none"_s << Outcome::Unanswered << u""_s;
    QTest::newRow("socket path is a folder")
        << u"own"_s << u"-"_s << u"dir"_s << Outcome::Refused << u"被一个文件夹占用"_s;
    QTest::newRow("lock path is a folder")
        << u"own"_s << u"dir"_s << u"none"_s << Outcome::Refused << u"被一个文件夹占用"_s;
    QTest::newRow("runtime folder of another user")
        << u"foreign"_s << u"-"_s << u"none"_s << Outcome::Refused << u"属于其他用户"_s;
    QTest::newRow("runtime folder open to others")
        << u"open"_s << u"-"_s << u"none"_s << Outcome::Refused << u"其他用户也能进入（权限 755）"_s;
    QTest::newRow("runtime folder is a file")
        << u"file"_s << u"-"_s << u"none"_s << Outcome::Refused << u"不是文件夹"_s;
}

void SingleInstanceTest::lockAndFolder() {
    QFETCH(QString, folder);
    QFETCH(QString, lock);
    QFETCH(QString, socket);
    QFETCH(Outcome, outcome);
    QFETCH(QString, message);
    QTemporaryDir temp;
    // Without a session folder the per-user folder under the temporary folder is used.
    const uint me = ::geteuid();
    // Another user's folder: the name says one user, the owner is another.
    const uint owner = folder == u"foreign"_s ? me + 1 : me;
    const QString runtimePath = temp.filePath(u"aurivex-"_s + QString::number(owner));
    if (folder == u"file"_s)
        QVERIFY(writeFile(runtimePath, "x"));
    else if (folder != u"own"_s)
        QVERIFY(QDir().mkdir(runtimePath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                              QFile::ExeOther));
    const runtimedir::Location runtime = runtimedir::locate(QString(), temp.path(), owner);
    if (!runtime.problem.isEmpty()) {
        QCOMPARE(outcome, Outcome::Refused);
        QVERIFY2(runtime.problem.contains(message), qPrintable(runtime.problem));
        QVERIFY(runtime.path.isEmpty());
        return;
    }
    QCOMPARE(runtime.path, runtimePath);
    QCOMPARE(QFile::permissions(runtime.path) & 0x0077, QFile::Permissions());

    QLockFile holder(pathIn(runtime.path, u".lock"_s));
    if (lock == u"held"_s)
        QVERIFY(holder.tryLock(0));
    else if (lock == u"dir"_s)
        QVERIFY(QDir().mkdir(pathIn(runtime.path, u".lock"_s)));
    else if (lock != u"-"_s)
        QVERIFY(writeFile(pathIn(runtime.path, u".lock"_s), lock.toUtf8()));
    if (socket == u"dir"_s)
        QVERIFY(QDir().mkdir(pathIn(runtime.path, u".socket"_s)));
    else if (socket == u"file"_s)
        QVERIFY(writeFile(pathIn(runtime.path, u".socket"_s), "left behind"));

    SingleInstance instance(kProgramDir, runtime.path);
    QCOMPARE(instance.start(300), outcome);
    QVERIFY2(instance.problem().contains(message), qPrintable(instance.problem()));
    QCOMPARE(instance.problem().isEmpty(), message.isEmpty());
    if (outcome != Outcome::Claimed)
        return;
    // The claim is real: a later start reaches this program.
    QSignalSpy asked(&instance, &SingleInstance::activationRequested);
    SingleInstance later(kProgramDir, runtime.path);
    QCOMPARE(later.start(5000), Outcome::Activated);
    QTRY_COMPARE(asked.size(), 1);
}

void SingleInstanceTest::sessionFolderIsUsedOnlyWhenPrivate_data() {
    QTest::addColumn<int>("mode"); // of $XDG_RUNTIME_DIR; 0 for a relative value
    QTest::addColumn<bool>("used");
    QTest::newRow("private") << 0700 << true;
    QTest::newRow("open to the group") << 0750 << false;
    QTest::newRow("relative") << 0 << false;
}

void SingleInstanceTest::sessionFolderIsUsedOnlyWhenPrivate() {
    QFETCH(int, mode);
    QFETCH(bool, used);
    QTemporaryDir temp;
    const QString session = temp.filePath(u"session"_s);
    QVERIFY(QDir().mkdir(session));
    if (mode != 0)
        QVERIFY(::chmod(QFile::encodeName(session).constData(), mode_t(mode)) == 0);
    const runtimedir::Location runtime =
        runtimedir::locate(mode == 0 ? u"session"_s : session, temp.path(), ::geteuid());
    QVERIFY(runtime.problem.isEmpty());
    QCOMPARE(runtime.path, used ? session : temp.filePath(u"aurivex-"_s + QString::number(::geteuid())));
}

void SingleInstanceTest::connectionsAreShortLivedAndCapped() {
    QTemporaryDir runtime;
    SingleInstance instance(kProgramDir, runtime.path());
    QCOMPARE(instance.start(), Outcome::Claimed);
    QSignalSpy asked(&instance, &SingleInstance::activationRequested);

    // Connections that say nothing: never more than the cap stay open.
    instance.setConnectionLife(60000);
    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < SingleInstance::kMaxConnections + 12; ++i) {
        idle.push_back(std::make_unique<QLocalSocket>());
        idle.back()->connectToServer(pathIn(runtime.path(), u".socket"_s));
        QVERIFY(idle.back()->waitForConnected(5000));
    }
    QTRY_COMPARE(instance.connectionCount(), SingleInstance::kMaxConnections);
    // A later start still gets through.
    SingleInstance later(kProgramDir, runtime.path());
    QCOMPARE(later.start(5000), Outcome::Activated);
    QTRY_COMPARE(asked.size(), 1);
    QVERIFY(instance.connectionCount() <= SingleInstance::kMaxConnections);

    // A silent connection is closed by the program after its short life.
    instance.setConnectionLife(SingleInstance::kConnectionLifeMs);
    QLocalSocket silent;
    silent.connectToServer(pathIn(runtime.path(), u".socket"_s));
    QVERIFY(silent.waitForConnected(5000));
    QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState, 10000);
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"
