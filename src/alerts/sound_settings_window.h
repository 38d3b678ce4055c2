#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
struct Services;

// "提醒声音设置": the choice of the alert sound, one of the three built-in
// sounds or the user's own MP3, each of which can be listened to. Confirmed
// choices go to "config.ini"; checking reads them when it next starts. Opened
// modally from the alert panel.
class SoundSettingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit SoundSettingsWindow(Services& services, QWidget* parent = nullptr);

    // The MP3 loaded or last chosen: the one listened to and saved, whatever
    // the path box shows.
    const QString& soundPath() const { return soundPath_; }

    void listenBuiltIn();
    void chooseMusic();
    void listenCustom();

public slots:
    // OK: saves the choice ("系统配置文件出错" without a settings file) and closes.
    void accept() override;
    // Every way of closing ends with silence.
    void done(int result) override;

private:
    void load();

    Services& services_;
    QCheckBox* useBuiltIn_;
    QComboBox* builtInList_;
    QCheckBox* useCustom_;
    QLineEdit* pathBox_;
    QString soundPath_;
};
