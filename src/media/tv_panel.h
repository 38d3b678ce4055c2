#pragma once

#include <QObject>
#include <QUrl>
#include <array>

class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class QWidget;
class Timer;
struct Services;
namespace endpoints {
class Endpoints;
}

// "分组框_频道背景" ("财经频道"): the TV player in the main window's right
// column, and its channel menu "电视频道", which pops up from the panel and
// never shows in the menu bar. The streams are addresses in endpoints.ini;
// the player, the system volume and the cursor come from the services.
class TvPanel : public QObject {
    Q_OBJECT
public:
    static constexpr int kChannels = 3;
    static constexpr int kStatusIntervalMs = 300;

    // Builds the group on `rightColumn` and the channel menu on `window`. The
    // player holds the start stream and does not play until asked.
    TvPanel(QWidget* rightColumn, QWidget* window, Services& services, const endpoints::Endpoints& hosts);

    QGroupBox* group() const { return group_; }
    QMenu* channelMenu() const { return channelMenu_; }

    // The channel's stream plays instead of what played before; channels count from 1.
    void selectTvChannel(int channel);
    void playTv();
    void stopTv();

private:
    // The volume slider and the button that shows it.
    void buildVolume();
    // "电视频道": the channels whose streams endpoints.ini names; on `window`.
    void buildChannelMenu(QWidget* window, const endpoints::Endpoints& hosts);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showStatus();
    void onVolumeMoved(int position);
    void reportVolumeFailure();

    Services& services_;
    std::array<QUrl, kChannels> streams_;
    QGroupBox* group_;
    QMenu* channelMenu_;
    QWidget* picture_;
    QSlider* volume_;
    QLabel* status_;
    Timer* statusTimer_;
    // The system volume failed during the current movement of the slider.
    bool volumeFailed_ = false;
};
