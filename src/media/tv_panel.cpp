#include "tv_panel.h"

#include "core/endpoints.h"
#include "media/tv_rules.h"
#include "platform/dialogs.h"
#include "platform/media_player.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/system_volume.h"
#include "platform/timer.h"
#include "ui/place.h"

#include <QActionGroup>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <utility>

namespace {

// The channel menu's items and the endpoints.ini keys of their streams.
struct Channel {
    const char* caption;
    const QString* streamKey;
};
constexpr Channel kChannelTable[TvPanel::kChannels] = {
    {"第一财经一", &endpoints::key::tvChannel1Stream},
    {"第一财经二", &endpoints::key::tvChannel2Stream},
    {"中央电视二台", &endpoints::key::tvChannel3Stream},
};

QString statusText(MediaPlayer::Status status) {
    switch (status) {
    case MediaPlayer::Status::Stopped:
        return QStringLiteral("已停止");
    case MediaPlayer::Status::Connecting:
        return QStringLiteral("正在连接...");
    case MediaPlayer::Status::Buffering:
        return QStringLiteral("正在缓冲...");
    case MediaPlayer::Status::Playing:
        return QStringLiteral("正在播放");
    case MediaPlayer::Status::Ended:
        return QStringLiteral("播放完毕");
    case MediaPlayer::Status::Error:
        return QStringLiteral("播放失败，请稍后重试");
    }
    return {};
}

QUrl streamUrl(const QString& address) {
    return address.isEmpty() ? QUrl() : QUrl(address);
}

} // namespace

TvPanel::TvPanel(QWidget* rightColumn, QWidget* window, Services& services, const endpoints::Endpoints& hosts)
    : QObject(rightColumn), services_(services) {
    group_ = place<QGroupBox>(rightColumn, QStringLiteral("分组框_频道背景"), {1, 1, 260, 228},
                              QStringLiteral("财经频道"));
    // Between the two buttons of the top row, which would hide it at the left.
    group_->setStyleSheet(QStringLiteral("QGroupBox::title { subcontrol-position: top center; }"));

    auto* channelButton =
        place<QPushButton>(group_, QStringLiteral("按钮_频道"), {3, 8, 35, 16}, QStringLiteral("频道"));
    auto* fullScreen = place<QPushButton>(group_, QStringLiteral("按钮_电视播放器全屏"), {223, 8, 35, 16},
                                          QStringLiteral("全屏"));
    picture_ = services_.mediaPlayer->createVideoWidget(group_);
    picture_->setObjectName(QStringLiteral("电视播放器"));
    picture_->setGeometry(10, 25, 248, 180);

    buildVolume();
    auto* play =
        place<QPushButton>(group_, QStringLiteral("按钮_电视播放"), {7, 207, 40, 16}, QStringLiteral("播放"));
    auto* stop = place<QPushButton>(group_, QStringLiteral("按钮_电视停止"), {47, 207, 40, 16},
                                    QStringLiteral("停止"));
    status_ = place<QLabel>(group_, QStringLiteral("播放状态标签"), {90, 206, 136, 15});
    // Over the picture's corner when shown.
    volume_->raise();

    buildChannelMenu(window, hosts);

    // The player holds the start stream; nothing plays before the user asks.
    services_.mediaPlayer->setSource(streamUrl(hosts.value(endpoints::key::tvStartStream)));

    connect(channelButton, &QPushButton::clicked, this,
            [this] { channelMenu_->popup(services_.screen->cursorPos()); });
    connect(fullScreen, &QPushButton::clicked, this, [this] { services_.mediaPlayer->setFullScreen(true); });
    connect(services_.mediaPlayer, &MediaPlayer::doubleClicked, this,
            [this] { services_.mediaPlayer->setFullScreen(true); });
    connect(play, &QPushButton::clicked, this, &TvPanel::playTv);
    connect(stop, &QPushButton::clicked, this, &TvPanel::stopTv);

    statusTimer_ = new Timer(this, QStringLiteral("时钟_电视播放状态检测"), kStatusIntervalMs);
    connect(statusTimer_, &Timer::timeout, this, &TvPanel::showStatus);
    showStatus();
}

void TvPanel::buildVolume() {
    volume_ = place<QSlider>(group_, QStringLiteral("滑块条_音量调节"), {236, 130, 18, 75});
    volume_->setOrientation(Qt::Vertical);
    volume_->setRange(tvrules::kSliderMinimum, tvrules::kSliderMaximum);
    // Position 1 at the top is the loudest.
    volume_->setInvertedAppearance(true);
    volume_->setInvertedControls(true);
    volume_->setValue(tvrules::kSliderMinimum);
    volume_->setToolTip(tvrules::volumeTooltip(volume_->value()));
    // Every movement of a drag reaches the sound server as it happens; a
    // failure says so once, when the slider is let go.
    volume_->setTracking(true);
    volume_->hide();
    auto* volumeButton = place<QPushButton>(group_, QStringLiteral("按钮_系统音量控制"), {237, 207, 17, 17});
    volumeButton->setIcon(volumeButton->style()->standardIcon(QStyle::SP_MediaVolume));
    volumeButton->setIconSize({12, 12});
    volumeButton->setToolTip(QStringLiteral("调节视频播放器音量！"));
    connect(volumeButton, &QPushButton::clicked, this,
            [this] { volume_->setVisible(!volume_->isVisible()); });
    connect(volume_, &QSlider::valueChanged, this, &TvPanel::onVolumeMoved);
    connect(volume_, &QSlider::sliderReleased, this, [this] {
        if (volumeFailed_)
            QTimer::singleShot(0, this, &TvPanel::reportVolumeFailure);
    });
    volume_->installEventFilter(this);
}

void TvPanel::buildChannelMenu(QWidget* window, const endpoints::Endpoints& hosts) {
    channelMenu_ = new QMenu(QStringLiteral("电视频道"), window);
    channelMenu_->setObjectName(QStringLiteral("电视频道"));
    auto* channels = new QActionGroup(channelMenu_);
    for (int i = 0; i < kChannels; ++i) {
        const size_t index = static_cast<size_t>(i);
        streams_[index] = streamUrl(hosts.value(*kChannelTable[i].streamKey));
        QAction* action = channelMenu_->addAction(QString::fromUtf8(kChannelTable[i].caption));
        action->setCheckable(true);
        action->setActionGroup(channels);
        // A channel without a stream in endpoints.ini cannot be chosen.
        action->setEnabled(!streams_[index].isEmpty());
        connect(action, &QAction::triggered, this, [this, i] { selectTvChannel(i + 1); });
    }
    channelMenu_->actions().first()->setChecked(true);
}

void TvPanel::playTv() {
    services_.mediaPlayer->play();
}

void TvPanel::stopTv() {
    services_.mediaPlayer->stop();
}

void TvPanel::selectTvChannel(int channel) {
    if (channel < 1 || channel > kChannels)
        return;
    stopTv();
    const QList<QAction*> items = channelMenu_->actions();
    for (int i = 0; i < items.size(); ++i)
        items[i]->setChecked(i == channel - 1);
    services_.mediaPlayer->setSource(streams_[static_cast<size_t>(channel - 1)]);
    playTv();
}

void TvPanel::showStatus() {
    status_->setText(statusText(services_.mediaPlayer->status()));
}

void TvPanel::onVolumeMoved(int position) {
    if (!services_.systemVolume || !services_.systemVolume->setVolume(tvrules::volumePercent(position))) {
        volumeFailed_ = true;
        // A box that opened while the mouse still holds the slider would
        // take the release from it, and the slider would keep stepping under
        // the box, a box per step: the message waits for the release.
        if (!volume_->isSliderDown() && !(QGuiApplication::mouseButtons() & Qt::LeftButton))
            QTimer::singleShot(0, this, &TvPanel::reportVolumeFailure);
    }
    volume_->setToolTip(tvrules::volumeTooltip(position));
}

bool TvPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == volume_ && event->type() == QEvent::MouseButtonRelease && volumeFailed_)
        QTimer::singleShot(0, this, &TvPanel::reportVolumeFailure);
    return QObject::eventFilter(watched, event);
}

void TvPanel::reportVolumeFailure() {
    // Once per movement, however many steps it took.
    if (!std::exchange(volumeFailed_, false))
        return;
    services_.dialogs->message(group_->window(), QStringLiteral("系统音量打开失败!,您可能听不到声音!"),
                               QString(), Dialogs::Icon::Warning);
}
