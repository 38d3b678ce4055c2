#include "trading_window.h"

#include "core/number_text.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "platform/timer.h"
#include "quotes/quote_model.h"
#include "records/open_failure.h"
#include "records/record_file.h"
#include "ui/place.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>

namespace {

constexpr int kFeedIntervalMs = 1000;

// A number too long for its box shows its beginning, not its end.
void showValue(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

QLineEdit* readOnlyBox(QWidget* parent, const QString& name, const QRect& rect, bool red = false) {
    auto* box = place<QLineEdit>(parent, name, rect);
    box->setReadOnly(true);
    if (red)
        box->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    return box;
}

} // namespace

TradingWindow::TradingWindow(Services& services, const QuoteModel& quotes,
                             const accountbook::Account& opening, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services), quotes_(quotes), bankCode_(opening.bankCode),
      bank_(tradingrules::bankFromCode(opening.bankCode)), feed_(tradingrules::priceFeed(bank_)) {
    setObjectName(QStringLiteral("模拟炒金平台"));
    setWindowTitle(QStringLiteral("模拟炒金平台"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(605, 506);
    // Lets the skin paint the window's background.
    setAttribute(Qt::WA_StyledBackground);

    buildToolbar();
    buildTradeControls();
    buildAccountBoxes();
    buildTradeTable();
    priceFeed_ = new Timer(this, QStringLiteral("时钟_取模拟金价"), kFeedIntervalMs);
    connect(priceFeed_, &Timer::timeout, this, &TradingWindow::feedPrices);

    // Window start: prices once, the account from the property record, the trade list.
    feedPrices();
    showAccount(opening);
    ready_ = fillTradeList();
}

void TradingWindow::buildToolbar() {
    toolbar_ = place<QToolBar>(this, QStringLiteral("工具条_模拟炒金平台"), {0, 0, 636, 28});
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar_->setIconSize({16, 16});
    struct Button {
        const char* caption;
        const char* tooltip;
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {
        {"新建交易", "开始新的模拟炒金", QStyle::SP_FileIcon},
        {"删除交易", "删除当前交易记录", QStyle::SP_TrashIcon},
        {"退出炒金平台", "退出炒金平台", QStyle::SP_DialogCloseButton},
    };
    QList<QAction*> actions;
    for (const Button& b : buttons) {
        QAction* action = toolbar_->addAction(style()->standardIcon(b.icon), QString::fromUtf8(b.caption));
        action->setObjectName(QStringLiteral("工具条按钮_") + QString::fromUtf8(b.caption));
        action->setToolTip(QString::fromUtf8(b.tooltip));
        actions << action;
    }
    connect(actions[0], &QAction::triggered, this, &TradingWindow::startNewSimulation);
    connect(actions[1], &QAction::triggered, this, &TradingWindow::clearTrades);
    connect(actions[2], &QAction::triggered, this, &QWidget::close);
}

void TradingWindow::buildTradeControls() {
    place<QLabel>(this, QStringLiteral("银行买入显示标签"), {69, 43, 100, 20}, feed_.buyCaption);
    buyPrice_ = readOnlyBox(this, QStringLiteral("编辑框_模拟买入价"), {170, 43, 50, 20}, true);
    place<QLabel>(this, QStringLiteral("标签8"), {223, 43, 64, 20}, QStringLiteral("人民币/克"));
    place<QLabel>(this, QStringLiteral("银行卖出显示标签"), {307, 43, 100, 20}, feed_.sellCaption);
    sellPrice_ = readOnlyBox(this, QStringLiteral("编辑框_模拟卖出价"), {409, 43, 50, 20}, true);
    place<QLabel>(this, QStringLiteral("标签9"), {462, 43, 54, 20}, QStringLiteral("人民币/克"));

    place<QLabel>(this, QStringLiteral("标签13"), {30, 100, 55, 20}, QStringLiteral("买入数量："));
    buyQuantity_ = place<QLineEdit>(this, QStringLiteral("编辑框_模拟买入数量"), {88, 100, 45, 20});
    place<QLabel>(this, QStringLiteral("标签14"), {138, 100, 20, 20}, QStringLiteral("克"));
    auto* buyButton = place<QPushButton>(this, QStringLiteral("按钮_模拟买入"), {194, 100, 80, 22},
                                         QStringLiteral("确定买入"));
    place<QLabel>(this, QStringLiteral("标签11"), {334, 100, 55, 20}, QStringLiteral("卖出数量："));
    sellQuantity_ = place<QLineEdit>(this, QStringLiteral("编辑框_模拟卖出数量"), {392, 100, 45, 20});
    place<QLabel>(this, QStringLiteral("标签15"), {441, 100, 20, 20}, QStringLiteral("克"));
    auto* sellButton = place<QPushButton>(this, QStringLiteral("按钮_模拟卖出"), {470, 100, 80, 22},
                                          QStringLiteral("确定卖出"));

    place<QLabel>(this, QStringLiteral("标签12"), {53, 132, 34, 20}, QStringLiteral("花费："));
    buyCost_ = readOnlyBox(this, QStringLiteral("编辑框_模拟买入花费"), {88, 132, 80, 20});
    place<QLabel>(this, QStringLiteral("标签16"), {174, 132, 15, 20}, QStringLiteral("元"));
    place<QLabel>(this, QStringLiteral("标签17"), {358, 132, 34, 20}, QStringLiteral("获得："));
    sellProceeds_ = readOnlyBox(this, QStringLiteral("编辑框_模拟卖出金额"), {392, 132, 80, 20});
    place<QLabel>(this, QStringLiteral("标签18"), {477, 132, 15, 20}, QStringLiteral("元"));
    connect(buyQuantity_, &QLineEdit::textChanged, this, &TradingWindow::updateBuyCost);
    connect(sellQuantity_, &QLineEdit::textChanged, this, &TradingWindow::updateSellProceeds);
    connect(buyButton, &QPushButton::clicked, this, &TradingWindow::buy);
    connect(sellButton, &QPushButton::clicked, this, &TradingWindow::sell);
}

void TradingWindow::buildAccountBoxes() {
    place<QLabel>(this, QStringLiteral("标签2"), {204, 173, 57, 20}, QStringLiteral("当前拥有："));
    held_ = readOnlyBox(this, QStringLiteral("编辑框_模拟当前持有量"), {262, 173, 60, 20});
    place<QLabel>(this, QStringLiteral("标签6"), {330, 173, 15, 20}, QStringLiteral("克"));
    place<QLabel>(this, QStringLiteral("标签1"), {33, 225, 60, 20}, QStringLiteral("启始资产："));
    capital_ = readOnlyBox(this, QStringLiteral("编辑框_模拟启始资产"), {95, 225, 70, 20});
    place<QLabel>(this, QStringLiteral("标签10"), {171, 225, 15, 20}, QStringLiteral("元"));
    place<QLabel>(this, QStringLiteral("标签21"), {225, 225, 56, 20}, QStringLiteral("现有资产："));
    cash_ = readOnlyBox(this, QStringLiteral("编辑框_模拟现有资产"), {282, 225, 80, 20});
    place<QLabel>(this, QStringLiteral("标签22"), {365, 225, 15, 20}, QStringLiteral("元"));
    place<QLabel>(this, QStringLiteral("标签3"), {425, 225, 35, 20}, QStringLiteral("盈亏："));
    profit_ = readOnlyBox(this, QStringLiteral("编辑框_盈亏"), {464, 225, 60, 20});
    profit_->setStyleSheet(QStringLiteral("background: rgb(212, 208, 200);"));
    profit_->setText(QStringLiteral("0"));
    place<QLabel>(this, QStringLiteral("标签7"), {531, 225, 15, 20}, QStringLiteral("元"));
}

void TradingWindow::buildTradeTable() {
    trades_ = place<QTableWidget>(this, QStringLiteral("高级表格_交易记录显示"), {4, 258, 590, 221});
    trades_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trades_->setSelectionBehavior(QAbstractItemView::SelectRows);
    trades_->verticalHeader()->hide();
    const QStringList headers = {QStringLiteral("序号"),         QStringLiteral("操作日期"),
                                 QStringLiteral("操作类型"),     QStringLiteral("交易价格(人民币/克)"),
                                 QStringLiteral("交易克数(克)"), QStringLiteral("交易金额(元)")};
    const int widths[] = {35, 170, 60, 120, 80, 100};
    trades_->setColumnCount(static_cast<int>(headers.size()));
    trades_->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < headers.size(); ++c)
        trades_->setColumnWidth(c, widths[c]);
}

void TradingWindow::showAccount(const accountbook::Account& account) {
    showValue(capital_, numtext::valueText(account.capital));
    showValue(cash_, numtext::valueText(account.cash));
    showValue(held_, QString::number(account.held));
}

void TradingWindow::feedPrices() {
    showValue(buyPrice_, quotes_.shown(feed_.buyBox));
    showValue(sellPrice_, quotes_.shown(feed_.sellBox));
}

void TradingWindow::updateBuyCost() {
    showValue(buyCost_, numtext::valueText(tradingrules::amountOf(buyPrice_->text(), buyQuantity_->text())));
}

void TradingWindow::updateSellProceeds() {
    showValue(sellProceeds_,
              numtext::valueText(tradingrules::amountOf(sellPrice_->text(), sellQuantity_->text())));
}

tradingrules::Account TradingWindow::account() const {
    return {numtext::wholeNumber(held_->text()), numtext::leadingNumber(cash_->text()),
            numtext::wholeNumber(capital_->text())};
}

bool TradingWindow::showAccountOnFile() {
    const accountbook::Reading reading = accountbook::readAccount();
    if (reading.status != accountbook::Status::Done) {
        failAndClose();
        return false;
    }
    if (tradingrules::bankFromCode(reading.account.bankCode) != bank_) {
        accountStartedAfresh();
        return false;
    }
    showAccount(reading.account);
    return true;
}

void TradingWindow::buy() {
    // The checks judge the account as the file holds it now: another window
    // or program may have traded or started afresh since this one showed it.
    if (!showAccountOnFile())
        return;
    // The cost is taken at the price shown now, so price × grams is what moves.
    updateBuyCost();
    complete(tradingrules::buy(account(), buyPrice_->text(), buyQuantity_->text()), buyQuantity_);
}

void TradingWindow::sell() {
    if (!showAccountOnFile())
        return;
    updateSellProceeds();
    const tradingrules::Outcome outcome =
        tradingrules::sell(account(), sellPrice_->text(), sellQuantity_->text());
    // Only a sell compares the cash with the starting capital.
    if (const std::optional<double> profit = complete(outcome, sellQuantity_))
        showValue(profit_, numtext::valueText(*profit));
}

std::optional<double> TradingWindow::complete(const tradingrules::Outcome& outcome, QLineEdit* quantity) {
    if (outcome.refusal != tradingrules::Refusal::None) {
        services_.dialogs->message(this, tradingrules::refusalText(outcome.refusal), QString());
        if (outcome.refusal == tradingrules::Refusal::BadQuantity)
            quantity->clear();
        return std::nullopt;
    }
    const accountbook::TradeResult result =
        accountbook::recordTrade(bankCode_, outcome.trade, services_.clock->now());
    switch (result.status) {
    case accountbook::Status::Done:
        showAccount(result.account);
        fillTradeList();
        quantity->clear();
        return result.profit;
    case accountbook::Status::Refused:
        // The file changed between the look and the trade: show it, then say why.
        showAccount(result.account);
        fillTradeList();
        services_.dialogs->message(this, tradingrules::refusalText(result.refusal), QString());
        return std::nullopt;
    case accountbook::Status::BankChanged:
        accountStartedAfresh();
        return std::nullopt;
    default:
        failAndClose();
        return std::nullopt;
    }
}

void TradingWindow::accountStartedAfresh() {
    // This window's prices are another bank's now: it makes way for a fresh one.
    services_.dialogs->message(this, QStringLiteral("模拟账户已重新创建，请重新进入模拟炒金！"), QString());
    close();
}

void TradingWindow::failAndClose() {
    showRecordOpenFailure(*services_.dialogs, this);
    close();
}

bool TradingWindow::fillTradeList() {
    const std::optional<QList<accountbook::TradeRow>> rows = accountbook::readTrades();
    if (!rows) {
        failAndClose();
        return false;
    }
    const auto n = static_cast<int>(rows->size());
    trades_->setRowCount(n);
    // Newest first; the numbers count down from the newest.
    for (int i = n; i >= 1; --i) {
        const accountbook::TradeRow& r = (*rows)[i - 1];
        const int row = n - i;
        const QString cells[] = {
            QString::number(i),          RecordFile::dateTimeText(r.time), r.type,
            numtext::valueText(r.price), QString::number(r.grams),         numtext::valueText(r.amount)};
        for (int c = 0; c < 6; ++c)
            trades_->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
    return true;
}

void TradingWindow::clearTrades() {
    if (!services_.dialogs->confirm(this, QStringLiteral("确认后将清空所有交易记录！"), QString(),
                                    Dialogs::Icon::Warning))
        return;
    if (accountbook::clearTrades() != accountbook::Status::Done) {
        failAndClose();
        return;
    }
    fillTradeList();
}

void TradingWindow::startNewSimulation() {
    emit newSimulationRequested();
    close();
}

void TradingWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The list keeps its corner and takes the window's size; the window clips it.
    trades_->resize(width(), height());
}
