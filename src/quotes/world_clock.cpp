#include "world_clock.h"

#include "platform/clock.h"
#include "platform/timer.h"
#include "trading_hours.h"
#include "ui/place.h"

#include <QFrame>
#include <QLabel>

namespace {
constexpr int kTickMs = 1000;
}

WorldClock::WorldClock(QWidget* mainWindow, QWidget* client, Clock& clock)
    : QObject(mainWindow), clock_(clock) {
    bar_ = place<QFrame>(client, QStringLiteral("时间背景框"), {2, 27, 745, 24});
    bar_->setFrameShape(QFrame::StyledPanel);
    panel_ = place<QWidget>(bar_, QStringLiteral("图片框_时间自适应背景"), {4, 1, 736, 22});

    struct City {
        const char* caption;
        const char* captionName;
        const char* timeName;
    };
    static const City cities[] = {
        {"北京", "标签6", "北京时间显示标签"},
        {"伦敦", "标签7", "伦敦时间显示标签"},
        {"纽约", "标签8", "纽约时间显示标签"},
        {"悉尼", "标签9", "悉尼时间显示标签"},
    };
    for (int i = 0; i < 4; ++i) {
        const int left = 40 + i * 176;
        place<QLabel>(panel_, QString::fromUtf8(cities[i].captionName), {left, 4, 34, 14},
                      QString::fromUtf8(cities[i].caption));
        times_[static_cast<size_t>(i)] =
            place<QLabel>(panel_, QString::fromUtf8(cities[i].timeName), {left + 36, 4, 70, 14});
    }

    timer_ = new Timer(mainWindow, QStringLiteral("时间显示时钟"), kTickMs);
    connect(timer_, &Timer::timeout, this, &WorldClock::tick);
    tick();
}

void WorldClock::tick() {
    const std::array<QString, 4> texts = tradinghours::worldClockTexts(clock_.now().time());
    for (size_t i = 0; i < texts.size(); ++i)
        times_[i]->setText(texts[i]);
}
