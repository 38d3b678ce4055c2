#include "chart_window.h"

#include "charts/chart_panel.h"
#include "platform/services.h"
#include "platform/web_cache.h"
#include "ui/fixed_size.h"
#include "ui/place.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kRefreshWidth = 22;
constexpr int kRefreshHeight = 76;

// The legend of the three-day charts: canvas, colour and text, top to bottom.
struct LegendRow {
    const char* canvas;
    const char* label;
    QColor colour;
    const char* text;
};

const LegendRow kLegend[] = {
    {"画板1", "标签14", QColor(0, 160, 0), "绿线为当前即时价格走势图"},
    {"画板3", "标签15", QColor(255, 0, 0), "红线为昨天价格走势图"},
    {"画板2", "标签16", QColor(0, 0, 255), "蓝线为前天价格走势图"},
};

} // namespace

ChartWindow::ChartWindow(const charts::ChartWindowDesign& design, const QUrl& url, Services& services)
    : QWidget(nullptr, Qt::Window), design_(design), services_(services), url_(url) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(design.titleText());
    const QSize client = design.size - kFrameExtra;
    makeFixedSize(this, client);

    // The chart sits one pixel inside its frame.
    const QSize chart = design.controlSize;
    auto* frame =
        place<QFrame>(this, QStringLiteral("外形框1"), {2, 2, chart.width() + 2, chart.height() + 2});
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Plain);
    frame->setStyleSheet(QStringLiteral("QFrame#外形框1 { border: 1px solid #8eaecf; }"));
    panel_ = new ChartPanel(frame, services);
    panel_->setObjectName(design.controlName());
    panel_->setGeometry(1, 1, chart.width(), chart.height());

    if (design.refreshButton) {
        const int left = frame->width() - kRefreshWidth - 2;
        auto* refreshButton =
            place<QPushButton>(frame, QStringLiteral("按钮_手动刷新"),
                               {left, 60, kRefreshWidth, kRefreshHeight}, QStringLiteral("手\n动\n刷\n新"));
        connect(refreshButton, &QPushButton::clicked, this, &ChartWindow::refresh);
    }

    int y = frame->geometry().bottom() + 4;
    if (design.legend) {
        addLegend();
        y += static_cast<int>(std::size(kLegend)) * 20;
    }
    place<QLabel>(this, QStringLiteral("标签1"), {6, y, client.width() - 12, 18},
                  QString::fromUtf8(design.hint));

    refresh();
}

void ChartWindow::addLegend() {
    int y = 2 + design_.controlSize.height() + 2 + 4;
    for (const LegendRow& row : kLegend) {
        auto* canvas = place<QWidget>(this, QString::fromUtf8(row.canvas), {8, y, 8, 18});
        canvas->setAutoFillBackground(true);
        QPalette colours = canvas->palette();
        colours.setColor(QPalette::Window, row.colour);
        canvas->setPalette(colours);
        place<QLabel>(this, QString::fromUtf8(row.label), {22, y, 300, 18}, QString::fromUtf8(row.text));
        y += 20;
    }
}

void ChartWindow::setUrl(const QUrl& url) {
    url_ = url;
    refresh();
}

void ChartWindow::refresh() {
    // The three-day yuan chart shows that it is working while the cache empties.
    const bool busyCursor = design_.kind == charts::ChartWindowKind::ThreeDayCny;
    if (busyCursor)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    if (design_.clearsCache && services_.webCache)
        services_.webCache->clearWebCache();
    panel_->loadImage(url_);
    if (busyCursor)
        QApplication::restoreOverrideCursor();
}
