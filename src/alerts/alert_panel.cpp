#include "alert_panel.h"

#include "alerts/alert_log.h"
#include "alerts/alert_popup.h"
#include "alerts/indicator_picture.h"
#include "alerts/sound_settings_window.h"
#include "core/app_dir.h"
#include "platform/audio.h"
#include "platform/dialogs.h"
#include "platform/notifications.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "quotes/quote_model.h"
#include "settings/config_file.h"
#include "ui/app_art.h"
#include "ui/place.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using alertrules::Channel;
using alertrules::Rule;

namespace {

struct RuleDesign {
    const char* name; // "买入价低于": the caption and the tail of every design name
    int pictureTop;
    int top;
    const settings::Flag* flag;
    const settings::Text* value;
};

const std::array<RuleDesign, 4>& ruleDesigns() {
    static const std::array<RuleDesign, 4> designs{{
        {"买入价低于", 22, 18, &settings::key::buyBelow, &settings::key::buyBelowValue},
        {"买入价高于", 56, 52, &settings::key::buyAbove, &settings::key::buyAboveValue},
        {"卖出价低于", 87, 83, &settings::key::sellBelow, &settings::key::sellBelowValue},
        {"卖出价高于", 123, 119, &settings::key::sellAbove, &settings::key::sellAboveValue},
    }};
    return designs;
}

const std::array<const settings::Flag*, 3> kBankKeys{&settings::key::watchIcbc, &settings::key::watchCcb,
                                                     &settings::key::watchBoc};

// The threshold boxes turn grey while checking runs, white again after. Their
// numbers stay readable on the grey, in the dark grey of disabled text.
void paintBase(QLineEdit* box, const QColor& colour) {
    QPalette palette = box->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(109, 109, 109));
    box->setPalette(palette);
}

QFrame* rule(QWidget* parent, const QString& name, const QRect& rect) {
    auto* line = place<QFrame>(parent, name, rect);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

AlertPanel::AlertPanel(QWidget* rightColumn, Services& services, const QuoteModel& quotes)
    : QObject(rightColumn), services_(services), quotes_(quotes) {
    group_ = place<QGroupBox>(rightColumn, QStringLiteral("分组框_提醒背景"), {1, 232, 260, 318},
                              QStringLiteral("提醒设置"));
    place<QLabel>(group_, QString(), {10, 38, 50, 12}, QStringLiteral("买入设置"));
    place<QLabel>(group_, QString(), {10, 104, 50, 12}, QStringLiteral("卖出设置"));
    buildRules();
    rule(group_, QStringLiteral("横线一"), {10, 150, 235, 3});

    const char* const bankNames[] = {"工行提醒", "建行提醒", "中行提醒"};
    const int bankLefts[] = {12, 89, 170};
    for (size_t i = 0; i < banks_.size(); ++i) {
        const QString caption = QString::fromUtf8(bankNames[i]);
        banks_[i] = place<QCheckBox>(group_, QStringLiteral("选择框_") + caption, {bankLefts[i], 156, 70, 20},
                                     caption);
        connect(banks_[i], &QCheckBox::clicked, this, [this, box = banks_[i]] { clickBank(box); });
    }

    soundSettingsButton_ = place<QPushButton>(group_, QStringLiteral("按钮_价格提醒声音设置"),
                                              {11, 198, 46, 18}, QStringLiteral("自定义"));
    soundBox_ = place<QCheckBox>(group_, QStringLiteral("选择框_声音提醒"), {58, 180, 80, 18},
                                 QStringLiteral("声音提醒"));
    popupBox_ = place<QCheckBox>(group_, QStringLiteral("选择框_屏幕下方提醒"), {145, 180, 95, 18},
                                 QStringLiteral("屏幕下方提醒"));
    // Beside "自定义", under the sound box: the row the two channels leave free.
    desktopBox_ = place<QCheckBox>(group_, QStringLiteral("选择框_桌面通知"), {58, 199, 80, 18},
                                   QStringLiteral("桌面通知"));
    auto* saveButton = place<QPushButton>(group_, QStringLiteral("按钮_提醒保存"), {191, 228, 60, 20},
                                          QStringLiteral("保存设置"));
    rule(group_, QStringLiteral("横线二"), {10, 222, 235, 3});
    auto* startButton = place<QPushButton>(group_, QStringLiteral("按钮_开始提醒"), {43, 254, 60, 18},
                                           QStringLiteral("开始提醒"));
    auto* stopButton = place<QPushButton>(group_, QStringLiteral("按钮_暂停提醒"), {156, 254, 60, 18},
                                          QStringLiteral("停止提醒"));
    status_ =
        place<QLabel>(group_, QStringLiteral("标签_当前状态"), {13, 285, 230, 12}, alertrules::idleStatus());

    soundBox_->setToolTip(QStringLiteral("设定价格达到后，将会不段发出声音提醒！"));
    popupBox_->setToolTip(QStringLiteral("设定价格达到后，在屏幕下面弹出一个提示窗口！"));
    soundSettingsButton_->setToolTip(QStringLiteral("单击设置个性化提醒声音！"));
    saveButton->setToolTip(QStringLiteral("保存当前提醒设置！"));

    soundTimer_ = new Timer(this, QStringLiteral("声音提醒检测时钟"));
    popupTimer_ = new Timer(this, QStringLiteral("时钟_屏幕下方提醒检测"));
    connect(soundTimer_, &Timer::timeout, this, [this] { checkAlerts(Channel::Sound); });
    connect(popupTimer_, &Timer::timeout, this, [this] { checkAlerts(Channel::Popup); });
    desktopTimer_ = new Timer(this, QStringLiteral("时钟_桌面通知检测"));
    connect(desktopTimer_, &Timer::timeout, this, [this] { checkAlerts(Channel::Desktop); });
    if (services_.notifications)
        connect(services_.notifications, &Notifications::availabilityChanged, this,
                &AlertPanel::showDesktopAvailability);
    showDesktopAvailability();

    connect(soundSettingsButton_, &QPushButton::clicked, this, &AlertPanel::openSoundSettings);
    connect(saveButton, &QPushButton::clicked, this, &AlertPanel::saveAlertSettings);
    connect(startButton, &QPushButton::clicked, this, &AlertPanel::startAlerts);
    connect(stopButton, &QPushButton::clicked, this, &AlertPanel::stopAlerts);
}

void AlertPanel::buildRules() {
    for (size_t i = 0; i < rules_.size(); ++i) {
        const RuleDesign& design = ruleDesigns()[i];
        const QString name = QString::fromUtf8(design.name);
        const auto direction =
            alertrules::kRules[i] == Rule::BuyBelow || alertrules::kRules[i] == Rule::SellBelow
                ? IndicatorPicture::Direction::Down
                : IndicatorPicture::Direction::Up;
        RuleRow& row = rules_[i];
        row.indicator = new IndicatorPicture(group_, direction);
        row.indicator->setObjectName(QStringLiteral("图片框_") + name + QStringLiteral("成立"));
        row.indicator->move(42, design.pictureTop);
        // Shown only while the rule's condition holds.
        row.indicator->hide();
        row.box = place<QCheckBox>(group_, QStringLiteral("选择框_") + name, {56, design.top, 80, 20}, name);
        row.threshold = place<QLineEdit>(group_, QStringLiteral("编辑框_") + name, {137, design.top, 50, 20});
        place<QLabel>(group_, QString(), {192, design.top, 55, 20}, QStringLiteral("人民币/克"));
    }
}

QWidget* AlertPanel::window() const {
    return group_->window();
}

void AlertPanel::clickBank(QCheckBox* clicked) {
    // At most one bank: the clicked box keeps what the click gave it.
    for (QCheckBox* bank : banks_) {
        if (bank != clicked)
            bank->setChecked(false);
    }
}

void AlertPanel::loadAlertSettings() {
    const settings::Snapshot config = settings::ConfigFile::program().read();
    if (!config.exists())
        return;
    for (size_t i = 0; i < rules_.size(); ++i) {
        // A rule stored as off keeps its box unchecked and its box empty: the
        // number is read only for a rule that is on.
        if (!config.value(*ruleDesigns()[i].flag))
            continue;
        rules_[i].box->setChecked(true);
        rules_[i].threshold->setText(config.value(*ruleDesigns()[i].value));
    }
    // Set directly, not clicked: several banks on in the file stay checked.
    for (size_t i = 0; i < banks_.size(); ++i) {
        if (config.value(*kBankKeys[i]))
            banks_[i]->setChecked(true);
    }
    if (config.value(settings::key::soundAlert))
        soundBox_->setChecked(true);
    if (config.value(settings::key::popupAlert))
        popupBox_->setChecked(true);
    if (config.value(settings::key::desktopAlert))
        desktopBox_->setChecked(true);
}

void AlertPanel::saveAlertSettings() {
    const settings::ConfigFile config = settings::ConfigFile::program();
    if (!config.exists())
        return;
    bool saved = true;
    // Every key is tried: one refused value (a character GBK lacks) keeps the others.
    const auto flag = [&](const settings::Flag& key, const QCheckBox* box) {
        saved &= config.write(key, box->isChecked());
    };
    for (size_t i = 0; i < rules_.size(); ++i) {
        flag(*ruleDesigns()[i].flag, rules_[i].box);
        // An unchecked rule keeps its stored number for when it is turned on again.
        if (rules_[i].box->isChecked())
            saved &= config.write(*ruleDesigns()[i].value, rules_[i].threshold->text());
    }
    for (size_t i = 0; i < banks_.size(); ++i)
        flag(*kBankKeys[i], banks_[i]);
    flag(settings::key::soundAlert, soundBox_);
    flag(settings::key::popupAlert, popupBox_);
    flag(settings::key::desktopAlert, desktopBox_);
    // A settings file that refused the save would otherwise lose it at the
    // next start without a word.
    if (!saved)
        services_.dialogs->message(window(), QStringLiteral("系统配置文件出错"), QString());
}

void AlertPanel::startAlerts() {
    // Read whether or not the file exists: a missing one reads as empty texts.
    sound_ = alertrules::soundChoice(settings::ConfigFile::program().read());
    if (!sound_.builtIn && !QFileInfo(sound_.customPath).isFile())
        services_.dialogs->message(window(), alertrules::missingSoundMessage(sound_.customPath), QString());

    const bool sound = soundBox_->isChecked();
    const bool popup = popupBox_->isChecked();
    // Checked but without a service (its box greyed out), the channel stays off.
    const bool desktop =
        desktopBox_->isChecked() && services_.notifications && services_.notifications->isAvailable();
    if (sound)
        soundTimer_->setInterval(kCheckIntervalMs);
    if (popup)
        popupTimer_->setInterval(kCheckIntervalMs);
    if (desktop) {
        // A fresh start tells of every price already past its threshold.
        quietRepeats_.rearm();
        desktopTimer_->setInterval(kCheckIntervalMs);
    }
    status_->setText(alertrules::runningStatus(sound, popup, desktop));
    // Locked even with no channel to run: only stopping unlocks.
    lockInputs(true);
}

void AlertPanel::stopAlerts() {
    services_.audio->stop();
    soundTimer_->setInterval(0);
    popupTimer_->setInterval(0);
    desktopTimer_->setInterval(0);
    status_->setText(alertrules::stoppedStatus());
    lockInputs(false);
    for (const RuleRow& row : rules_)
        row.indicator->hide();
}

void AlertPanel::lockInputs(bool locked) {
    locked_ = locked;
    for (const RuleRow& row : rules_) {
        row.box->setEnabled(!locked);
        row.threshold->setEnabled(!locked);
        paintBase(row.threshold, locked ? QColor(192, 192, 192) : QColor(255, 255, 255));
    }
    for (QCheckBox* box : {banks_[0], banks_[1], banks_[2], soundBox_, popupBox_})
        box->setEnabled(!locked);
    soundSettingsButton_->setEnabled(!locked);
    showDesktopAvailability();
}

void AlertPanel::showDesktopAvailability() {
    const bool available = services_.notifications && services_.notifications->isAvailable();
    desktopBox_->setEnabled(available && !locked_);
    desktopBox_->setToolTip(available
                                ? QStringLiteral("设定价格达到后，在桌面通知中提醒一次；价格退回设定值之后，"
                                                 "再次达到时才会再提醒！")
                            : services_.notifications ? services_.notifications->unavailableReason()
                                                      : QStringLiteral("桌面没有通知服务，无法显示桌面通知"));
}

void AlertPanel::checkAlerts(Channel channel) {
    const alertrules::Target target =
        alertrules::chooseTarget(banks_[0]->isChecked(), banks_[1]->isChecked(), banks_[2]->isChecked());
    for (size_t i = 0; i < rules_.size(); ++i) {
        const RuleRow& row = rules_[i];
        if (!row.box->isChecked())
            continue;
        const Rule rule = alertrules::kRules[i];
        const QString& price = quotes_.shown(alertrules::priceFor(target, rule));
        const alertrules::Verdict verdict = alertrules::evaluate(rule, price, row.threshold->text());
        // The desktop hears of a crossing once; the other channels on every hit.
        const bool quiet = channel == Channel::Desktop && !quietRepeats_.notifies(i, verdict);
        switch (verdict) {
        case alertrules::Verdict::NoPrice:
            break;
        case alertrules::Verdict::Hit:
            if (quiet) {
                // Told already at this crossing.
            } else if (tell(channel, alertrules::message(target, rule))) {
                if (log_)
                    log_->record(channel, target, rule, row.threshold->text(), price);
            } else {
                // Only a desktop without a notification service fails to hear:
                // it is told at the next check that it can take the note.
                quietRepeats_.missed(i);
            }
            row.indicator->show();
            break;
        case alertrules::Verdict::Clear:
            row.indicator->hide();
            break;
        }
    }
}

bool AlertPanel::tell(Channel channel, const QString& message) {
    switch (channel) {
    case Channel::Sound:
        playAlertSound();
        return true;
    case Channel::Popup:
        showAlertPopup(message);
        return true;
    case Channel::Desktop:
        break;
    }
    return showDesktopNote(message);
}

void AlertPanel::playAlertSound() {
    // A machine without a sound device plays nothing; the pop-up still shows.
    if (sound_.builtIn) {
        const QUrl wave = alertrules::builtInSound(sound_.builtInNumber);
        if (!wave.isEmpty())
            services_.audio->playWave(wave);
        return;
    }
    // The user's music is let play to its end before it starts again; a file
    // that is gone is not heard (the start said so).
    if (services_.audio->isFilePlaying() || !QFileInfo(sound_.customPath).isFile())
        return;
    services_.audio->playFile(sound_.customPath);
}

void AlertPanel::showAlertPopup(const QString& text) {
    if (!popup_)
        popup_ = new AlertPopup(*services_.screen, window());
    popup_->setMessage(text);
    popup_->setDemoFeed(quotes_.demoFeed());
    popup_->show();
}

bool AlertPanel::showDesktopNote(const QString& text) {
    if (!services_.notifications)
        return false;
    Notifications::Note note;
    note.title = AlertPopup::title();
    // The pop-up's text, and its demo line while the prices are the demo's.
    note.body = quotes_.demoFeed() ? text + u'\n' + AlertPopup::demoLine() : text;
    note.icon = appart::windowIconImage(64);
    note.critical = true;
    note.action = QStringLiteral("显示主窗口");
    return services_.notifications->show(note);
}

void AlertPanel::openSoundSettings() {
    SoundSettingsWindow settingsWindow(services_, window());
    settingsWindow.exec();
}
