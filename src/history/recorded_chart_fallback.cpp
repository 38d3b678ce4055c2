#include "recorded_chart_fallback.h"

#include "charts/chart_panel.h"
#include "platform/clock.h"
#include "platform/timer.h"
#include "price_chart.h"
#include "price_history.h"

#include <QEvent>
#include <QLabel>

using namespace history;

RecordedChartFallback::RecordedChartFallback(ChartPanel* panel, PriceHistory& history)
    : QObject(panel), panel_(panel), history_(history) {
    chart_ = new PriceChart(panel);
    chart_->setObjectName(QStringLiteral("图表_本机记录"));
    // A small stand-in: it shows the day, the user does not drag it about.
    chart_->setInteractions({});
    // Sized only when it shows: a hidden chart the panel's size would still
    // get its paint buffers (1.2 MB) when the window first shows.
    chart_->hide();
    mark_ = new QLabel(QStringLiteral("本机记录"), chart_);
    mark_->setObjectName(QStringLiteral("标签_本机记录"));
    mark_->setStyleSheet(QStringLiteral("background: #fffde8; color: #8a5a00; border: 1px solid #c8b860; "
                                        "padding: 1px 4px;"));
    mark_->adjustSize();
    panel->installEventFilter(this);

    grace_ = new Timer(this, QStringLiteral("时钟_本机记录等待"), kGraceMs);
    connect(grace_, &Timer::timeout, this, [this] {
        grace_->setInterval(0);
        if (panel_->image().isNull())
            show();
    });
    redraw_ = new Timer(this, QStringLiteral("时钟_本机记录刷新"));
    connect(redraw_, &Timer::timeout, this, &RecordedChartFallback::redraw);
    connect(panel, &ChartPanel::loaded, this, &RecordedChartFallback::onLoaded);
}

bool RecordedChartFallback::showing() const {
    return chart_->isVisible();
}

bool RecordedChartFallback::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_ && event->type() == QEvent::Resize && chart_->isVisible()) {
        chart_->setGeometry(panel_->rect());
        mark_->move(chart_->width() - mark_->width() - 8, 6);
    }
    return QObject::eventFilter(watched, event);
}

void RecordedChartFallback::onLoaded(bool ok) {
    grace_->setInterval(0);
    if (ok)
        hide();
    else
        show();
}

void RecordedChartFallback::show() {
    if (!chart_->isVisible()) {
        chart_->setGeometry(panel_->rect());
        mark_->move(chart_->width() - mark_->width() - 8, 6);
        chart_->show();
        chart_->raise();
        redraw_->setInterval(kRedrawMs);
    }
    panel_->setProperty("recorded", true);
    redraw();
}

void RecordedChartFallback::hide() {
    chart_->hide();
    redraw_->setInterval(0);
    panel_->setProperty("recorded", false);
}

void RecordedChartFallback::redraw() {
    const qint64 now = history_.clock().now().toMSecsSinceEpoch();
    const qint64 from = now - kDayMs;
    history_.read({Series::IntlBuy}, from, now + kMinuteMs, chart_,
                  [this, from, now](const PriceHistory::Spans& spans) {
                      chart_->clearChart();
                      const chartdata::Line line = chartdata::lineOf(spans.value(0).second);
                      chart_->addLine(seriesName(Series::IntlBuy), QColor(0xb9, 0x77, 0x0e), line);
                      if (line.keys.isEmpty())
                          chart_->setNote(QStringLiteral("图表暂时无法载入，本机还没有这24小时的价格记录"));
                      chart_->showRange(from / 1000.0, now / 1000.0);
                  });
}
