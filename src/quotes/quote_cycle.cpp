#include "quote_cycle.h"

#include "platform/clock.h"
#include "platform/gbk.h"
#include "platform/random.h"
#include "platform/timer.h"
#include "price_rules.h"
#include "quote_fetcher.h"
#include "trading_hours.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr int kIntlRow = 3;

QString bankName(int row) {
    static const std::array<QString, 3> names = {QStringLiteral("工行"), QStringLiteral("建行"),
                                                 QStringLiteral("中行")};
    return names[static_cast<size_t>(row)];
}

QuoteModel::Shown buyOf(int row) {
    return static_cast<QuoteModel::Shown>(row * 2);
}
QuoteModel::Shown sellOf(int row) {
    return static_cast<QuoteModel::Shown>(row * 2 + 1);
}

} // namespace

QuoteCycle::QuoteCycle(QWidget* mainWindow, QuoteModel& model, QuoteFetcher& fetcher, Random& random,
                       Clock& clock, const quotepanels::BankPanel& banks, const quotepanels::IntlPanel& intl)
    : QObject(mainWindow), model_(model), fetcher_(fetcher), random_(random), clock_(clock), intl_(intl) {
    connectionCheck_ = new Timer(mainWindow, QStringLiteral("时钟_连接服务器检测"), kConnectionCheckMs);
    intlUpdate_ = new Timer(mainWindow, QStringLiteral("时钟_纸黄金价格实时更新"), kIntlUpdateMs);
    indicatorRight_ = new Timer(mainWindow, QStringLiteral("时钟_右移动"), kIndicatorMs);
    indicatorLeft_ = new Timer(mainWindow, QStringLiteral("时钟_左移动"), 0);
    tradingDayCheck_ = new Timer(mainWindow, QStringLiteral("时钟_非交易日检测"), kTradingDayCheckMs);
    connect(connectionCheck_, &Timer::timeout, this, &QuoteCycle::onConnectionCheck);
    connect(intlUpdate_, &Timer::timeout, this, &QuoteCycle::onIntlUpdate);
    connect(indicatorRight_, &Timer::timeout, this, &QuoteCycle::onIndicatorRight);
    connect(indicatorLeft_, &Timer::timeout, this, &QuoteCycle::onIndicatorLeft);
    connect(tradingDayCheck_, &Timer::timeout, this, &QuoteCycle::checkTradingDay);

    for (int i = 0; i < 3; ++i) {
        Bank& bank = banks_[static_cast<size_t>(i)];
        bank.row = banks.rows[static_cast<size_t>(i)];
        bank.update =
            new Timer(bank.row.card, QStringLiteral("时钟_%1价格更新").arg(bankName(i)), kBankUpdateMs);
        connect(bank.update, &Timer::timeout, this, [this, i] { onBankUpdate(i); });
        connect(bank.row.start, &QPushButton::clicked, this, [this, i] { startBank(i); });
        connect(bank.row.stop, &QPushButton::clicked, this, [this, i] { stopBank(i); });
        progress_[static_cast<size_t>(i)] = {
            bank.row.progress, new Timer(bank.row.card, QStringLiteral("时钟_%1进度条动画").arg(bankName(i))),
            kBankProgressMax, 0};
    }
    progress_[kIntlRow] = {intl.progress, new Timer(mainWindow, QStringLiteral("时钟_进度条动画")),
                           kIntlProgressMax, 0};
    for (int i = 0; i < 4; ++i)
        connect(progress_[static_cast<size_t>(i)].timer, &Timer::timeout, this,
                [this, i] { onProgressTick(i); });

    // Every label shows exactly its model text.
    connect(&model_, &QuoteModel::shownChanged, this, &QuoteCycle::showModelText);
}

void QuoteCycle::showModelText(QuoteModel::Shown which, const QString& text) {
    switch (which) {
    case QuoteModel::Shown::IntlBuy:
        intl_.buy->setText(text);
        return;
    case QuoteModel::Shown::IntlSell:
        intl_.sell->setText(text);
        return;
    default:
        break;
    }
    const int index = static_cast<int>(which);
    const quotepanels::BankRow& row = banks_[static_cast<size_t>(index / 2)].row;
    (index % 2 == 0 ? row.buy : row.sell)->setText(text);
}

void QuoteCycle::hideConnectingIndicator() {
    intl_.canvas->hide();
    intl_.connecting->hide();
    indicatorRight_->setInterval(0);
    indicatorLeft_->setInterval(0);
}

void QuoteCycle::onConnectionCheck() {
    if (!model_.basePricesValid()) {
        fetcher_.startQuoteFetch();
        return;
    }
    hideConnectingIndicator();
    // The first prices are shown exactly as fetched.
    model_.setShown(QuoteModel::Shown::IntlBuy, gbk::decode(model_.baseBuy()));
    model_.setShown(QuoteModel::Shown::IntlSell, gbk::decode(model_.baseSell()));
    startProgress(kIntlRow);
    connectionCheck_->setInterval(0);
}

void QuoteCycle::onIntlUpdate() {
    if (!model_.basePricesValid())
        return;
    hideConnectingIndicator();
    startProgress(kIntlRow);
    const int buyStep = random_.between(pricerules::kIntlStepLow, pricerules::kIntlStepHigh);
    model_.setShown(QuoteModel::Shown::IntlBuy, pricerules::intlPriceText(model_.baseBuy(), buyStep));
    const int sellStep = random_.between(pricerules::kIntlStepLow, pricerules::kIntlStepHigh);
    model_.setShown(QuoteModel::Shown::IntlSell, pricerules::intlPriceText(model_.baseSell(), sellStep));
}

void QuoteCycle::onBankUpdate(int row) {
    if (!model_.basePricesValid())
        return;
    startProgress(row);
    const int step = random_.between(pricerules::kBankStepLow, pricerules::kBankStepHigh);
    const pricerules::BankPrices prices = pricerules::bankPrices(model_.baseBuy(), step);
    model_.setShown(buyOf(row), prices.buy);
    model_.setShown(sellOf(row), prices.sell);
}

void QuoteCycle::startProgress(int index) {
    // The bar is not reset: it runs on from where it stands.
    const int interval = random_.between(pricerules::kProgressIntervalLow, pricerules::kProgressIntervalHigh);
    progress_[static_cast<size_t>(index)].timer->setInterval(interval);
}

void QuoteCycle::onProgressTick(int index) {
    Progress& p = progress_[static_cast<size_t>(index)];
    const pricerules::ProgressStep step = pricerules::progressStep(p.position, p.maximum);
    p.position = step.position;
    p.bar->setValue(std::min(step.position, p.maximum));
    if (step.finished)
        p.timer->setInterval(0);
}

void QuoteCycle::onIndicatorRight() {
    const pricerules::IndicatorStep step = pricerules::indicatorRight(intl_.connecting->x());
    if (step.turn) {
        indicatorLeft_->setInterval(kIndicatorMs);
        indicatorRight_->setInterval(0);
        return;
    }
    intl_.connecting->move(step.left, intl_.connecting->y());
}

void QuoteCycle::onIndicatorLeft() {
    const pricerules::IndicatorStep step = pricerules::indicatorLeft(intl_.connecting->x());
    if (step.turn) {
        indicatorRight_->setInterval(kIndicatorMs);
        indicatorLeft_->setInterval(0);
        return;
    }
    intl_.connecting->move(step.left, intl_.connecting->y());
}

void QuoteCycle::startBank(int row) {
    Bank& bank = banks_[static_cast<size_t>(row)];
    bank.update->setInterval(kBankUpdateMs);
    bank.row.status->setText(QStringLiteral("开始实时数据同步"));
}

void QuoteCycle::stopBank(int row) {
    Bank& bank = banks_[static_cast<size_t>(row)];
    bank.update->setInterval(0);
    bank.row.status->setText(QStringLiteral("停止状态..."));
}

void QuoteCycle::checkTradingDay() {
    if (tradinghours::isClosed(clock_.now()))
        enterClosedState();
}

void QuoteCycle::enterClosedState() {
    // Nothing leaves this state: the rows stay frozen until the next start.
    for (int i = 0; i < 3; ++i) {
        Bank& bank = banks_[static_cast<size_t>(i)];
        bank.update->setInterval(0);
        progress_[static_cast<size_t>(i)].timer->setInterval(0);
        bank.row.status->setText(QStringLiteral("非交易时间"));
        bank.row.start->setEnabled(false);
        bank.row.stop->setEnabled(false);
    }
}
