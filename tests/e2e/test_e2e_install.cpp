// The installed program: `cmake --install` into a private prefix, started
// through its launcher with a private home, lays down the user's own program
// directory, shows prices, and keeps what the user changed on the next start;
// "aurivex --home DIR" runs on a directory of the user's choice.
#include "program_run.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class InstallEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void launcherProvisionsTheUserDirectoryAndKeepsIt();
};

namespace {

QString controlText(const QJsonObject& state, const QString& name) {
    return findControl(findWindow(state, u"Aurivex3.0"_qs), name)[u"text"].toString();
}

int timerInterval(const QJsonObject& state, const QString& name) {
    return findControl(findWindow(state, u"Aurivex3.0"_qs), name)[u"interval"].toInt(-1);
}

} // namespace

void InstallEndToEnd::launcherProvisionsTheUserDirectoryAndKeepsIt() {
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString prefix = root.filePath(u"prefix"_qs);
    QProcess install;
    install.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    install.start(QStringLiteral(AURIVEX_CMAKE_COMMAND),
                  {u"--install"_qs, QStringLiteral(AURIVEX_BUILD_DIR), u"--prefix"_qs, prefix});
    QVERIFY(install.waitForFinished(120000));
    QCOMPARE(install.exitCode(), 0);
    // Nothing of a user's lies in the installation.
    QVERIFY(!QFileInfo::exists(prefix + u"/lib/aurivex/config.ini"_qs));
    QVERIFY(!QFileInfo::exists(prefix + u"/share/aurivex/DataBase"_qs));

    ProgramRun run;
    QVERIFY2(run.startPortal(), qPrintable(run.error()));
    // Whoever installs points the defaults at their portal; new users start from them.
    {
        QSettings defaults(prefix + u"/share/aurivex/endpoints.ini"_qs, QSettings::IniFormat);
        defaults.setValue(u"endpoints/quotePortalHost"_qs, u"127.0.0.1:%1"_qs.arg(run.portalPort()));
    }
    const QString home = root.filePath(u"home"_qs);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_qs, home);
    env.remove(u"XDG_DATA_HOME"_qs);
    env.remove(u"AURIVEX_HOME"_qs);
    run.setCommand(prefix + u"/bin/aurivex"_qs, env);
    const QString userDir = home + u"/.local/share/Aurivex"_qs;
    const QString config = userDir + u"/config.ini"_qs;

    const QRegularExpression price(u"^\\d{3}\\.\\d{2}$"_qs);
    auto showsPrices = [&](const QJsonObject& s) {
        return price.match(controlText(s, u"标签_国际买入价"_qs)).hasMatch();
    };
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    QVERIFY(run.waitForState(showsPrices, 30000));
    QVERIFY(QFileInfo(userDir + u"/DataBase/property.edb"_qs).isFile());
    QCOMPARE(settings::readItem(config, settings::key::holdIcbc), u"0"_qs);
    QCOMPARE(timerInterval(run.state(), u"时钟_工行价格更新"_qs), 15000);
    ProgramRun::screenshot(u"installed-first-start"_qs);
    run.program().terminate();
    QVERIFY(run.waitForExit(10000));

    // The user stops ICBC updates at start; the next start honours it.
    QVERIFY(settings::writeItem(config, settings::key::holdIcbc, u"1"_qs));
    QVERIFY2(run.startProgram(), qPrintable(run.error()));
    QVERIFY(run.waitForState(showsPrices, 30000));
    QCOMPARE(settings::readItem(config, settings::key::holdIcbc), u"1"_qs);
    QCOMPARE(timerInterval(run.state(), u"时钟_工行价格更新"_qs), 0);
    QCOMPARE(controlText(run.state(), u"标签_工行状态"_qs), u"停止状态..."_qs);
    run.program().terminate();
    QVERIFY(run.waitForExit(10000));

    // A profile of the user's own, named on the launcher's command line, is
    // laid down afresh and used; the user's files are theirs alone.
    const QString own = root.filePath(u"own profile"_qs);
    QVERIFY2(run.startProgram(QProcess::ForwardedOutputChannel, {u"--home"_qs, own}),
             qPrintable(run.error()));
    QVERIFY(run.waitForState(showsPrices, 30000));
    QCOMPARE(timerInterval(run.state(), u"时钟_工行价格更新"_qs), 15000);
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    for (const QString& path : {own, own + u"/DataBase"_qs, own + u"/DataBase/property.edb"_qs,
                                own + u"/config.ini"_qs, userDir + u"/DataBase/transactionrecord.edb"_qs})
        QVERIFY2((QFile::permissions(path) & others) == 0, qPrintable(path));
}

QTEST_GUILESS_MAIN(InstallEndToEnd)
#include "test_e2e_install.moc"
