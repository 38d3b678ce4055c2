#pragma once

#include "alerts/alert_rules.h"

#include <QObject>
#include <QPointer>
#include <array>

class AlertPopup;
class IndicatorPicture;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class QuoteModel;
class Timer;
struct Services;

// "分组框_提醒背景" ("提醒设置"): the price alerts in the main window's right
// column. Four threshold rules watch one bank's shown prices (or the
// international ones), and while checking runs two timers compare them every
// 3.2 s, one sounding the alert and one raising the pop-up. The settings
// live in the controls; they are read from "config.ini" at start-up and
// written back on "保存设置".
class AlertPanel : public QObject {
    Q_OBJECT
public:
    static constexpr int kCheckIntervalMs = 3200;

    // Builds the group on `rightColumn`; the rules watch `quotes`.
    AlertPanel(QWidget* rightColumn, Services& services, const QuoteModel& quotes);

    QGroupBox* group() const { return group_; }

    // Fills the panel from "config.ini"; without the file it keeps its form state.
    void loadAlertSettings();
    // Writes the panel to "config.ini"; without the file nothing is written.
    void saveAlertSettings();
    // Reads the sound in force, runs the timers of the checked channels and
    // locks the inputs.
    void startAlerts();
    // Silences the alert, stops both timers and unlocks the inputs.
    void stopAlerts();
    // One check of every rule, notifying through `channel` on each hit.
    void checkAlerts(alertrules::Channel channel);
    void playAlertSound();
    // Raises the pop-up, or gives the open one the new text.
    void showAlertPopup(const QString& text);

private:
    struct RuleRow {
        QCheckBox* box = nullptr;
        QLineEdit* threshold = nullptr;
        IndicatorPicture* indicator = nullptr;
    };

    void buildRules();
    void clickBank(QCheckBox* clicked);
    void lockInputs(bool locked);
    void openSoundSettings();
    QWidget* window() const;

    Services& services_;
    const QuoteModel& quotes_;
    QGroupBox* group_;
    std::array<RuleRow, 4> rules_;
    std::array<QCheckBox*, 3> banks_{}; // ICBC, CCB, BOC
    QCheckBox* soundBox_ = nullptr;
    QCheckBox* popupBox_ = nullptr;
    QPushButton* soundSettingsButton_ = nullptr;
    QLabel* status_ = nullptr;
    Timer* soundTimer_ = nullptr;
    Timer* popupTimer_ = nullptr;
    alertrules::SoundChoice sound_;
    QPointer<AlertPopup> popup_;
};
