// The price alerts with fake services: the panel's settings in and out of
// "config.ini", checking on its timers, the pop-up's slide, the sound
// settings window, the start-up order in the main window, desktop notes to a
// notification service on a bus of the test's own, and "提醒记录".
#include "alerts/alert_log.h"
#include "alerts/alert_log_window.h"
#include "alerts/alert_panel.h"
#include "alerts/alert_popup.h"
#include "alerts/sound_settings_window.h"
#include "app/main_window.h"
#include "core/app_dir.h"
#include "history/price_history.h"
#include "platform/dbus/dbus_notifications.h"
#include "platform/timer.h"
#include "quotes/quote_model.h"
#include "settings/settings_store.h"
#include "support/fake_notification_service.h"
#include "support/fake_services.h"
#include "support/main_window_lookup.h"
#include "support/program_dir.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QStringList kRuleNames{u"买入价低于"_s, u"买入价高于"_s, u"卖出价低于"_s, u"卖出价高于"_s};

QString config() {
    return appPath(u"config.ini"_s);
}

void put(const QString& section, const QString& key, const QString& value) {
    QVERIFY(settings::writeItem(config(), section, key, value));
}

QString stored(const QString& section, const QString& key) {
    return settings::readItem(config(), section, key);
}

void doubleClick(QWidget* widget) {
    QTest::mouseDClick(widget, Qt::LeftButton, {}, QPoint(10, 10));
}

} // namespace

class AlertWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void settingsLoadAndSave();
    void nothingWithoutConfig();
    void refusedSaveIsReported();
    void bankBoxesExcludeEachOther();
    void checkingSoundsAndPopsUpUntilStopped();
    void soundInForceIsReadAtStart();
    void customSoundIsNotRestartedWhilePlaying();
    void startWithNeitherChannelLocksOnly();
    void noSoundDeviceStillPopsUp();
    void popupSlidesInAndRests();
    void soundSettingsWindow();
    void soundSettingsWithoutConfig();
    void mainWindowLoadsThenStartsAlerts();
    void desktopNotesOncePerCrossingAndEveryHitLogged();
    void noNotificationServiceDisablesTheBox();
    void noteActionBringsTheWindowBack();
    void alertLogWindow();

private:
    void openPanel();
    // The program's history file in a DataBase/ of the test's program directory.
    std::unique_ptr<PriceHistory> openHistory();
    template <typename T> T* find(const QString& name) const { return host->findChild<T*>(name); }
    QCheckBox* box(const QString& name) const { return find<QCheckBox>(u"选择框_"_s + name); }
    QLineEdit* edit(const QString& name) const { return find<QLineEdit>(u"编辑框_"_s + name); }
    QWidget* indicator(const QString& name) const { return find<QWidget>(u"图片框_"_s + name + u"成立"_s); }
    Timer* timer(const QString& name) const { return find<Timer>(name); }
    QString status() const { return find<QLabel>(u"标签_当前状态"_s)->text(); }
    void click(const QString& button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    AlertPopup* popup() const { return host->findChild<AlertPopup*>(); }

    std::unique_ptr<ProgramDir> dir;
    std::unique_ptr<FakeServices> fakes;
    std::unique_ptr<QuoteModel> quotes;
    std::unique_ptr<QWidget> host;
    AlertPanel* panel = nullptr;
};

void AlertWindowsTest::initTestCase() {
    installFontSubstitutions();
}

void AlertWindowsTest::init() {
    dir = std::make_unique<ProgramDir>();
    fakes = std::make_unique<FakeServices>();
    quotes = std::make_unique<QuoteModel>();
}

void AlertWindowsTest::cleanup() {
    host.reset();
    quotes.reset();
    fakes.reset();
    dir.reset();
}

void AlertWindowsTest::openPanel() {
    host = std::make_unique<QWidget>();
    host->resize(264, 640);
    panel = new AlertPanel(host.get(), fakes->services, *quotes);
    host->show();
}

void AlertWindowsTest::settingsLoadAndSave() {
    const QString s = u"提醒设置"_s;
    put(s, u"买入价低于"_s, u"1"_s);
    put(s, u"买入价低于数值"_s, u"300"_s);
    put(s, u"买入价高于"_s, u"0"_s);
    put(s, u"买入价高于数值"_s, u"320"_s); // read only for a rule that is on
    put(s, u"卖出价低于"_s, u"1"_s);       // on, with no number stored
    put(s, u"卖出价高于"_s, u"2"_s);       // anything but 1 is off
    put(s, u"卖出价高于数值"_s, u"310"_s);
    for (const QString& bank : {u"工行提醒选中"_s, u"建行提醒选中"_s, u"中行提醒选中"_s})
        put(s, bank, u"1"_s);
    put(s, u"声音提醒选中"_s, u"1"_s);
    openPanel();
    QCOMPARE(status(), u"当前状态：预警提示未设置"_s);
    panel->loadAlertSettings();

    QVERIFY(box(u"买入价低于"_s)->isChecked());
    QCOMPARE(edit(u"买入价低于"_s)->text(), u"300"_s);
    QVERIFY(!box(u"买入价高于"_s)->isChecked());
    QCOMPARE(edit(u"买入价高于"_s)->text(), QString());
    QVERIFY(box(u"卖出价低于"_s)->isChecked());
    QCOMPARE(edit(u"卖出价低于"_s)->text(), QString());
    QVERIFY(!box(u"卖出价高于"_s)->isChecked());
    QCOMPARE(edit(u"卖出价高于"_s)->text(), QString());
    // Loading sets the boxes without their click handlers: all three banks stay on.
    QVERIFY(box(u"工行提醒"_s)->isChecked() && box(u"建行提醒"_s)->isChecked() &&
            box(u"中行提醒"_s)->isChecked());
    QVERIFY(box(u"声音提醒"_s)->isChecked());
    QVERIFY(!box(u"屏幕下方提醒"_s)->isChecked());
    QCOMPARE(box(u"声音提醒"_s)->toolTip(), u"设定价格达到后，将会不段发出声音提醒！"_s);
    QCOMPARE(box(u"屏幕下方提醒"_s)->toolTip(), u"设定价格达到后，在屏幕下面弹出一个提示窗口！"_s);
    QCOMPARE(find<QPushButton>(u"按钮_价格提醒声音设置"_s)->toolTip(), u"单击设置个性化提醒声音！"_s);
    QCOMPARE(find<QPushButton>(u"按钮_提醒保存"_s)->toolTip(), u"保存当前提醒设置！"_s);

    // Unchecking keeps the stored number; checking stores the box as typed.
    QTest::mouseClick(box(u"买入价低于"_s), Qt::LeftButton);
    edit(u"买入价低于"_s)->setText(u"290"_s);
    QTest::mouseClick(box(u"卖出价高于"_s), Qt::LeftButton);
    QTest::keyClicks(edit(u"卖出价高于"_s), u"abc"_s);
    // The first click on a checked bank clears all three; the second picks it alone.
    QTest::mouseClick(box(u"中行提醒"_s), Qt::LeftButton);
    QVERIFY(!box(u"工行提醒"_s)->isChecked() && !box(u"中行提醒"_s)->isChecked());
    QTest::mouseClick(box(u"中行提醒"_s), Qt::LeftButton);
    QTest::mouseClick(box(u"屏幕下方提醒"_s), Qt::LeftButton);
    // Saving works while checking runs too.
    click(u"按钮_开始提醒"_s);
    click(u"按钮_提醒保存"_s);
    QCOMPARE(stored(s, u"买入价低于"_s), u"0"_s);
    QCOMPARE(stored(s, u"买入价低于数值"_s), u"300"_s);
    QCOMPARE(stored(s, u"卖出价低于"_s), u"1"_s);
    QCOMPARE(stored(s, u"卖出价低于数值"_s), QString());
    QCOMPARE(stored(s, u"卖出价高于"_s), u"1"_s);
    QCOMPARE(stored(s, u"卖出价高于数值"_s), u"abc"_s);
    QCOMPARE(stored(s, u"工行提醒选中"_s), u"0"_s);
    QCOMPARE(stored(s, u"建行提醒选中"_s), u"0"_s);
    QCOMPARE(stored(s, u"中行提醒选中"_s), u"1"_s);
    QCOMPARE(stored(s, u"声音提醒选中"_s), u"1"_s);
    QCOMPARE(stored(s, u"气泡提醒选中"_s), u"1"_s);
    QVERIFY(fakes->dialogs.history().size() == 1); // the missing sound file at start, nothing for the save
}

void AlertWindowsTest::nothingWithoutConfig() {
    openPanel();
    panel->loadAlertSettings();
    for (const QString& name : kRuleNames)
        QVERIFY(!box(name)->isChecked());
    QTest::mouseClick(box(u"买入价低于"_s), Qt::LeftButton);
    click(u"按钮_提醒保存"_s);
    QVERIFY(!QFile::exists(config()));
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void AlertWindowsTest::refusedSaveIsReported() {
    put(u"提醒设置"_s, u"买入价低于数值"_s, u"300"_s);
    openPanel();
    QTest::mouseClick(box(u"买入价低于"_s), Qt::LeftButton);
    edit(u"买入价低于"_s)->setText(u"300🙂"_s); // GBK has no emoji: the file cannot hold it
    QTest::mouseClick(box(u"声音提醒"_s), Qt::LeftButton);
    click(u"按钮_提醒保存"_s);
    QCOMPARE(fakes->dialogs.lastText(), u"系统配置文件出错"_s);
    QCOMPARE(stored(u"提醒设置"_s, u"买入价低于数值"_s), u"300"_s);
    QCOMPARE(stored(u"提醒设置"_s, u"声音提醒选中"_s), u"1"_s); // the rest is saved
}

void AlertWindowsTest::bankBoxesExcludeEachOther() {
    openPanel();
    QTest::mouseClick(box(u"工行提醒"_s), Qt::LeftButton);
    QTest::mouseClick(box(u"建行提醒"_s), Qt::LeftButton);
    QVERIFY(!box(u"工行提醒"_s)->isChecked() && box(u"建行提醒"_s)->isChecked());
    // Clicking the checked one leaves none: the international prices are watched.
    QTest::mouseClick(box(u"建行提醒"_s), Qt::LeftButton);
    QVERIFY(!box(u"工行提醒"_s)->isChecked() && !box(u"建行提醒"_s)->isChecked() &&
            !box(u"中行提醒"_s)->isChecked());
}

void AlertWindowsTest::checkingSoundsAndPopsUpUntilStopped() {
    put(u"声音提醒"_s, u"系统声音使用"_s, u"1"_s);
    put(u"声音提醒"_s, u"系统声音"_s, u"2"_s);
    const QString s = u"提醒设置"_s;
    for (const QString& key : {u"买入价低于"_s, u"卖出价低于"_s, u"工行提醒选中"_s, u"建行提醒选中"_s,
                               u"声音提醒选中"_s, u"气泡提醒选中"_s})
        put(s, key, u"1"_s);
    put(s, u"买入价低于数值"_s, u"300"_s);
    put(s, u"卖出价低于数值"_s, u"300.80"_s);
    quotes->setShown(QuoteModel::Shown::IcbcBuy, u"299.99"_s);
    quotes->setShown(QuoteModel::Shown::IcbcSell, u"300.79"_s);
    // CCB is checked too, but ICBC comes first; CCB's prices would not hit.
    quotes->setShown(QuoteModel::Shown::CcbBuy, u"310.00"_s);
    quotes->setShown(QuoteModel::Shown::CcbSell, u"310.80"_s);
    openPanel();
    panel->loadAlertSettings();

    click(u"按钮_开始提醒"_s);
    QCOMPARE(status(), u"当前状态：声音提醒及弹窗提醒运行中..."_s);
    QCOMPARE(timer(u"声音提醒检测时钟"_s)->interval(), 3200);
    QCOMPARE(timer(u"时钟_屏幕下方提醒检测"_s)->interval(), 3200);
    for (const QString& name : kRuleNames) {
        QVERIFY(!box(name)->isEnabled() && !edit(name)->isEnabled());
        QCOMPARE(edit(name)->palette().color(QPalette::Disabled, QPalette::Base), QColor(192, 192, 192));
        // The thresholds stay readable on the grey.
        QVERIFY(qGray(edit(name)->palette().color(QPalette::Disabled, QPalette::Text).rgb()) < 128);
    }
    for (const QString& name :
         {u"工行提醒"_s, u"建行提醒"_s, u"中行提醒"_s, u"声音提醒"_s, u"屏幕下方提醒"_s})
        QVERIFY(!box(name)->isEnabled());
    QVERIFY(!find<QPushButton>(u"按钮_价格提醒声音设置"_s)->isEnabled());
    for (const QString& button : {u"按钮_开始提醒"_s, u"按钮_暂停提醒"_s, u"按钮_提醒保存"_s})
        QVERIFY(find<QPushButton>(button)->isEnabled());
    QVERIFY(fakes->dialogs.history().isEmpty());

    // Two rules hit: the sound plays for each, stopping the one before.
    timer(u"声音提醒检测时钟"_s)->tick();
    const QUrl two(u"qrc:/alerts/alert-tone-2.wav"_s);
    QCOMPARE(fakes->audio.waves, (QList<QUrl>{two, two}));
    QVERIFY(indicator(u"买入价低于"_s)->isVisible() && indicator(u"卖出价低于"_s)->isVisible());
    QVERIFY(!indicator(u"买入价高于"_s)->isVisible());
    QVERIFY(!popup());

    // The pop-up shows the later rule's message.
    timer(u"时钟_屏幕下方提醒检测"_s)->tick();
    QVERIFY(popup() && popup()->isVisible());
    QCOMPARE(popup()->windowTitle(), u"Aurisa提醒您："_s);
    QCOMPARE(popup()->findChild<QLabel*>(u"标签_价格提醒显示标签"_s)->text(),
             u"速度啊，工行卖出价低于达到标准了！"_s);

    // Equal is no hit: the indicator goes, the other rule keeps sounding.
    quotes->setShown(QuoteModel::Shown::IcbcSell, u"300.8"_s);
    timer(u"声音提醒检测时钟"_s)->tick();
    QCOMPARE(fakes->audio.waves.size(), 3);
    QVERIFY(!indicator(u"卖出价低于"_s)->isVisible());
    timer(u"时钟_屏幕下方提醒检测"_s)->tick();
    QCOMPARE(popup()->message(), u"速度啊，工行买入价低于达到标准了！"_s);

    click(u"按钮_暂停提醒"_s);
    QCOMPARE(fakes->audio.calls.last(), u"stop"_s);
    QCOMPARE(status(), u"当前状态：停止中......"_s);
    QCOMPARE(timer(u"声音提醒检测时钟"_s)->interval(), 0);
    QCOMPARE(timer(u"时钟_屏幕下方提醒检测"_s)->interval(), 0);
    for (const QString& name : kRuleNames) {
        QVERIFY(box(name)->isEnabled() && edit(name)->isEnabled());
        QVERIFY(!indicator(name)->isVisible());
        QCOMPARE(edit(name)->palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 255));
    }
    QVERIFY(box(u"工行提醒"_s)->isEnabled() && find<QPushButton>(u"按钮_价格提醒声音设置"_s)->isEnabled());
    // Stopping leaves an open pop-up alone.
    QVERIFY(popup() && popup()->isVisible());
}

void AlertWindowsTest::soundInForceIsReadAtStart() {
    put(u"提醒设置"_s, u"买入价高于"_s, u"1"_s);
    put(u"提醒设置"_s, u"买入价高于数值"_s, u"250"_s);
    put(u"提醒设置"_s, u"声音提醒选中"_s, u"1"_s);
    quotes->setShown(QuoteModel::Shown::IntlBuy, u"257.76"_s);
    openPanel();
    panel->loadAlertSettings();

    // No sound keys: the file branch with an empty path, and two blanks in the message.
    click(u"按钮_开始提醒"_s);
    QCOMPARE(fakes->dialogs.lastText(), u"音乐文件  不存在，可能已经被删除，请重新指定，要不将无声！"_s);
    QCOMPARE(status(), u"当前状态：声音提醒运行中......"_s);
    QCOMPARE(timer(u"时钟_屏幕下方提醒检测"_s)->interval(), 0);
    timer(u"声音提醒检测时钟"_s)->tick();
    QVERIFY(fakes->audio.files.isEmpty() && fakes->audio.waves.isEmpty());
    QVERIFY(indicator(u"买入价高于"_s)->isVisible()); // the international price hit, silently

    // A change in the settings counts from the next start on.
    put(u"声音提醒"_s, u"系统声音使用"_s, u"1"_s);
    put(u"声音提醒"_s, u"系统声音"_s, u"3"_s);
    timer(u"声音提醒检测时钟"_s)->tick();
    QVERIFY(fakes->audio.waves.isEmpty());
    click(u"按钮_开始提醒"_s);
    QCOMPARE(fakes->dialogs.history().size(), 1);
    timer(u"声音提醒检测时钟"_s)->tick();
    QCOMPARE(fakes->audio.waves, QList<QUrl>{QUrl(u"qrc:/alerts/alert-tone-3.wav"_s)});

    // A number with no built-in sound plays nothing.
    put(u"声音提醒"_s, u"系统声音"_s, u"4"_s);
    click(u"按钮_开始提醒"_s);
    timer(u"声音提醒检测时钟"_s)->tick();
    QCOMPARE(fakes->audio.waves.size(), 1);
}

void AlertWindowsTest::customSoundIsNotRestartedWhilePlaying() {
    const QString music = dir->filePath(u"告警.mp3"_s);
    QFile file(music);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    put(u"声音提醒"_s, u"系统声音使用"_s, u"0"_s);
    put(u"声音提醒"_s, u"自定义声音"_s, music);
    put(u"提醒设置"_s, u"卖出价高于"_s, u"1"_s);
    put(u"提醒设置"_s, u"卖出价高于数值"_s, u"258"_s);
    put(u"提醒设置"_s, u"中行提醒选中"_s, u"1"_s);
    put(u"提醒设置"_s, u"声音提醒选中"_s, u"1"_s);
    quotes->setShown(QuoteModel::Shown::BocSell, u"258.56"_s);
    openPanel();
    panel->loadAlertSettings();
    click(u"按钮_开始提醒"_s);
    QVERIFY(fakes->dialogs.history().isEmpty());

    Timer* sound = timer(u"声音提醒检测时钟"_s);
    sound->tick();
    sound->tick();
    QCOMPARE(fakes->audio.files, QStringList{music});
    fakes->audio.filePlaying = false; // the music has ended
    sound->tick();
    QCOMPARE(fakes->audio.files, (QStringList{music, music}));
}

void AlertWindowsTest::startWithNeitherChannelLocksOnly() {
    put(u"声音提醒"_s, u"系统声音使用"_s, u"1"_s);
    openPanel();
    click(u"按钮_开始提醒"_s);
    QCOMPARE(status(), u"未设置任何提醒"_s);
    QCOMPARE(timer(u"声音提醒检测时钟"_s)->interval(), 0);
    QCOMPARE(timer(u"时钟_屏幕下方提醒检测"_s)->interval(), 0);
    QVERIFY(!box(u"买入价低于"_s)->isEnabled() && !box(u"声音提醒"_s)->isEnabled());
    click(u"按钮_暂停提醒"_s);
    QVERIFY(box(u"买入价低于"_s)->isEnabled());
}

void AlertWindowsTest::noSoundDeviceStillPopsUp() {
    fakes->audio.deviceMissing = true;
    put(u"声音提醒"_s, u"系统声音使用"_s, u"1"_s);
    put(u"声音提醒"_s, u"系统声音"_s, u"1"_s);
    for (const QString& key : {u"买入价低于"_s, u"声音提醒选中"_s, u"气泡提醒选中"_s})
        put(u"提醒设置"_s, key, u"1"_s);
    put(u"提醒设置"_s, u"买入价低于数值"_s, u"300"_s);
    quotes->setShown(QuoteModel::Shown::IntlBuy, u"257.76"_s);
    openPanel();
    panel->loadAlertSettings();
    click(u"按钮_开始提醒"_s);
    timer(u"声音提醒检测时钟"_s)->tick();
    timer(u"时钟_屏幕下方提醒检测"_s)->tick();
    QCOMPARE(fakes->audio.waves.size(), 1);
    QVERIFY(popup() && popup()->isVisible());
    QCOMPARE(popup()->message(), u"速度啊，国际买入价低于达到标准了！"_s);
    QVERIFY(fakes->dialogs.history().isEmpty());
}

void AlertWindowsTest::popupSlidesInAndRests() {
    // A 1920 x 1080 screen less a 40-pixel panel: the work area ends at 1040.
    openPanel();
    panel->showAlertPopup(u"速度啊，国际买入价低于达到标准了！"_s);
    AlertPopup* note = popup();
    QVERIFY(note);
    QCOMPARE(note->size(), QSize(326, 127));
    QCOMPARE(note->pos(), QPoint(1920 - 326 - 1, 1043));
    QCOMPARE(note->targetTop(), 913);
    Timer* slide = note->findChild<Timer*>(u"时钟_右下角渐渐弹出窗口"_s);
    QCOMPARE(slide->interval(), AlertPopup::kTickMs);
    int ticks = 0;
    while (slide->interval() != 0 && ticks < 100) {
        slide->tick();
        ++ticks;
    }
    QCOMPARE(ticks, 26); // 130 pixels at 5 a tick: about 0.4 s
    QCOMPARE(note->y(), 913);

    // An open note only changes its text.
    panel->showAlertPopup(u"速度啊，国际卖出价高于达到标准了！"_s);
    QCOMPARE(popup(), note);
    QCOMPARE(note->message(), u"速度啊，国际卖出价高于达到标准了！"_s);
    QCOMPARE(note->y(), 913);

    // Pushed below its place it slides back; pushed above it stays.
    note->move(note->x(), 951);
    QCOMPARE(slide->interval(), AlertPopup::kTickMs);
    for (int i = 0; i < 8; ++i)
        slide->tick();
    QCOMPARE(note->y(), 911); // the last step overshoots by up to 4 pixels
    QCOMPARE(slide->interval(), 0);
    note->move(note->x(), 700);
    QCOMPARE(slide->interval(), 0);

    // A double-click on the text closes it; the next hit brings a new one.
    QPointer<AlertPopup> closed = note;
    doubleClick(note->findChild<QLabel*>(u"标签_价格提醒显示标签"_s));
    QTRY_VERIFY(!closed);
    panel->showAlertPopup(u"x"_s);
    QVERIFY(popup() && popup()->y() == 1043);
    closed = popup();
    doubleClick(popup());
    QTRY_VERIFY(!closed);
}

void AlertWindowsTest::soundSettingsWindow() {
    put(u"声音提醒"_s, u"系统声音使用"_s, u"1"_s);
    put(u"声音提醒"_s, u"系统声音"_s, u"3"_s);
    put(u"声音提醒"_s, u"自定义声音"_s, u"/old/path.mp3"_s);

    // The panel's button opens it modally.
    openPanel();
    QString opened;
    QTimer::singleShot(0, this, [&opened] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = modal->windowTitle();
            modal->reject();
        }
    });
    click(u"按钮_价格提醒声音设置"_s);
    QCOMPARE(opened, u"提醒声音设置"_s);
    QCOMPARE(fakes->audio.calls, QStringList{u"stop"_s}); // closing it silences
    fakes->audio.calls.clear();

    SoundSettingsWindow window(fakes->services);
    const auto get = [&window](const QString& name) { return window.findChild<QWidget*>(name); };
    auto* useBuiltIn = qobject_cast<QCheckBox*>(get(u"选择框_使用系统声音"_s));
    auto* useCustom = qobject_cast<QCheckBox*>(get(u"选择框_使用自定义声音"_s));
    auto* list = qobject_cast<QComboBox*>(get(u"组合框_使用系统声音"_s));
    auto* pathBox = qobject_cast<QLineEdit*>(get(u"编辑框_使用自定义声音路径"_s));
    window.show();
    QVERIFY(useBuiltIn->isChecked() && !useCustom->isChecked());
    QCOMPARE(list->currentText(), u"提醒音三"_s);
    QCOMPARE(pathBox->text(), QString()); // the path is read only when the file is the choice

    QTest::mouseClick(get(u"按钮_系统声音试听"_s), Qt::LeftButton);
    QCOMPARE(fakes->audio.calls, (QStringList{u"stop"_s, u"wave"_s}));
    QCOMPARE(fakes->audio.waves.last(), QUrl(u"qrc:/alerts/alert-tone-3.wav"_s));

    QTest::mouseClick(useCustom, Qt::LeftButton);
    QVERIFY(useCustom->isChecked() && !useBuiltIn->isChecked());
    // Nothing chosen yet: listening tells of the missing file.
    QTest::mouseClick(get(u"按钮_自定义声音"_s), Qt::LeftButton);
    QCOMPARE(fakes->dialogs.lastText(), u"音乐文件  不存在，可能已经被删除，请重新指定，要不将无声！"_s);

    const QString music = dir->filePath(u"我的提醒.mp3"_s);
    QFile file(music);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    fakes->dialogs.files.enqueue(music);
    QTest::mouseClick(get(u"按钮_选择自定义声音"_s), Qt::LeftButton);
    QCOMPARE(pathBox->text(), music);
    // A cancelled dialog keeps the choice.
    QTest::mouseClick(get(u"按钮_选择自定义声音"_s), Qt::LeftButton);
    QCOMPARE(window.soundPath(), music);
    // A typed path is neither listened to nor saved.
    pathBox->setText(u"/typed/by/hand.mp3"_s);
    QTest::mouseClick(get(u"按钮_自定义声音"_s), Qt::LeftButton);
    QCOMPARE(fakes->audio.files, QStringList{music});

    // OK saves the file choice, keeps the built-in number, and closing is silent.
    QTest::mouseClick(get(u"按钮_确定"_s), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(fakes->audio.calls.last(), u"stop"_s);
    QCOMPARE(stored(u"声音提醒"_s, u"自定义声音使用"_s), u"1"_s);
    QCOMPARE(stored(u"声音提醒"_s, u"系统声音使用"_s), u"0"_s);
    QCOMPARE(stored(u"声音提醒"_s, u"自定义声音"_s), music);
    QCOMPARE(stored(u"声音提醒"_s, u"系统声音"_s), u"3"_s);

    // Reopened: the file is the choice; with both boxes off OK writes nothing.
    SoundSettingsWindow again(fakes->services);
    again.show();
    auto* againCustom = again.findChild<QCheckBox*>(u"选择框_使用自定义声音"_s);
    QVERIFY(againCustom->isChecked());
    QCOMPARE(again.findChild<QLineEdit*>(u"编辑框_使用自定义声音路径"_s)->text(), music);
    QTest::mouseClick(againCustom, Qt::LeftButton);
    QTest::mouseClick(again.findChild<QPushButton*>(u"按钮_确定"_s), Qt::LeftButton);
    QCOMPARE(stored(u"声音提醒"_s, u"自定义声音使用"_s), u"1"_s);

    // Cancel writes nothing.
    SoundSettingsWindow third(fakes->services);
    third.show();
    QTest::mouseClick(third.findChild<QCheckBox*>(u"选择框_使用系统声音"_s), Qt::LeftButton);
    QTest::mouseClick(third.findChild<QPushButton*>(u"按钮_取消"_s), Qt::LeftButton);
    QCOMPARE(stored(u"声音提醒"_s, u"系统声音使用"_s), u"0"_s);
}

void AlertWindowsTest::soundSettingsWithoutConfig() {
    SoundSettingsWindow window(fakes->services);
    window.show();
    QTest::mouseClick(window.findChild<QCheckBox*>(u"选择框_使用系统声音"_s), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton*>(u"按钮_确定"_s), Qt::LeftButton);
    QCOMPARE(fakes->dialogs.lastText(), u"系统配置文件出错"_s);
    QVERIFY(!window.isVisible());
    QVERIFY(!QFile::exists(config()));
}

void AlertWindowsTest::mainWindowLoadsThenStartsAlerts() {
    put(u"黄金选项"_s, u"提醒"_s, u"1"_s);
    put(u"常规选项"_s, u"界面"_s, u"1"_s);
    put(u"声音提醒"_s, u"系统声音使用"_s, u"1"_s);
    put(u"提醒设置"_s, u"卖出价高于"_s, u"1"_s);
    put(u"提醒设置"_s, u"卖出价高于数值"_s, u"100"_s);
    put(u"提醒设置"_s, u"气泡提醒选中"_s, u"1"_s);
    MainWindow window(fakes->services);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    auto* rule = window.findChild<QCheckBox*>(u"选择框_卖出价高于"_s);
    QVERIFY(rule->isChecked() && !rule->isEnabled());
    QCOMPARE(window.findChild<QLineEdit*>(u"编辑框_卖出价高于"_s)->text(), u"100"_s);
    QCOMPARE(window.findChild<Timer*>(u"时钟_屏幕下方提醒检测"_s)->interval(), 3200);
    QCOMPARE(window.findChild<QLabel*>(u"标签_当前状态"_s)->text(), u"当前状态：弹窗提醒运行中......"_s);
    QVERIFY(window.findChild<QGroupBox*>(u"分组框_提醒背景"_s)->isEnabled());
}

std::unique_ptr<PriceHistory> AlertWindowsTest::openHistory() {
    QDir(dir->path()).mkpath(u"DataBase"_s);
    return std::make_unique<PriceHistory>(appPath(u"DataBase/history.db"_s), fakes->clock);
}

void AlertWindowsTest::desktopNotesOncePerCrossingAndEveryHitLogged() {
    PrivateBus bus;
    QVERIFY2(bus.error().isEmpty(), qPrintable(bus.error()));
    FakeNotificationService service(bus.connect(u"service"_s));
    QVERIFY(service.registered());
    DBusNotifications notifications(bus.connect(u"program"_s));
    QVERIFY(notifications.isAvailable());
    fakes->services.notifications = &notifications;
    const auto history = openHistory();
    AlertLog log(*history);

    put(u"声音提醒"_s, u"系统声音使用"_s, u"1"_s);
    put(u"声音提醒"_s, u"系统声音"_s, u"1"_s);
    for (const QString& key : {u"买入价低于"_s, u"声音提醒选中"_s, u"桌面通知选中"_s})
        put(u"提醒设置"_s, key, u"1"_s);
    put(u"提醒设置"_s, u"买入价低于数值"_s, u"300"_s);
    openPanel();
    panel->setLog(&log);
    panel->loadAlertSettings();
    QVERIFY(box(u"桌面通知"_s)->isChecked() && box(u"桌面通知"_s)->isEnabled());
    click(u"按钮_开始提醒"_s);
    QVERIFY(!box(u"桌面通知"_s)->isEnabled());
    QCOMPARE(timer(u"时钟_桌面通知检测"_s)->interval(), 3200);
    QCOMPARE(status(), u"当前状态：声音提醒运行中......"_s);

    // The international buy price check by check, and the notes so far: one
    // as it crosses under 300, none while it stays under, one again after it
    // came back to 300. The sound keeps its own rule: every check under 300.
    const QList<std::pair<QString, int>> checks{{u"299.99"_s, 1}, {u"299.50"_s, 1}, {u"298"_s, 1},
                                                {u"300"_s, 1},    {u"299.9"_s, 2},  {u"299.8"_s, 2}};
    for (const auto& [price, notes] : checks) {
        quotes->setShown(QuoteModel::Shown::IntlBuy, price);
        timer(u"时钟_桌面通知检测"_s)->tick();
        timer(u"声音提醒检测时钟"_s)->tick();
        QTRY_COMPARE(service.notes.size(), notes);
    }
    click(u"按钮_暂停提醒"_s);
    QCOMPARE(timer(u"时钟_桌面通知检测"_s)->interval(), 0);
    QTest::qWait(200); // a note sent late would land by now
    QCOMPARE(service.notes.size(), 2);
    QCOMPARE(fakes->audio.waves.size(), 5);
    for (const FakeNotificationService::Note& note : service.notes) {
        QCOMPARE(note.appName, u"Aurivex"_s);
        QCOMPARE(note.summary, u"Aurisa提醒您："_s);
        QCOMPARE(note.body, u"速度啊，国际买入价低于达到标准了！"_s);
        QCOMPARE(note.urgency(), 2);
        QVERIFY(note.actions.contains(u"default"_s));
        QVERIFY(note.hasImage());
    }

    // Every hit of every channel is in the log, newest first.
    QList<history::AlertRecord> logged;
    log.read(this, [&](const QList<history::AlertRecord>& records) { logged = records; });
    QTRY_COMPARE(logged.size(), 7);
    QStringList channels;
    for (const history::AlertRecord& r : logged)
        channels << r.channel;
    QCOMPARE(channels, (QStringList{u"声音提醒"_s, u"声音提醒"_s, u"桌面通知"_s, u"声音提醒"_s, u"声音提醒"_s,
                                    u"声音提醒"_s, u"桌面通知"_s}));
    const history::AlertRecord first{fakes->clock.current.toMSecsSinceEpoch(),
                                     u"桌面通知"_s,
                                     u"国际"_s,
                                     u"买入价低于"_s,
                                     u"300"_s,
                                     u"299.99"_s};
    QCOMPARE(logged.last(), first);
}

void AlertWindowsTest::noNotificationServiceDisablesTheBox() {
    PrivateBus bus;
    QVERIFY2(bus.error().isEmpty(), qPrintable(bus.error()));
    DBusNotifications notifications(bus.connect(u"program"_s));
    fakes->services.notifications = &notifications;
    put(u"提醒设置"_s, u"桌面通知选中"_s, u"1"_s);
    openPanel();
    panel->loadAlertSettings();
    // Checked as saved, but greyed out, and the tooltip says why.
    QVERIFY(box(u"桌面通知"_s)->isChecked() && !box(u"桌面通知"_s)->isEnabled());
    QCOMPARE(box(u"桌面通知"_s)->toolTip(),
             u"桌面没有通知服务（org.freedesktop.Notifications），无法显示桌面通知"_s);
    click(u"按钮_开始提醒"_s);
    QCOMPARE(status(), u"未设置任何提醒"_s);
    QCOMPARE(timer(u"时钟_桌面通知检测"_s)->interval(), 0);
    click(u"按钮_暂停提醒"_s);

    // A notification daemon that starts later makes the box usable.
    FakeNotificationService service(bus.connect(u"service"_s));
    QVERIFY(service.registered());
    QTRY_VERIFY(box(u"桌面通知"_s)->isEnabled());
    QVERIFY(!box(u"桌面通知"_s)->toolTip().contains(u"无法"_s));

    // No session bus at all.
    DBusNotifications none(
        QDBusConnection::connectToBus(u"unix:path="_s + dir->filePath(u"no-bus"_s), u"none"_s));
    QCOMPARE(none.unavailableReason(), u"没有桌面会话总线（D-Bus），无法显示桌面通知"_s);
    QDBusConnection::disconnectFromBus(u"none"_s);
}

void AlertWindowsTest::noteActionBringsTheWindowBack() {
    PrivateBus bus;
    QVERIFY2(bus.error().isEmpty(), qPrintable(bus.error()));
    FakeNotificationService service(bus.connect(u"service"_s));
    DBusNotifications notifications(bus.connect(u"program"_s));
    fakes->services.notifications = &notifications;
    put(u"常规选项"_s, u"界面"_s, u"1"_s);
    MainWindow window(fakes->services);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    lookup::command(&window, u"隐藏窗口"_s)->trigger();
    QVERIFY(!window.isVisible() && fakes->tray.shown);

    QVERIFY(notifications.show({u"Aurisa提醒您："_s, u"速度啊"_s, {}, true, u"显示主窗口"_s}));
    QTRY_COMPARE(service.notes.size(), 1);
    QCOMPARE(service.notes[0].actions, (QStringList{u"default"_s, u"显示主窗口"_s}));
    // Another program's note is not ours to answer.
    service.invoke(service.notes[0].id + 100, u"default"_s);
    QTest::qWait(100);
    QVERIFY(!window.isVisible());
    service.invoke(service.notes[0].id, u"default"_s);
    QTRY_VERIFY(window.isVisible());
    QVERIFY(!fakes->tray.shown);
}

void AlertWindowsTest::alertLogWindow() {
    const auto history = openHistory();
    AlertLog log(*history);
    using alertrules::Channel;
    using alertrules::Rule;
    using alertrules::Target;
    log.record(Channel::Sound, Target::Icbc, Rule::BuyBelow, u"300"_s, u"299.99"_s);
    fakes->clock.current = fakes->clock.current.addSecs(4);
    log.record(Channel::Popup, Target::Boc, Rule::SellAbove, u"310,5"_s, u"311.20"_s);

    auto* window = new AlertLogWindow(fakes->services, log);
    window->show();
    QTRY_VERIFY(window->loaded());
    const auto label = [&] { return window->findChild<QLabel*>(u"标签_记录条数"_s)->text(); };
    const auto button = [&](const QString& name) { return window->findChild<QPushButton*>(name); };
    QCOMPARE(window->windowTitle(), u"提醒记录"_s);
    QCOMPARE(label(), u"共 2 条提醒记录"_s);
    QCOMPARE(window->entries().first().bank, u"中行"_s);
    auto* table = window->findChild<QTableView*>(u"表格_提醒记录"_s);
    QCOMPARE(table->model()->headerData(0, Qt::Horizontal).toString(), u"时间"_s);
    QCOMPARE(table->model()->index(0, 0).data().toString(), u"2026-12-09 10:00:04"_s);
    QCOMPARE(table->model()->index(1, 2).data().toString(), u"买入价低于"_s);

    // A hit while the window is open joins the top.
    fakes->clock.current = fakes->clock.current.addSecs(4);
    log.record(Channel::Desktop, Target::International, Rule::BuyAbove, u"250"_s, u"257.76"_s);
    QCOMPARE(label(), u"共 3 条提醒记录"_s);
    QCOMPARE(table->model()->index(0, 5).data().toString(), u"桌面通知"_s);

    const QString csvPath = dir->filePath(u"提醒记录.csv"_s);
    fakes->dialogs.files.enqueue(csvPath);
    QTest::mouseClick(button(u"按钮_导出数据"_s), Qt::LeftButton);
    QFile csvFile(csvPath);
    QVERIFY(csvFile.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csvFile.readAll().split('\n');
    QCOMPARE(lines.size(), 5); // the header, three entries, the last line's end
    QVERIFY(lines[0].startsWith("\xEF\xBB\xBF时间,银行,条件,设定值,价格,提醒方式"));
    QCOMPARE(lines[1], QByteArray("2026-12-09 10:00:08,国际,买入价高于,250,257.76,桌面通知\r"));
    QCOMPARE(lines[2], QByteArray("2026-12-09 10:00:04,中行,卖出价高于,\"310,5\",311.20,屏幕下方提醒\r"));

    // Clearing asks first; cancelled, nothing goes.
    fakes->dialogs.answers = {Dialogs::Answer::Cancel};
    QTest::mouseClick(button(u"按钮_清空记录"_s), Qt::LeftButton);
    QCOMPARE(window->entries().size(), 3);
    fakes->dialogs.answers = {Dialogs::Answer::Ok};
    QTest::mouseClick(button(u"按钮_清空记录"_s), Qt::LeftButton);
    QCOMPARE(fakes->dialogs.lastText(), u"清空全部提醒记录？清空后不能恢复。"_s);
    QCOMPARE(label(), u"共 0 条提醒记录"_s);
    QVERIFY(!button(u"按钮_清空记录"_s)->isEnabled() && !button(u"按钮_导出数据"_s)->isEnabled());
    window->close();

    // The file is empty too.
    auto* again = new AlertLogWindow(fakes->services, log);
    QTRY_VERIFY(again->loaded());
    QVERIFY(again->entries().isEmpty());
    delete again;
}

QTEST_MAIN(AlertWindowsTest)
#include "test_alert_windows.moc"
