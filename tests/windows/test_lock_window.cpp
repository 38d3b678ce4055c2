// The lock window: unlocking, changing the password, refusing to close, and
// staying locked when the account file cannot be read.
#include "app/lock_window.h"
#include "core/app_dir.h"
#include "provisioner.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "support/crash_points.h"
#include "support/fake_services.h"
#include "support/program_dir.h"
#include "ui/window_alpha.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class LockWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() {
        owned.reset();
        dir.reset();
    }
    void showsItsDesign();
    void unlocksOnlyWithTheExactPassword_data();
    void unlocksOnlyWithTheExactPassword();
    void changingThePasswordUnlocksAndKeepsTheAccount();
    void wrongCurrentPasswordChangesNothing();
    void refusesEveryCloseRequest();
    void unreadableAccountFileKeepsTheLock_data();
    void unreadableAccountFileKeepsTheLock();
    void crashInsideAPasswordChangeKeepsTheOldPassword();

private:
    QString storedPassword() const;
    static void type(LockWindow& w, const QString& box, const QString& text) {
        w.findChild<QLineEdit*>(box)->setText(text);
    }
    static void click(LockWindow& w, const QString& button) {
        QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
    }

    std::unique_ptr<ProgramDir> dir;
    std::unique_ptr<FakeServices> owned;
    FakeServices& fakes() { return *owned; }
};

void LockWindowTest::init() {
    dir = std::make_unique<ProgramDir>();
    QVERIFY(provision::run({dir->path(), u"127.0.0.1:9"_s, true, false}).isEmpty());
    owned = std::make_unique<FakeServices>();
}

QString LockWindowTest::storedPassword() const {
    RecordFile file;
    if (!file.open(appPath(recordpasswords::kPropertyFile), recordpasswords::propertyPassword()))
        return u"<unreadable>"_s;
    file.goFirst();
    return file.read(u"锁定密码"_s).toString();
}

void LockWindowTest::showsItsDesign() {
    LockWindow lock(fakes().services);
    QCOMPARE(lock.windowTitle(), u"系统锁定中..."_s);
    QCOMPARE(lock.size(), QSize(355, 221));
    QCOMPARE(windowAlpha(&lock), 245);
    QVERIFY(lock.isModal());
    for (const QString& box : {u"编辑框_密码框"_s, u"编辑框_原始密码框"_s, u"编辑框_新密码框"_s})
        QVERIFY(lock.findChild<QLineEdit*>(box)->text().isEmpty());
    QCOMPARE(lock.findChild<QPushButton*>(u"按钮_确定修改"_s)->geometry(), QRect(258, 167, 80, 22));
}

void LockWindowTest::unlocksOnlyWithTheExactPassword_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("unlocks");
    QTest::newRow("the default") << u"526"_s << true;
    QTest::newRow("wrong") << u"625"_s << false;
    QTest::newRow("empty") << u""_s << false;
    QTest::newRow("trailing space") << u"526 "_s << false;
}

void LockWindowTest::unlocksOnlyWithTheExactPassword() {
    QFETCH(QString, typed);
    QFETCH(bool, unlocks);
    LockWindow lock(fakes().services);
    lock.show();
    type(lock, u"编辑框_密码框"_s, typed);
    click(lock, u"按钮_解锁"_s);
    QCOMPARE(lock.isVisible(), !unlocks);
    QCOMPARE(lock.result() == QDialog::Accepted, unlocks);
    QCOMPARE(fakes().dialogs.lastText(), unlocks ? QString() : u"密码错误！"_s);
}

void LockWindowTest::changingThePasswordUnlocksAndKeepsTheAccount() {
    {
        LockWindow lock(fakes().services);
        lock.show();
        type(lock, u"编辑框_原始密码框"_s, u"526"_s);
        type(lock, u"编辑框_新密码框"_s, u"Abc"_s);
        click(lock, u"按钮_确定修改"_s);
        QCOMPARE(fakes().dialogs.lastText(), u"修改成功！"_s);
        QVERIFY(!lock.isVisible());
    }
    QCOMPARE(storedPassword(), u"Abc"_s);
    RecordFile file;
    QVERIFY(file.open(appPath(recordpasswords::kPropertyFile), recordpasswords::propertyPassword()));
    file.goFirst();
    QCOMPARE(file.read(u"现有资产"_s).toDouble(), 100000.0);
    QCOMPARE(file.read(u"操作银行"_s).toInt(), 1);
    file.close();

    // Letter case counts; an empty new password is stored as it is and then unlocks.
    LockWindow again(fakes().services);
    again.show();
    type(again, u"编辑框_密码框"_s, u"abc"_s);
    click(again, u"按钮_解锁"_s);
    QCOMPARE(fakes().dialogs.lastText(), u"密码错误！"_s);
    type(again, u"编辑框_原始密码框"_s, u"Abc"_s);
    click(again, u"按钮_确定修改"_s);
    QCOMPARE(storedPassword(), QString());
    LockWindow empty(fakes().services);
    empty.show();
    click(empty, u"按钮_解锁"_s);
    QVERIFY(!empty.isVisible());
}

void LockWindowTest::wrongCurrentPasswordChangesNothing() {
    LockWindow lock(fakes().services);
    lock.show();
    type(lock, u"编辑框_原始密码框"_s, u"000"_s);
    type(lock, u"编辑框_新密码框"_s, u"x"_s);
    click(lock, u"按钮_确定修改"_s);
    QCOMPARE(fakes().dialogs.lastText(), u"原始密码错误！"_s);
    QVERIFY(lock.isVisible());
    QCOMPARE(storedPassword(), u"526"_s);
}

void LockWindowTest::refusesEveryCloseRequest() {
    // A primary screen right of another, with a 40-pixel panel at its bottom.
    fakes().screen.screens = {QRect(1280, 0, 1600, 900), QRect(0, 0, 1280, 1024)};
    LockWindow lock(fakes().services);
    lock.show();
    QVERIFY(!lock.close());
    QTest::keyClick(&lock, Qt::Key_Escape);
    lock.reject();
    QVERIFY(lock.isVisible());
    // Nor can it be dragged away from the centre of the work area.
    const QPoint centre(1280 + (1600 - 355) / 2, (900 - 40 - 221) / 2);
    QCOMPARE(lock.pos(), centre);
    lock.move(centre + QPoint(40, 30));
    QCOMPARE(lock.pos(), centre);
}

void LockWindowTest::unreadableAccountFileKeepsTheLock_data() {
    QTest::addColumn<QByteArray>("content"); // empty: the file is removed
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("damaged") << QByteArray(4096, 'x');
}

void LockWindowTest::unreadableAccountFileKeepsTheLock() {
    QFETCH(QByteArray, content);
    const QString path = appPath(recordpasswords::kPropertyFile);
    QVERIFY(QFile::remove(path));
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    LockWindow lock(fakes().services);
    lock.show();
    type(lock, u"编辑框_密码框"_s, u"526"_s);
    click(lock, u"按钮_解锁"_s);
    QCOMPARE(fakes().dialogs.lastText(), u"数据库打开失败，请重新运行软件！"_s);
    QCOMPARE(fakes().dialogs.history().last().title, u"友情提示："_s);
    QVERIFY(lock.isVisible());
    type(lock, u"编辑框_原始密码框"_s, u"526"_s);
    click(lock, u"按钮_确定修改"_s);
    QVERIFY(lock.isVisible());
}

void LockWindowTest::crashInsideAPasswordChangeKeepsTheOldPassword() {
    // Another run was killed while it committed a new lock password.
    QVERIFY(crashpoints::killInsideCommit(appDir(), u"password"_s, u"property.edb-journal"_s));
    QVERIFY(QFile::exists(appPath(recordpasswords::kPropertyFile) + u"-journal"_s));
    LockWindow lock(fakes().services);
    lock.show();
    type(lock, u"编辑框_密码框"_s, u"526"_s);
    click(lock, u"按钮_解锁"_s);
    QVERIFY(fakes().dialogs.history().isEmpty());
    QVERIFY(!lock.isVisible());
    QCOMPARE(storedPassword(), u"526"_s);
}

QTEST_MAIN(LockWindowTest)
#include "test_lock_window.moc"
