#include "history_window.h"

#include "bar_rules.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "price_chart.h"
#include "ui/csv_export.h"
#include "ui/place.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>

using namespace history;

namespace {

constexpr int kWidth = 980;
constexpr int kHeight = 620;
constexpr int kChartTop = 62;
constexpr int kRedrawMs = 5000;

const std::array<QColor, kSeriesCount> kColours = {
    QColor(0xc0, 0x39, 0x2b), QColor(0xe8, 0x82, 0x7a), QColor(0x1f, 0x5f, 0xa8), QColor(0x7a, 0xa6, 0xd8),
    QColor(0x7d, 0x3c, 0x98), QColor(0xc3, 0x9b, 0xd3), QColor(0xb9, 0x77, 0x0e), QColor(0xe5, 0xb3, 0x5a)};

const std::array<chartdata::Span, 6> kSpans = {chartdata::Span::Hour, chartdata::Span::Day,
                                               chartdata::Span::Week, chartdata::Span::Month,
                                               chartdata::Span::Year, chartdata::Span::All};
const std::array<bars::Period, 5> kPeriods = {bars::Period::Minute1, bars::Period::Minute5,
                                              bars::Period::Minute15, bars::Period::Minute60,
                                              bars::Period::Day};
const std::array<int, 4> kAverageLengths = {5, 10, 20, 60};

} // namespace

HistoryWindow::HistoryWindow(Services& services, PriceHistory& history, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services), history_(history) {
    setObjectName(QStringLiteral("价格记录"));
    setWindowTitle(QStringLiteral("价格记录"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The span on screen stays pressed, in the skin's colours.
    setStyleSheet(QStringLiteral("QPushButton:checked { background: #c7dcf1; border: 1px solid #3f6f9f; "
                                 "color: #0d2a4c; font-weight: bold; }"));
    buildControls();
    redraw_ = new Timer(this, QStringLiteral("时钟_价格记录重画"));
    connect(redraw_, &Timer::timeout, this, [this] {
        redraw_->setInterval(0);
        draw();
    });
    connect(&history_, &PriceHistory::recorded, this, &HistoryWindow::onRecorded);
    resize(kWidth, kHeight);
    reload();
}

void HistoryWindow::buildControls() {
    buildSeriesRow();
    buildViewRow();
    chart_ = new PriceChart(this);
    chart_->setObjectName(QStringLiteral("图表_价格记录"));
    reading_ = place<QLabel>(this, QStringLiteral("标签_十字线读数"), {8, 0, 520, 18});
    status_ = place<QLabel>(this, QStringLiteral("标签_记录状态"), {540, 0, kWidth - 548, 18});
    status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(chart_, &PriceChart::crosshairMoved, reading_, &QLabel::setText);
}

void HistoryWindow::buildSeriesRow() {
    place<QLabel>(this, QStringLiteral("标签_品种"), {8, 9, 40, 18}, QStringLiteral("品种："));
    for (Series s : kAllSeries) {
        const int i = indexOf(s);
        QCheckBox* box = place<QCheckBox>(this, QStringLiteral("选择框_") + seriesName(s),
                                          {48 + i * 82, 9, 80, 18}, seriesName(s));
        // One bank's pair and the international buy price to begin with.
        box->setChecked(s == Series::IcbcBuy || s == Series::IcbcSell || s == Series::IntlBuy);
        connect(box, &QCheckBox::toggled, this, &HistoryWindow::reload);
        seriesBoxes_[size_t(i)] = box;
    }
    exportPictureButton_ = place<QPushButton>(this, QStringLiteral("按钮_导出图片"),
                                              {kWidth - 150, 7, 68, 22}, QStringLiteral("导出图片"));
    exportDataButton_ = place<QPushButton>(this, QStringLiteral("按钮_导出数据"), {kWidth - 76, 7, 68, 22},
                                           QStringLiteral("导出数据"));
    connect(exportPictureButton_, &QPushButton::clicked, this, &HistoryWindow::exportPicture);
    connect(exportDataButton_, &QPushButton::clicked, this, &HistoryWindow::exportData);
}

void HistoryWindow::buildViewRow() {
    place<QLabel>(this, QStringLiteral("标签_时段"), {8, 36, 40, 18}, QStringLiteral("时段："));
    spans_ = new QButtonGroup(this);
    static const char* const spanNames[] = {"按钮_一小时", "按钮_一天", "按钮_一周",
                                            "按钮_一月",   "按钮_一年", "按钮_全部"};
    for (size_t i = 0; i < kSpans.size(); ++i) {
        QPushButton* button =
            place<QPushButton>(this, QString::fromUtf8(spanNames[i]), {48 + int(i) * 50, 34, 48, 22},
                               chartdata::spanName(kSpans[i]));
        button->setCheckable(true);
        spans_->addButton(button, int(i));
    }
    spans_->button(1)->setChecked(true);
    connect(spans_, &QButtonGroup::idClicked, this, &HistoryWindow::reload);

    place<QLabel>(this, QStringLiteral("标签_图形"), {358, 36, 40, 18}, QStringLiteral("图形："));
    shape_ = place<QComboBox>(this, QStringLiteral("组合框_图形"), {398, 34, 104, 22});
    shape_->addItem(QStringLiteral("折线"));
    for (bars::Period period : kPeriods)
        shape_->addItem(QStringLiteral("K线 ") + bars::periodName(period));
    connect(shape_, &QComboBox::currentIndexChanged, this, &HistoryWindow::reload);

    averageBox_ =
        place<QCheckBox>(this, QStringLiteral("选择框_均线"), {516, 36, 50, 18}, QStringLiteral("均线"));
    averageLength_ = place<QComboBox>(this, QStringLiteral("组合框_均线周期"), {566, 34, 64, 22});
    for (int length : kAverageLengths)
        averageLength_->addItem(QStringLiteral("MA%1").arg(length));
    averageLength_->setCurrentIndex(2);
    connect(averageBox_, &QCheckBox::toggled, this, &HistoryWindow::draw);
    connect(averageLength_, &QComboBox::currentIndexChanged, this, &HistoryWindow::draw);

    spreadBox_ =
        place<QCheckBox>(this, QStringLiteral("选择框_点差"), {644, 36, 50, 18}, QStringLiteral("点差"));
    spreadBank_ = place<QComboBox>(this, QStringLiteral("组合框_点差银行"), {694, 34, 64, 22});
    for (int bank = 0; bank < 3; ++bank)
        spreadBank_->addItem(bankName(bank));
    connect(spreadBox_, &QCheckBox::toggled, this, &HistoryWindow::reload);
    connect(spreadBank_, &QComboBox::currentIndexChanged, this, &HistoryWindow::reload);
}

void HistoryWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width(), h = height();
    chart_->setGeometry(4, kChartTop, w - 8, h - kChartTop - 26);
    reading_->move(8, h - 22);
    status_->setGeometry(w / 2, h - 22, w / 2 - 8, 18);
    reading_->resize(w / 2 - 8, 18);
    exportPictureButton_->move(w - 150, 7);
    exportDataButton_->move(w - 76, 7);
}

chartdata::Span HistoryWindow::span() const {
    return kSpans[size_t(std::max(0, spans_->checkedId()))];
}

int HistoryWindow::candlePeriod() const {
    return shape_->currentIndex() - 1;
}

int HistoryWindow::averageLength() const {
    return averageBox_->isChecked() ? kAverageLengths[size_t(averageLength_->currentIndex())] : 0;
}

int HistoryWindow::spreadBank() const {
    return spreadBox_->isChecked() ? spreadBank_->currentIndex() : -1;
}

QList<Series> HistoryWindow::shownSeries() const {
    QList<Series> shown;
    for (Series s : kAllSeries)
        if (seriesBoxes_[size_t(indexOf(s))]->isChecked())
            shown << s;
    return shown;
}

QList<Series> HistoryWindow::wantedSeries() const {
    // Candles are of the first series chosen alone.
    QList<Series> wanted = shownSeries();
    if (candlePeriod() >= 0 && wanted.size() > 1)
        wanted.resize(1);
    if (const int bank = spreadBank(); bank >= 0) {
        for (Series s : {buySeries(bank), sellSeries(bank)})
            if (!wanted.contains(s))
                wanted << s;
    }
    return wanted;
}

void HistoryWindow::reload() {
    const quint64 serial = ++readSerial_;
    pendingReads_ = 1;
    const QDateTime now = services_.clock->now();
    const auto readFrom = [this, serial, now](qint64 fromMs) {
        if (serial != readSerial_)
            return;
        fromMs_ = fromMs;
        // A minute ahead, so that prices recorded while the window is open land inside.
        toMs_ = now.toMSecsSinceEpoch() + kMinuteMs;
        // Long spans come condensed to what the chart can show: the lines'
        // resolution, or the candles' period.
        const int period = candlePeriod();
        resolutionMs_ = period >= 0 ? bars::periodMs(kPeriods[size_t(period)])
                                    : chartdata::lineResolutionMs(toMs_ - fromMs_);
        utcOffset_ = now.offsetFromUtc();
        history_.read(
            wantedSeries(), fromMs_, toMs_, this,
            [this, serial](const PriceHistory::Spans& spans) {
                if (serial != readSerial_)
                    return;
                read_.clear();
                for (const auto& [series, read] : spans)
                    read_.insert(indexOf(series), read);
                pendingReads_ = 0;
                draw();
            },
            resolutionMs_, utcOffset_);
    };
    if (span() == chartdata::Span::All)
        history_.firstTime(this, [readFrom, now](qint64 first) {
            readFrom(chartdata::spanStartMs(chartdata::Span::All, now, first));
        });
    else
        readFrom(chartdata::spanStartMs(span(), now, 0));
}

void HistoryWindow::draw() {
    if (pendingReads_ > 0)
        return;
    chart_->clearChart();
    candles_.clear();
    average_.clear();
    const QList<Series> shown = shownSeries();
    qint64 points = 0;
    const int period = candlePeriod();
    const int length = averageLength();
    if (period < 0) {
        for (Series s : shown) {
            const chartdata::Line line = lineOf(s);
            points += line.keys.size();
            chart_->addLine(seriesName(s), kColours[size_t(indexOf(s))], line);
        }
        if (length > 0 && !shown.isEmpty()) {
            // Over the lines, the average is of the first series' closes at the lines' resolution.
            const QList<Bar> closes =
                bars::aggregate(chartdata::minuteBarsOf(read_.value(indexOf(shown.first()))),
                                std::max(resolutionMs_, kMinuteMs), utcOffset_);
            chart_->addAverage(seriesName(shown.first()) + QStringLiteral(" MA%1").arg(length), closes,
                               bars::movingAverage(closes, length));
        }
    } else if (!shown.isEmpty()) {
        // Candles are of one series: the first one chosen.
        const bars::Period p = kPeriods[size_t(period)];
        candles_ =
            bars::aggregate(chartdata::minuteBarsOf(read_.value(indexOf(shown.first()))), p, utcOffset_);
        chart_->setCandles(seriesName(shown.first()) + QStringLiteral(" K线 ") + bars::periodName(p),
                           candles_, bars::periodMs(p));
        points = candles_.size();
        if (length > 0) {
            average_ = bars::movingAverage(candles_, length);
            chart_->addAverage(QStringLiteral("MA%1").arg(length), candles_, average_);
        }
    }
    if (const int bank = spreadBank(); bank >= 0)
        chart_->setSpread(bankName(bank) + QStringLiteral("点差"), spreadLine(bank));
    if (shown.isEmpty())
        chart_->setNote(QStringLiteral("请在上方选择要看的品种"));
    else if (points == 0)
        chart_->setNote(QStringLiteral("这段时间没有本机记录的价格"));
    status_->setText(QStringLiteral("本机记录 %1 个点（%2，%3）")
                         .arg(points)
                         .arg(chartdata::spanName(span()),
                              period < 0 ? chartdata::resolutionName(resolutionMs_) : shape_->currentText()));
    chart_->showRange(fromMs_ / 1000.0, toMs_ / 1000.0);
}

void HistoryWindow::onRecorded(Series series, Change change) {
    // A price recorded while the window looks at the present joins the view.
    auto found = read_.find(indexOf(series));
    if (found == read_.end() || change.ms < fromMs_ || change.ms >= toMs_)
        return;
    found->changes.append(change);
    if (!redraw_->isRunning())
        redraw_->setInterval(kRedrawMs);
}

chartdata::Line HistoryWindow::lineOf(Series series) const {
    return chartdata::lineOf(read_.value(indexOf(series)), resolutionMs_, utcOffset_);
}

chartdata::Line HistoryWindow::spreadLine(int bank) const {
    return chartdata::spreadOf(lineOf(buySeries(bank)), lineOf(sellSeries(bank)));
}

QString HistoryWindow::suggestedName(const QString& suffix) const {
    return QDir::home().filePath(
        QStringLiteral("价格记录_%1%2")
            .arg(services_.clock->now().toString(QStringLiteral("yyyyMMdd_HHmm")), suffix));
}

void HistoryWindow::exportPicture() {
    const QString path =
        services_.dialogs->saveFile(this, QStringLiteral("导出图片"), suggestedName(QStringLiteral(".png")),
                                    QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty())
        return;
    if (!chart_->savePng(path, chart_->width(), chart_->height()))
        services_.dialogs->message(this, QStringLiteral("图片未能保存到：%1").arg(path),
                                   QStringLiteral("价格记录"), Dialogs::Icon::Warning);
}

void HistoryWindow::exportData() {
    exportCsv(*services_.dialogs, this, suggestedName(QStringLiteral(".csv")), QStringLiteral("价格记录"),
              [this] {
                  if (candlePeriod() >= 0)
                      return chartdata::csvOfCandles(candles_, average_,
                                                     QStringLiteral("MA%1").arg(averageLength()));
                  QList<std::pair<QString, chartdata::Line>> lines;
                  for (Series s : shownSeries())
                      lines.append({seriesName(s), lineOf(s)});
                  if (const int bank = spreadBank(); bank >= 0)
                      lines.append({bankName(bank) + QStringLiteral("点差"), spreadLine(bank)});
                  return chartdata::csvOfLines(lines);
              });
}
