#include "floating_strip.h"

#include "core/app_dir.h"
#include "core/number_text.h"
#include "floating/auto_hide.h"
#include "floating/desktop_chart.h"
#include "floating/ledger_cost_box.h"
#include "floating/quote_line.h"
#include "platform/dialogs.h"
#include "platform/screen.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "quotes/quote_model.h"
#include "settings/config_file.h"
#include "ui/demo_mark.h"
#include "ui/place.h"
#include "ui/window_alpha.h"
#include "ui/x11_window.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int kQuoteIntervalMs = 1000;
constexpr int kAutoHideIntervalMs = 100;
constexpr int kDefaultOpacityPosition = 98;
// Set directly by the defaults, not from the slider: 98 × 2.5 would be 245.
constexpr int kDefaultAlpha = 235;
constexpr int kDemoMarkWidth = 32;

// The two image buttons' pictures, drawn rather than shipped.
QIcon fontImage() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x16, 0x30, 0x4f));
    painter.drawText(QRect(0, -2, 16, 15), Qt::AlignCenter, QStringLiteral("A"));
    painter.fillRect(QRect(2, 13, 12, 3), QColor(255, 0, 0));
    return QIcon(pixmap);
}

// A chevron pointing where the settings area will go: down to unfold, up to fold.
QIcon foldImage(bool pointsUp) {
    QPixmap pixmap(11, 11);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (pointsUp) {
        path.moveTo(1, 8);
        path.lineTo(5.5, 3);
        path.lineTo(10, 8);
    } else {
        path.moveTo(1, 3);
        path.lineTo(5.5, 8);
        path.lineTo(10, 3);
    }
    painter.setPen(QPen(QColor(0x16, 0x30, 0x4f), 2));
    painter.drawPath(path);
    return QIcon(pixmap);
}

// The largest font, at most 12 pixels, that stacks `lines` lines in `height` pixels.
QFont fittingFont(QFont font, int lines, int height) {
    for (int pixels = 12; pixels > 6; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        if (metrics.lineSpacing() * (lines - 1) + metrics.height() <= height)
            break;
    }
    return font;
}

QSlider* placeSlider(QWidget* parent, const QString& name, const QRect& rect, int low, int high,
                     int position) {
    auto* slider = place<QSlider>(parent, name, rect);
    slider->setOrientation(Qt::Horizontal);
    slider->setRange(low, high);
    slider->setValue(position);
    return slider;
}

} // namespace

FloatingStrip::FloatingStrip(Services& services, const QuoteModel& model, DesktopChart& chart,
                             QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), services_(services),
      model_(model), chart_(chart) {
    setObjectName(QStringLiteral("纸小窗口"));
    setWindowTitle(QStringLiteral("纸小窗口"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The user works in another program: showing the strip must not take the keyboard from it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Never active, so its tooltips (the demo mark's explanation among them)
    // would otherwise never show.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    x11window::keepOffTaskbar(this);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("FloatingStrip { background: #e4eef8; border: 1px solid #8eaecf; }"));

    buildControls();
    buildChartRow();
    // What a docked strip shows: a line of gold, easy to find over title
    // bars and panels alike.
    dockedEdge_ = new QWidget(this);
    dockedEdge_->setAttribute(Qt::WA_StyledBackground);
    dockedEdge_->setStyleSheet(QStringLiteral("background: #e0a100;"));
    dockedEdge_->setAttribute(Qt::WA_TransparentForMouseEvents);
    dockedEdge_->hide();
    quoteTimer_ = new Timer(this, QStringLiteral("取行情时钟"), kQuoteIntervalMs);
    autoHideTimer_ = new Timer(this, QStringLiteral("时钟_窗口自动隐藏判断"));
    connect(quoteTimer_, &Timer::timeout, this, &FloatingStrip::buildQuoteStrip);
    connect(autoHideTimer_, &Timer::timeout, this, &FloatingStrip::autoHideTick);

    // Folded, centred at the top of the screen.
    setFixedSize(kWidth, kFoldedHeight);
    if (services_.screen)
        move(autohide::homePosition(size(), services_.screen->workArea()));
    applyFloatingDefaults();
    loadFloatingSettings();
    attachTooltips();
    showDemoMark(model_.demoFeed());
    connect(&model_, &QuoteModel::demoFeedChanged, this, &FloatingStrip::showDemoMark);
}

void FloatingStrip::buildControls() {
    buildPriceLine();
    buildSettingsRows();
    connectControls();
}

void FloatingStrip::buildPriceLine() {
    priceLabel_ = place<QLabel>(this, QStringLiteral("标签_价格显示"), {12, 8, 388, 20},
                                QStringLiteral("请稍后......"));
    priceLabel_->setTextFormat(Qt::PlainText);
    priceLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont formFont(QStringLiteral("黑体"));
    formFont.setPixelSize(14);
    priceLabel_->setFont(formFont);
    // Right after the line, whose text is the prices alone (placeDemoMark).
    demoMark_ = demomark::place(this, QStringLiteral("标签_演示行情"), {0, 9, kDemoMarkWidth, 18},
                                QStringLiteral("演示"));

    exitButton_ =
        place<QPushButton>(this, QStringLiteral("按钮_退出"), {409, -1, 20, 18}, QStringLiteral("退"));
    advancedButton_ = place<QToolButton>(this, QStringLiteral("按钮_高级设置"), {413, 21, 15, 15});
    advancedButton_->setIcon(foldImage(false));
    advancedButton_->setAutoRaise(true);
    fontButton_ = place<QToolButton>(this, QStringLiteral("按钮_字体设置"), {13, 40, 18, 18});
    fontButton_->setIcon(fontImage());
    fontButton_->setAutoRaise(true);
    for (QToolButton* button : {advancedButton_, fontButton_})
        button->setIconSize(button->size() - QSize(2, 2));
}

void FloatingStrip::buildSettingsRows() {
    place<QLabel>(this, QStringLiteral("标签3"), {43, 44, 32, 18}, QStringLiteral("透明"));
    opacitySlider_ = placeSlider(this, QStringLiteral("滑块条_透明度控制"), {78, 43, 72, 18}, 35, 100, 100);
    autoHideBox_ = place<QCheckBox>(this, QStringLiteral("选择框_窗口自动隐藏"), {162, 43, 80, 18},
                                    QStringLiteral("自动隐藏框"));
    onTopBox_ =
        place<QCheckBox>(this, QStringLiteral("选择框_窗口置前"), {251, 43, 50, 18}, QStringLiteral("置前"));
    defaultsButton_ = place<QPushButton>(this, QStringLiteral("按钮_默认设置"), {321, 43, 60, 20},
                                         QStringLiteral("默认设置"));
    saveButton_ =
        place<QPushButton>(this, QStringLiteral("按钮_保存"), {384, 43, 40, 20}, QStringLiteral("保存"));

    icbcBox_ = place<QCheckBox>(this, QStringLiteral("选择框_工行价格"), {57, 75, 70, 15},
                                QStringLiteral("工商银行"));
    ccbBox_ = place<QCheckBox>(this, QStringLiteral("选择框_建行价格"), {177, 75, 70, 15},
                               QStringLiteral("建设银行"));
    bocBox_ = place<QCheckBox>(this, QStringLiteral("选择框_中行价格"), {297, 75, 70, 15},
                               QStringLiteral("中国银行"));

    place<QLabel>(this, QStringLiteral("透明标签2"), {8, 106, 93, 18}, QStringLiteral("您银行的买入价："));
    yourBuyPrice_ = place<QLineEdit>(this, QStringLiteral("编辑框_您的买入价"), {103, 106, 60, 18});
    place<QLabel>(this, QStringLiteral("透明标签3"), {170, 106, 55, 18}, QStringLiteral("人民币/克"));
    gainBox_ = place<QCheckBox>(this, QStringLiteral("选择框_涨跌情况显示"), {240, 108, 147, 15},
                                QStringLiteral("显示相对于您涨跌情况"));
    ledgerCost_ = new LedgerCostBox(this, yourBuyPrice_);

    auto* separator = place<QFrame>(this, QStringLiteral("外形框1"), {0, 136, 433, 1});
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Plain);
    separator->setStyleSheet(QStringLiteral("color: #8eaecf;"));
}

void FloatingStrip::connectControls() {
    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(advancedButton_, &QToolButton::clicked, this, &FloatingStrip::toggleAdvanced);
    connect(fontButton_, &QToolButton::clicked, this, &FloatingStrip::chooseFont);
    connect(opacitySlider_, &QSlider::valueChanged, this, &FloatingStrip::applyTransparency);
    connect(autoHideBox_, &QCheckBox::toggled, this, &FloatingStrip::applyAutoHide);
    connect(onTopBox_, &QCheckBox::toggled, this, &FloatingStrip::applyOnTop);
    connect(defaultsButton_, &QPushButton::clicked, this, &FloatingStrip::applyFloatingDefaults);
    connect(saveButton_, &QPushButton::clicked, this, &FloatingStrip::saveFloatingSettings);
    for (QCheckBox* bank : {icbcBox_, ccbBox_, bocBox_})
        connect(bank, &QCheckBox::clicked, this, [this, bank] { chooseBank(bank); });
    // The one control that needs the keyboard asks for it when clicked.
    yourBuyPrice_->installEventFilter(this);
}

void FloatingStrip::showDemoMark(bool demo) {
    placeDemoMark();
    demoMark_->setVisible(demo);
    // Hovering the line itself tells what the prices are.
    priceLabel_->setToolTip(demo ? demomark::explanation() : QString());
}

void FloatingStrip::placeDemoMark() {
    // Beside the line's last character, and never past the exit button: a
    // line too long for the strip (a large font) loses its tail to the mark.
    const int textEnd = priceLabel_->x() + priceLabel_->fontMetrics().horizontalAdvance(priceLabel_->text());
    const int rightmost = exitButton_->x() - 4 - kDemoMarkWidth;
    demoMark_->move(std::clamp(textEnd + 6, priceLabel_->x(), rightmost), demoMark_->y());
}

void FloatingStrip::buildChartRow() {
    // The captions stand one character per line, as in the narrow buttons of the design.
    openChartButton_ = place<QPushButton>(this, QStringLiteral("按钮_打开桌面行情"), {391, 78, 20, 55},
                                          QStringLiteral("打\n开\n势\n图"));
    closeChartButton_ = place<QPushButton>(this, QStringLiteral("按钮_关闭桌面行情"), {411, 78, 20, 55},
                                           QStringLiteral("关\n闭\n势\n图"));
    // Four lines in 55 pixels: no room for the style's padding, and the
    // largest font whose four lines fit inside the frame.
    for (QPushButton* button : {openChartButton_, closeChartButton_}) {
        button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
        button->setFont(fittingFont(button->font(), 4, button->height() - 4));
    }
    place<QLabel>(this, QStringLiteral("标签2"), {11, 144, 32, 18}, QStringLiteral("透明"));
    chartOpacitySlider_ =
        placeSlider(this, QStringLiteral("滑块条_桌面行情透明度"), {44, 144, 72, 18}, 15, 100, 75);
    place<QLabel>(this, QStringLiteral("标签1"), {162, 144, 31, 18}, QStringLiteral("速度"));
    chartSpeedSlider_ =
        placeSlider(this, QStringLiteral("滑块条_桌面行情刷新速度"), {199, 144, 80, 18}, 15, 30, 15);
    chartOnTopBox_ = place<QCheckBox>(this, QStringLiteral("选择框_桌面行情置前"), {323, 144, 45, 18},
                                      QStringLiteral("置前"));
    chartClickThroughBox_ = place<QCheckBox>(this, QStringLiteral("选择框_桌面行情穿透"), {370, 144, 45, 18},
                                             QStringLiteral("穿透"));
    // The row works on an open chart only; a chart left open by an earlier strip counts.
    enableChartRow(chart_.isOpen());
    connect(&chart_, &DesktopChart::openChanged, this, &FloatingStrip::enableChartRow);
    connect(openChartButton_, &QPushButton::clicked, this, &FloatingStrip::openDesktopChart);
    connect(closeChartButton_, &QPushButton::clicked, this, &FloatingStrip::closeDesktopChart);
    connect(chartOpacitySlider_, &QSlider::valueChanged, &chart_, &DesktopChart::setOpacityPosition);
    connect(chartSpeedSlider_, &QSlider::valueChanged, this, &FloatingStrip::onChartSpeedChanged);
    connect(chartOnTopBox_, &QCheckBox::clicked, &chart_, &DesktopChart::setOnTop);
    // Unticking does not give the clicks back: only a new chart window takes them again.
    connect(chartClickThroughBox_, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked)
            chart_.makeClickThrough();
    });
}

void FloatingStrip::enableChartRow(bool chartOpen) {
    for (QWidget* control : std::initializer_list<QWidget*>{chartOpacitySlider_, chartSpeedSlider_,
                                                            chartOnTopBox_, chartClickThroughBox_})
        control->setEnabled(chartOpen);
}

void FloatingStrip::openDesktopChart() {
    chart_.openDesktopChart(chartOpacitySlider_->value(), chartSpeedSlider_->value());
    chartClickThroughBox_->setToolTip(
        QStringLiteral("设置这个之前，请先把行情窗口放到你觉得最合适的桌面上的位置。\n"
                       "设置后，你可以透过窗口操作，要想取消，只能通过小窗口上的关闭走势后，重启即可！"));
    chartSpeedSlider_->setToolTip(QStringLiteral("调节刷新速度！"));
    chartOnTopBox_->setToolTip(QStringLiteral("设置到窗口最前面！"));
}

void FloatingStrip::closeDesktopChart() {
    chart_.closeDesktopChart();
}

void FloatingStrip::onChartSpeedChanged(int position) {
    if (!chart_.isOpen())
        return;
    chart_.setSpeedPosition(position);
    chartSpeedSlider_->setToolTip(QStringLiteral("自动刷新速度%1秒").arg(position));
}

void FloatingStrip::attachTooltips() {
    const QString bankTip = QStringLiteral("选择后，则显示%1价，全部都不选，则显示国际金价！");
    exitButton_->setToolTip(QStringLiteral("退出小窗口！"));
    fontButton_->setToolTip(QStringLiteral("设置显示行情的字体大小，颜色等！"));
    opacitySlider_->setToolTip(QStringLiteral("设置小窗口透明度！"));
    defaultsButton_->setToolTip(QStringLiteral("恢复系统默认设置！"));
    advancedButton_->setToolTip(QStringLiteral("高级设置！"));
    autoHideBox_->setToolTip(QStringLiteral("选择后小窗口将在鼠标离开时自动隐藏！"));
    onTopBox_->setToolTip(QStringLiteral("选择后小窗口将总是在窗口前面！"));
    icbcBox_->setToolTip(bankTip.arg(QStringLiteral("工行")));
    ccbBox_->setToolTip(bankTip.arg(QStringLiteral("建行")));
    bocBox_->setToolTip(bankTip.arg(QStringLiteral("中行")));
    yourBuyPrice_->setToolTip(QStringLiteral("填写您在银行实际买入的价格！"));
    gainBox_->setToolTip(
        QStringLiteral("选择后，小窗口屏幕将增加显示针对于你在银行买入价格的实时涨跌情况！"));
    chartOpacitySlider_->setToolTip(QStringLiteral("设置桌面行情小窗口透明度！"));
    for (const char* name : {"标签1", "标签2"}) {
        if (auto* label = findChild<QLabel*>(QString::fromUtf8(name)))
            label->setToolTip(QStringLiteral("必须打开桌面走势图后，才能调节！"));
    }
}

void FloatingStrip::present() {
    if (!isVisible())
        show();
    raise();
    // Out of the edge it is docked at, as when the mouse comes to it.
    if (services_.screen)
        placeStrip(autohide::undocked(stripRect(), screens()));
}

void FloatingStrip::buildQuoteStrip() {
    using Shown = QuoteModel::Shown;
    quoteline::Input input;
    input.source = quoteline::chosenSource(icbcBox_->isChecked(), ccbBox_->isChecked(), bocBox_->isChecked());
    std::pair<Shown, Shown> shown{Shown::IntlBuy, Shown::IntlSell};
    switch (input.source) {
    case quoteline::Source::Icbc:
        shown = {Shown::IcbcBuy, Shown::IcbcSell};
        break;
    case quoteline::Source::Ccb:
        shown = {Shown::CcbBuy, Shown::CcbSell};
        break;
    case quoteline::Source::Boc:
        shown = {Shown::BocBuy, Shown::BocSell};
        break;
    case quoteline::Source::International:
        break;
    }
    input.buy = model_.shown(shown.first);
    input.sell = model_.shown(shown.second);
    input.gainShown = gainBox_->isChecked();
    input.yourBuyPrice = yourBuyPrice_->text();
    const QString line = quoteline::priceLine(input);
    if (priceLabel_->text() != line) {
        priceLabel_->setText(line);
        placeDemoMark();
    }
}

void FloatingStrip::autoHideTick() {
    // A strip being dragged goes where the mouse takes it.
    if (dragging_ || !services_.screen)
        return;
    const QRect strip = stripRect();
    if (const auto place = autohide::autoHideStep(strip, services_.screen->cursorPos(), screens()))
        placeStrip({*place, strip.size()});
}

void FloatingStrip::applyFloatingDefaults() {
    QFont font(QStringLiteral("黑体"));
    font.setPointSize(12);
    setPriceFont(font, QColor(255, 0, 0));
    opacitySlider_->setValue(kDefaultOpacityPosition);
    floatingAlpha_ = kDefaultAlpha;
    setWindowAlpha(this, floatingAlpha_);
    onTopBox_->setChecked(true);
    applyOnTop(true);
}

void FloatingStrip::loadFloatingSettings() {
    const settings::Snapshot config = settings::ConfigFile::program().read();
    if (!config.exists())
        return;
    using namespace settings::key;
    // Stored positions only: an open chart keeps what it shows until a slider moves.
    const QSignalBlocker quietOpacity(chartOpacitySlider_);
    const QSignalBlocker quietSpeed(chartSpeedSlider_);
    opacitySlider_->setValue(config.value(stripOpacity));
    chartOpacitySlider_->setValue(config.value(chartOpacity));
    chartSpeedSlider_->setValue(config.value(chartRefreshSeconds));
    applyTransparency();
    // Loading only ever ticks boxes; a ticked box is applied as a click would.
    const std::pair<const settings::Flag*, QCheckBox*> flags[] = {
        {&autoHide, autoHideBox_}, {&stripOnTop, onTopBox_}, {&showIcbc, icbcBox_},
        {&showCcb, ccbBox_},       {&showBoc, bocBox_},
    };
    for (const auto& [key, box] : flags) {
        if (config.value(*key))
            box->setChecked(true);
    }
    if (config.value(showGain)) {
        gainBox_->setChecked(true);
        yourBuyPrice_->setText(config.value(gainBuyPrice));
    }
    if (config.value(chartOnTop))
        chartOnTopBox_->setChecked(true);
    ledgerCost_->load(config);
}

void FloatingStrip::setLedgerCost(std::function<std::optional<double>()> averageCost) {
    ledgerCost_->setCostSource(std::move(averageCost));
}

void FloatingStrip::refreshLedgerCost() {
    ledgerCost_->refresh();
}

void FloatingStrip::saveFloatingSettings() {
    const settings::ConfigFile config = settings::ConfigFile::program();
    if (!config.exists())
        return;
    using namespace settings::key;
    bool written = config.write(stripOpacity, opacitySlider_->value());
    written &= config.write(chartOpacity, chartOpacitySlider_->value());
    written &= config.write(chartRefreshSeconds, chartSpeedSlider_->value());
    written &= config.write(autoHide, autoHideBox_->isChecked());
    written &= config.write(stripOnTop, onTopBox_->isChecked());
    written &= config.write(showIcbc, icbcBox_->isChecked());
    written &= config.write(showCcb, ccbBox_->isChecked());
    written &= config.write(showBoc, bocBox_->isChecked());
    written &= config.write(showGain, gainBox_->isChecked());
    // Off keeps the stored price, so it comes back with the box.
    if (gainBox_->isChecked())
        written &= config.write(gainBuyPrice, yourBuyPrice_->text());
    written &= config.write(chartOnTop, chartOnTopBox_->isChecked());
    written &= ledgerCost_->save(config);
    if (!written) {
        // Everything stays in the controls: the user may try again.
        services_.dialogs->message(this, QStringLiteral("系统配置文件出错"), QStringLiteral("友情提示："),
                                   Dialogs::Icon::Warning);
    }
}

void FloatingStrip::toggleAdvanced() {
    advancedShown_ = !advancedShown_;
    QRect strip = services_.screen ? autohide::undocked(stripRect(), screens()) : stripRect();
    strip.setHeight(advancedShown_ ? kUnfoldedHeight : kFoldedHeight);
    placeStrip(strip);
    advancedButton_->setIcon(foldImage(advancedShown_));
    if (!advancedShown_)
        setAcceptsKeyboard(false);
}

void FloatingStrip::chooseFont() {
    const std::optional<QFont> chosen = services_.dialogs->chooseFont(this, priceLabel_->font());
    if (!chosen)
        return;
    // Qt's font dialog has no colour; the colour follows in a dialog of its own.
    QColor colour = priceLabel_->palette().color(QPalette::WindowText);
    if (const std::optional<QColor> picked =
            services_.dialogs->chooseColor(this, colour, QStringLiteral("设置显示行情的字体颜色")))
        colour = *picked;
    QFont font(chosen->family());
    if (chosen->pointSizeF() > 0)
        font.setPointSizeF(chosen->pointSizeF());
    else
        font.setPixelSize(chosen->pixelSize());
    font.setBold(chosen->bold());
    font.setItalic(chosen->italic());
    font.setUnderline(chosen->underline());
    font.setStrikeOut(chosen->strikeOut());
    setPriceFont(font, colour);
}

void FloatingStrip::applyTransparency() {
    floatingAlpha_ = quoteline::alphaOfPosition(opacitySlider_->value());
    setWindowAlpha(this, floatingAlpha_);
}

void FloatingStrip::applyOnTop(bool onTop) {
    setWindowFlagInPlace(Qt::WindowStaysOnTopHint, onTop);
    if (onTop && isVisible())
        raise();
}

void FloatingStrip::applyAutoHide(bool on) {
    autoHideTimer_->setInterval(on ? kAutoHideIntervalMs : 0);
}

void FloatingStrip::chooseBank(QCheckBox* clicked) {
    for (QCheckBox* bank : {icbcBox_, ccbBox_, bocBox_}) {
        if (bank != clicked)
            bank->setChecked(false);
    }
}

void FloatingStrip::setPriceFont(const QFont& font, const QColor& colour) {
    priceLabel_->setFont(font);
    QPalette palette = priceLabel_->palette();
    palette.setColor(QPalette::WindowText, colour);
    priceLabel_->setPalette(palette);
    placeDemoMark();
}

void FloatingStrip::setWindowFlagInPlace(Qt::WindowType flag, bool on) {
    const Qt::WindowFlags flags = windowFlags().setFlag(flag, on);
    if (flags == windowFlags())
        return;
    if (QWindow* handle = windowHandle()) {
        // setWindowFlags() would recreate the native window and hide it.
        overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void FloatingStrip::setAcceptsKeyboard(bool accepts) {
    setWindowFlagInPlace(Qt::WindowDoesNotAcceptFocus, !accepts);
    if (accepts && isVisible())
        activateWindow();
}

QList<autohide::ScreenArea> FloatingStrip::screens() const {
    return autohide::screenAreas(services_.screen->geometries(), services_.screen->workAreas());
}

void FloatingStrip::moveTo(const QPoint& topLeft) {
    if (pos() != topLeft)
        move(topLeft);
}

QRect FloatingStrip::stripRect() const {
    return docked_.value_or(geometry());
}

bool FloatingStrip::isDocked() const {
    return docked_.has_value();
}

void FloatingStrip::placeStrip(const QRect& strip) {
    const QRect window = services_.screen ? autohide::shownPart(strip, screens()) : strip;
    docked_.reset();
    if (window != strip)
        docked_ = strip;
    // Before the move, so that the window manager leaves the sliver at the edge.
    x11window::setDockType(this, docked_.has_value());
    dockedEdge_->setVisible(docked_.has_value());
    if (geometry() == window)
        return;
    // A fixed size the window manager respects, changed without an
    // intermediate size on screen: first the bounds that allow both sizes.
    setMinimumSize(window.size().boundedTo(size()));
    setMaximumSize(window.size().expandedTo(size()));
    setGeometry(window);
    setFixedSize(window.size());
    dockedEdge_->setGeometry(rect());
}

bool FloatingStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == yourBuyPrice_ && event->type() == QEvent::MouseButtonPress && !isActiveWindow())
        setAcceptsKeyboard(true);
    return QWidget::eventFilter(watched, event);
}

void FloatingStrip::changeEvent(QEvent* event) {
    // Typing done: the strip gives the keyboard back and stops asking for it.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        setAcceptsKeyboard(false);
    QWidget::changeEvent(event);
}

void FloatingStrip::mousePressEvent(QMouseEvent* event) {
    // Frameless: the strip is dragged by its background and its price line.
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - pos();
    }
    QWidget::mousePressEvent(event);
}

void FloatingStrip::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton) && !docked_)
        moveTo(event->globalPosition().toPoint() - dragOffset_);
    QWidget::mouseMoveEvent(event);
}

void FloatingStrip::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}
