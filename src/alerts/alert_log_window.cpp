#include "alert_log_window.h"

#include "alerts/alert_log.h"
#include "history/history_store.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/freed_memory.h"
#include "platform/services.h"
#include "ui/csv_export.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using history::AlertRecord;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 420;

enum Column { kTime, kBank, kRule, kThreshold, kPrice, kChannel, kColumns };

const char* const kHeaders[kColumns] = {"时间", "银行", "条件", "设定值", "价格", "提醒方式"};
const int kColumnWidths[kColumns] = {150, 60, 90, 80, 80, 100};

} // namespace

// The entries as a table: a view over one list, so that a hundred thousand
// of them cost no widget each.
class AlertLogWindow::Model : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    const QList<AlertRecord>& records() const { return records_; }

    void reset(QList<AlertRecord> records) {
        beginResetModel();
        records_ = std::move(records);
        endResetModel();
    }
    void prepend(const AlertRecord& record) {
        beginInsertRows({}, 0, 0);
        records_.prepend(record);
        endInsertRows();
        // The file keeps no more than this; neither does the list.
        if (records_.size() > HistoryStore::kAlertsKept) {
            const int last = int(records_.size()) - 1;
            beginRemoveRows({}, last, last);
            records_.removeLast();
            endRemoveRows();
        }
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(records_.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumns; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::TextAlignmentRole && index.column() >= kThreshold && index.column() <= kPrice)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const AlertRecord& r = records_[index.row()];
        switch (index.column()) {
        case kTime:
            return AlertLog::timeText(r.ms);
        case kBank:
            return r.bank;
        case kRule:
            return r.rule;
        case kThreshold:
            return r.threshold;
        case kPrice:
            return r.price;
        default:
            return r.channel;
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section >= 0 && section < kColumns)
            return QString::fromUtf8(kHeaders[section]);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QList<AlertRecord> records_;
};

AlertLogWindow::AlertLogWindow(Services& services, AlertLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services), log_(log), model_(new Model(this)) {
    setObjectName(QStringLiteral("提醒记录"));
    setWindowTitle(QStringLiteral("提醒记录"));
    setAttribute(Qt::WA_DeleteOnClose);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("表格_提醒记录"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int c = 0; c < kColumns; ++c)
        table_->setColumnWidth(c, kColumnWidths[c]);

    count_ = new QLabel(QStringLiteral("正在读取……"), this);
    count_->setObjectName(QStringLiteral("标签_记录条数"));
    exportButton_ = new QPushButton(QStringLiteral("导出数据"), this);
    exportButton_->setObjectName(QStringLiteral("按钮_导出数据"));
    clearButton_ = new QPushButton(QStringLiteral("清空记录"), this);
    clearButton_->setObjectName(QStringLiteral("按钮_清空记录"));
    connect(exportButton_, &QPushButton::clicked, this, &AlertLogWindow::exportData);
    connect(clearButton_, &QPushButton::clicked, this, &AlertLogWindow::clearLog);
    // Nothing to export or clear before the log is read.
    exportButton_->setEnabled(false);
    clearButton_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(count_, 1);
    buttons->addWidget(exportButton_);
    buttons->addWidget(clearButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
    resize(kWidth, kHeight);

    connect(&log_, &AlertLog::recorded, this, &AlertLogWindow::onRecorded);
    connect(&log_, &AlertLog::cleared, this, &AlertLogWindow::onCleared);
    log_.read(this,
              [this, serial = readSerial_](const QList<AlertRecord>& records) { onRead(serial, records); });
}

AlertLogWindow::~AlertLogWindow() {
    releaseFreedMemorySoon();
}

const QList<AlertRecord>& AlertLogWindow::entries() const {
    return model_->records();
}

void AlertLogWindow::onRead(quint64 serial, const QList<AlertRecord>& records) {
    if (serial != readSerial_)
        return;
    QList<AlertRecord> listed = records;
    // What came meanwhile is newer than anything read, and it came newest last.
    for (const AlertRecord& record : std::as_const(arrived_))
        listed.prepend(record);
    arrived_.clear();
    model_->reset(std::move(listed));
    loaded_ = true;
    showCount();
    // The read's working memory, on the history's thread, goes back too.
    releaseFreedMemorySoon();
}

void AlertLogWindow::onRecorded(const AlertRecord& record) {
    if (!loaded_) {
        arrived_.append(record);
        return;
    }
    model_->prepend(record);
    showCount();
}

void AlertLogWindow::onCleared() {
    ++readSerial_;
    arrived_.clear();
    model_->reset({});
    loaded_ = true;
    showCount();
}

void AlertLogWindow::showCount() {
    count_->setText(QStringLiteral("共 %1 条提醒记录").arg(model_->records().size()));
    exportButton_->setEnabled(!model_->records().isEmpty());
    clearButton_->setEnabled(!model_->records().isEmpty());
}

void AlertLogWindow::clearLog() {
    if (!services_.dialogs->confirm(this, QStringLiteral("清空全部提醒记录？清空后不能恢复。"),
                                    QStringLiteral("提醒记录")))
        return;
    log_.clear();
}

void AlertLogWindow::exportData() {
    const QString name = QStringLiteral("提醒记录_%1.csv")
                             .arg(services_.clock->now().toString(QStringLiteral("yyyyMMdd_HHmm")));
    exportCsv(*services_.dialogs, this, name, QStringLiteral("提醒记录"),
              [this] { return AlertLog::csvOf(model_->records()); });
}
