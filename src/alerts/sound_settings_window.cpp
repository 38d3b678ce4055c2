#include "sound_settings_window.h"

#include "alerts/alert_rules.h"
#include "core/app_dir.h"
#include "core/number_text.h"
#include "platform/audio.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "settings/config_file.h"
#include "ui/fixed_size.h"
#include "ui/place.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

SoundSettingsWindow::SoundSettingsWindow(Services& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), services_(services) {
    setObjectName(QStringLiteral("提醒声音设置窗口"));
    setWindowTitle(QStringLiteral("提醒声音设置"));
    // The design's 425 x 164 less the frame and caption around the client area.
    makeFixedSize(this, {419, 135});
    setModal(true);

    auto* frame = place<QGroupBox>(this, QStringLiteral("外形框1"), {9, 4, 401, 90});
    useBuiltIn_ = place<QCheckBox>(frame, QStringLiteral("选择框_使用系统声音"), {8, 18, 100, 20},
                                   QStringLiteral("使用系统声音"));
    builtInList_ = place<QComboBox>(frame, QStringLiteral("组合框_使用系统声音"), {173, 18, 100, 20});
    const char* const names[] = {"提醒音一", "提醒音二", "提醒音三"};
    for (int value = 1; value <= 3; ++value)
        builtInList_->addItem(QString::fromUtf8(names[value - 1]), value);
    auto* listenBuiltInButton = place<QPushButton>(frame, QStringLiteral("按钮_系统声音试听"),
                                                   {281, 18, 40, 20}, QStringLiteral("试听"));
    useCustom_ = place<QCheckBox>(frame, QStringLiteral("选择框_使用自定义声音"), {8, 50, 110, 20},
                                  QStringLiteral("使用自定义声音"));
    pathBox_ = place<QLineEdit>(frame, QStringLiteral("编辑框_使用自定义声音路径"), {123, 50, 150, 20});
    auto* listenCustomButton = place<QPushButton>(frame, QStringLiteral("按钮_自定义声音"), {281, 50, 40, 20},
                                                  QStringLiteral("试听"));
    auto* chooseButton = place<QPushButton>(frame, QStringLiteral("按钮_选择自定义声音"), {328, 50, 65, 20},
                                            QStringLiteral("选择音乐"));
    auto* okButton =
        place<QPushButton>(this, QStringLiteral("按钮_确定"), {68, 99, 80, 20}, QStringLiteral("确定"));
    auto* cancelButton =
        place<QPushButton>(this, QStringLiteral("按钮_取消"), {233, 99, 80, 20}, QStringLiteral("取消"));
    okButton->setDefault(true);

    // The two choices exclude each other, but both may end up unchecked.
    connect(useBuiltIn_, &QCheckBox::clicked, this, [this] { useCustom_->setChecked(false); });
    connect(useCustom_, &QCheckBox::clicked, this, [this] { useBuiltIn_->setChecked(false); });
    connect(listenBuiltInButton, &QPushButton::clicked, this, &SoundSettingsWindow::listenBuiltIn);
    connect(listenCustomButton, &QPushButton::clicked, this, &SoundSettingsWindow::listenCustom);
    connect(chooseButton, &QPushButton::clicked, this, &SoundSettingsWindow::chooseMusic);
    connect(okButton, &QPushButton::clicked, this, &SoundSettingsWindow::accept);
    connect(cancelButton, &QPushButton::clicked, this, &SoundSettingsWindow::reject);

    load();
}

void SoundSettingsWindow::load() {
    // Read whether or not the file exists: a missing one reads as empty texts.
    const settings::Snapshot config = settings::ConfigFile::program().read();
    if (config.value(settings::key::useBuiltInSound)) {
        useBuiltIn_->setChecked(true);
        const int stored = builtInList_->findData(config.value(settings::key::builtInSound));
        if (stored >= 0)
            builtInList_->setCurrentIndex(stored);
    }
    if (config.value(settings::key::useCustomSound)) {
        useCustom_->setChecked(true);
        soundPath_ = config.value(settings::key::customSound);
        pathBox_->setText(soundPath_);
    }
}

void SoundSettingsWindow::listenBuiltIn() {
    const int number = alertrules::listenedSound(builtInList_->currentData().toInt());
    services_.audio->stop();
    services_.audio->playWave(alertrules::builtInSound(number));
}

void SoundSettingsWindow::chooseMusic() {
    const QString chosen =
        services_.dialogs->openFile(this, QStringLiteral("打开"), QStringLiteral("音乐文件(*.mp3)"));
    // A cancelled dialog still holds the name it was last given.
    if (!chosen.isEmpty())
        soundPath_ = chosen;
    pathBox_->setText(soundPath_);
}

void SoundSettingsWindow::listenCustom() {
    if (!QFileInfo(soundPath_).isFile()) {
        services_.dialogs->message(this, alertrules::missingSoundMessage(soundPath_), QString());
        return;
    }
    services_.audio->playFile(soundPath_);
}

void SoundSettingsWindow::accept() {
    using namespace settings::key;
    const settings::ConfigFile config = settings::ConfigFile::program();
    // The value first, the flags after it, each only after the one before it
    // went in: a refused write (a path GBK cannot hold, a file that cannot be
    // replaced) leaves the previous choice whole.
    bool saved = true;
    if (!config.exists()) {
        saved = false;
    } else if (useBuiltIn_->isChecked()) {
        saved = config.write(builtInSound, builtInList_->currentData().toInt()) &&
                config.write(useBuiltInSound, true) && config.write(useCustomSound, false);
    } else if (useCustom_->isChecked()) {
        saved = config.write(customSound, soundPath_) && config.write(useCustomSound, true) &&
                config.write(useBuiltInSound, false);
    }
    if (!saved)
        services_.dialogs->message(this, QStringLiteral("系统配置文件出错"), QString());
    QDialog::accept();
}

void SoundSettingsWindow::done(int result) {
    services_.audio->stop();
    QDialog::done(result);
}
