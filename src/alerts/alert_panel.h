#pragma once

#include "alerts/alert_rules.h"

#include <QObject>
#include <QPointer>
#include <array>

class AlertLog;
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
// international ones), and while checking runs a timer per channel compares
// them every 3.2 s: one sounds the alert, one raises the pop-up, and one
// hands a note to the desktop's notifications, once per crossing. The
// settings live in the controls; they are read from "config.ini" at start-up
// and written back on "保存设置".
class AlertPanel : public QObject {
    Q_OBJECT
public:
    static constexpr int kCheckIntervalMs = 3200;

    // Builds the group on `rightColumn`; the rules watch `quotes`.
    AlertPanel(QWidget* rightColumn, Services& services, const QuoteModel& quotes);

    QGroupBox* group() const { return group_; }
    // Where every hit is recorded; none by default.
    void setLog(AlertLog* log) { log_ = log; }

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
    // Hands the desktop a note with the pop-up's text; false when it has no
    // notification service.
    bool showDesktopNote(const QString& text);

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
    // The desktop box can be used only while the desktop has a notification service.
    void showDesktopAvailability();
    // Tells the user of a hit on `channel`; false when that channel could not.
    bool tell(alertrules::Channel channel, const QString& message);
    QWidget* window() const;

    Services& services_;
    const QuoteModel& quotes_;
    QGroupBox* group_;
    std::array<RuleRow, 4> rules_;
    std::array<QCheckBox*, 3> banks_{}; // ICBC, CCB, BOC
    QCheckBox* soundBox_ = nullptr;
    QCheckBox* popupBox_ = nullptr;
    QCheckBox* desktopBox_ = nullptr;
    QPushButton* soundSettingsButton_ = nullptr;
    QLabel* status_ = nullptr;
    Timer* soundTimer_ = nullptr;
    Timer* popupTimer_ = nullptr;
    Timer* desktopTimer_ = nullptr;
    alertrules::QuietRepeats quietRepeats_;
    bool locked_ = false;
    AlertLog* log_ = nullptr;
    alertrules::SoundChoice sound_;
    QPointer<AlertPopup> popup_;
};
