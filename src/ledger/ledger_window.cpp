#include "ledger_window.h"

#include "core/app_dir.h"
#include "core/number_text.h"
#include "ledger_book.h"
#include "ledger_entry_window.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "records/open_failure.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "ui/place.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>

namespace {

const QColor kSellShade(234, 234, 234);

QString ledgerPath() {
    return appPath(recordpasswords::kLedgerFile);
}

} // namespace

LedgerWindow::LedgerWindow(Services& services, QWidget* parent)
    : QMainWindow(parent, Qt::Window), services_(services) {
    setObjectName(QStringLiteral("交易管理平台"));
    setWindowTitle(QStringLiteral("交易管理平台"));
    setAttribute(Qt::WA_DeleteOnClose);

    buildMenu();
    client_ = new QWidget(this);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    buildEntryTable();
    buildStatistics();

    // The design's 918 × 535 is the client area below the menu bar.
    resize(918, 535 + menuBar()->sizeHint().height());
    ready_ = refresh();
}

void LedgerWindow::buildMenu() {
    operations_ = menuBar()->addMenu(QStringLiteral("操作"));
    operations_->setObjectName(QStringLiteral("菜单_操作"));
    const auto addItem = [this](const QString& caption, void (LedgerWindow::*slot)()) {
        QAction* action = operations_->addAction(caption);
        action->setObjectName(QStringLiteral("菜单项_") + caption);
        connect(action, &QAction::triggered, this, slot);
    };
    addItem(QStringLiteral("新增交易"), &LedgerWindow::addEntry);
    addItem(QStringLiteral("修改交易"), &LedgerWindow::modifyEntry);
    operations_->addSeparator();
    addItem(QStringLiteral("删除交易"), &LedgerWindow::deleteEntry);
    addItem(QStringLiteral("全部删除"), &LedgerWindow::deleteAll);
}

void LedgerWindow::buildEntryTable() {
    entries_ = place<QTableWidget>(client_, QStringLiteral("高级表格_交易记录显示"), {2, 8, 654, 450});
    entries_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    entries_->setSelectionBehavior(QAbstractItemView::SelectRows);
    entries_->setSelectionMode(QAbstractItemView::SingleSelection);
    entries_->verticalHeader()->hide();
    const QStringList headers = {QStringLiteral("序号"),
                                 QStringLiteral("操作日期"),
                                 QStringLiteral("操作类型"),
                                 QStringLiteral("交易克数(克)"),
                                 QStringLiteral("交易价格(人民币/克)"),
                                 QStringLiteral("交易金额(元)"),
                                 QStringLiteral("拥有黄金(克)")};
    const int widths[] = {35, 170, 60, 80, 120, 80, 80};
    entries_->setColumnCount(static_cast<int>(headers.size()));
    entries_->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < headers.size(); ++c)
        entries_->setColumnWidth(c, widths[c]);
    // The right mouse button brings the same menu as the menu bar.
    entries_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(entries_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { operations_->popup(entries_->viewport()->mapToGlobal(at)); });
}

void LedgerWindow::buildStatistics() {
    statistics_ = place<QGroupBox>(client_, QStringLiteral("分组框_交易统计"), {657, 8, 254, 464},
                                   QStringLiteral("交易统计"));
    struct Row {
        const char* captionName;
        const char* caption;
        const char* valueName;
        const char* unitName;
        const char* unit;
        int top;
    };
    const Row rows[] = {
        {"标签1", "交易次数：", "标签_交易次数", "标签8", "笔", 41},
        {"标签2", "买入交易：", "标签_买入次数", "标签9", "笔", 83},
        {"标签3", "卖出交易：", "标签_卖出次数", "标签10", "笔", 125},
        {"标签4", "买入总花费：", "标签_买入总花费", "标签11", "元", 167},
        {"标签5", "卖出获得金额：", "标签_卖出总获得", "标签12", "元", 209},
        {"标签6", "目前拥有黄金：", "标签_目前拥有黄金", "标签13", "克", 251},
        {"标签7", "目前亏赢：", "标签_当前亏赢", "标签14", "元", 383},
    };
    QList<QLabel*> values;
    for (const Row& row : rows) {
        place<QLabel>(statistics_, QString::fromUtf8(row.captionName), {24, row.top, 78, 24},
                      QString::fromUtf8(row.caption));
        values << place<QLabel>(statistics_, QString::fromUtf8(row.valueName), {112, row.top, 80, 24});
        place<QLabel>(statistics_, QString::fromUtf8(row.unitName), {201, row.top, 30, 24},
                      QString::fromUtf8(row.unit));
    }
    tradeCount_ = values[0];
    buyCount_ = values[1];
    sellCount_ = values[2];
    buyTotal_ = values[3];
    sellTotal_ = values[4];
    goldHeld_ = values[5];
    result_ = values[6];
    place<QLabel>(statistics_, QStringLiteral("标签15"), {22, 304, 208, 24},
                  QStringLiteral("填入当前买入价得出历史炒金亏盈："));
    place<QLabel>(statistics_, QStringLiteral("标签16"), {20, 343, 78, 24}, QStringLiteral("当前买入价："));
    valuationPrice_ = place<QLineEdit>(statistics_, QStringLiteral("编辑框_当前买入价"), {116, 343, 50, 20});
    place<QLabel>(statistics_, QStringLiteral("标签17"), {196, 343, 30, 24}, QStringLiteral("元/克"));
    connect(valuationPrice_, &QLineEdit::textChanged, this, &LedgerWindow::valueHoldings);
}

bool LedgerWindow::refresh() {
    // One pass over the file feeds both the list and the statistics.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<QList<ledger::Entry>> entries = ledger::readLedger(ledgerPath());
    if (entries) {
        shown_ = *entries;
        fillList(*entries);
        showStatistics(ledger::statsOf(*entries));
    }
    QApplication::restoreOverrideCursor();
    if (!entries) {
        failAndClose();
        return false;
    }
    emit refreshed();
    return true;
}

void LedgerWindow::failAndClose() {
    showRecordOpenFailure(*services_.dialogs, this);
    close();
}

void LedgerWindow::fillList(const QList<ledger::Entry>& entries) {
    const auto count = static_cast<int>(entries.size());
    entries_->setUpdatesEnabled(false);
    entries_->clearSelection();
    entries_->setRowCount(count);
    for (int k = 0; k < count; ++k) {
        const ledger::Entry& e = entries[k];
        const QString cells[] = {
            QString::number(k + 1),   RecordFile::dateTimeText(e.time), e.type,
            QString::number(e.grams), numtext::valueText(e.price),      numtext::valueText(e.amount),
            QString::number(e.held)};
        // A sell is shaded across the whole row.
        const bool shaded = e.type == ledger::kSell;
        for (int c = 0; c < 7; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (shaded)
                item->setBackground(kSellShade);
            entries_->setItem(k, c, item);
        }
    }
    entries_->setCurrentCell(-1, -1);
    entries_->setUpdatesEnabled(true);
}

void LedgerWindow::showStatistics(const ledger::LedgerStats& stats) {
    tradeCount_->setText(QString::number(stats.tradeCount));
    buyCount_->setText(QString::number(stats.buyCount));
    sellCount_->setText(QString::number(stats.sellCount));
    buyTotal_->setText(numtext::valueText(stats.buyTotal));
    sellTotal_->setText(numtext::valueText(stats.sellTotal));
    goldHeld_->setText(QString::number(stats.goldHeld));
    result_->setText(numtext::valueText(stats.cashResult));
    lastStats_ = stats;
    colourResult();
}

void LedgerWindow::valueHoldings() {
    result_->setText(
        numtext::valueText(ledger::valueAt(lastStats_, numtext::leadingNumber(valuationPrice_->text()))));
    colourResult();
}

void LedgerWindow::colourResult() {
    const double v = numtext::leadingNumber(result_->text());
    QColor colour(255, 0, 0);
    if (std::abs(v) <= numtext::kTolerance)
        colour = QColor(255, 255, 0);
    else if (v < -numtext::kTolerance)
        colour = QColor(0, 136, 255);
    result_->setStyleSheet(QStringLiteral("color: %1;").arg(colour.name()));
}

std::optional<ledger::Entry> LedgerWindow::shownEntry(int record) const {
    if (record < 1 || record > shown_.size())
        return std::nullopt;
    return shown_[record - 1];
}

int LedgerWindow::selectedRecord() const {
    const QList<QTableWidgetSelectionRange> ranges = entries_->selectedRanges();
    return ranges.isEmpty() ? 0 : ranges.first().topRow() + 1;
}

void LedgerWindow::addEntry() {
    LedgerEntryWindow window(
        services_, LedgerEntryWindow::Mode::Add, 0, [this] { refresh(); }, this);
    window.exec();
}

void LedgerWindow::modifyEntry() {
    const int record = selectedRecord();
    if (record == 0) {
        services_.dialogs->message(this, QStringLiteral("请用鼠标先选择要修改的交易记录！"), QString());
        return;
    }
    LedgerEntryWindow window(
        services_, LedgerEntryWindow::Mode::Modify, record, [this] { refresh(); }, this, shownEntry(record));
    if (window.ready())
        window.exec();
}

void LedgerWindow::deleteEntry() {
    const int record = selectedRecord();
    if (record == 0) {
        services_.dialogs->message(this, QStringLiteral("请用鼠标先选择要修改的交易记录！"), QString());
        return;
    }
    if (!services_.dialogs->confirm(this, QStringLiteral("你确定要删除该条交易记录吗？"), QString(),
                                    Dialogs::Icon::Warning))
        return;
    switch (ledger::deleteLedgerEntry(ledgerPath(), record, shownEntry(record))) {
    case ledger::Result::Failed:
        showRecordOpenFailure(*services_.dialogs, this);
        return;
    case ledger::Result::NoSuchEntry:
        services_.dialogs->message(this, ledger::kNoSuchEntryText, QString());
        break;
    default:
        break;
    }
    refresh();
}

void LedgerWindow::deleteAll() {
    if (!services_.dialogs->confirm(this, QStringLiteral("你确定要清空所有交易数据吗？"), QString(),
                                    Dialogs::Icon::Warning))
        return;
    if (ledger::clearLedger(ledgerPath()) == ledger::Result::Failed) {
        showRecordOpenFailure(*services_.dialogs, this);
        return;
    }
    refresh();
}

bool LedgerWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize)
        layoutClient();
    return QMainWindow::eventFilter(watched, event);
}

void LedgerWindow::layoutClient() {
    // The statistics keep to the right edge; the list takes the rest and reaches near the bottom.
    const int w = client_->width();
    const int h = client_->height();
    const int g = statistics_->width();
    statistics_->move(w - g - 2, statistics_->y());
    entries_->resize(w - g - 5, h - 10);
}
