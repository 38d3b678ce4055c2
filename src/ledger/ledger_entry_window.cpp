#include "ledger_entry_window.h"

#include "core/app_dir.h"
#include "core/number_text.h"
#include "ledger_book.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/services.h"
#include "records/open_failure.h"
#include "records/passwords.h"
#include "records/record_file.h"
#include "ui/fixed_size.h"
#include "ui/place.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The design places the same row a few pixels apart in the two windows.
struct Layout {
    QRect timeLabel, time, typeLabel, type, gramsLabel, grams, priceLabel, price, amountLabel, amount,
        confirm, cancel;
};

const Layout kAddLayout = {{12, 9, 48, 20},  {67, 9, 175, 20}, {257, 9, 50, 20},   {308, 9, 50, 20},
                           {388, 9, 50, 20}, {440, 9, 45, 20}, {518, 9, 50, 20},   {569, 9, 60, 20},
                           {651, 9, 50, 20}, {705, 9, 65, 20}, {257, 56, 120, 24}, {435, 56, 120, 24}};
const Layout kModifyLayout = {{16, 9, 48, 20},  {71, 9, 175, 20}, {267, 9, 50, 20},   {318, 9, 50, 20},
                              {399, 9, 50, 20}, {451, 9, 45, 20}, {521, 9, 50, 20},   {572, 9, 60, 20},
                              {655, 9, 50, 20}, {709, 9, 65, 20}, {248, 56, 120, 24}, {426, 56, 120, 24}};

} // namespace

LedgerEntryWindow::LedgerEntryWindow(Services& services, Mode mode, int record, std::function<void()> changed,
                                     QWidget* parent, std::optional<ledger::Entry> shown)
    : QDialog(parent), services_(services), mode_(mode), record_(record), changed_(std::move(changed)),
      shown_(std::move(shown)) {
    const bool adding = mode == Mode::Add;
    const Layout& l = adding ? kAddLayout : kModifyLayout;
    setObjectName(adding ? QStringLiteral("添加交易记录") : QStringLiteral("修改交易记录"));
    setWindowTitle(objectName());
    setModal(true);
    makeFixedSize(this, {790, adding ? 130 : 123});

    place<QLabel>(this, QStringLiteral("标签1"), l.timeLabel, QStringLiteral("交易时间"));
    time_ = place<QLineEdit>(this, QStringLiteral("编辑框_操作时间"), l.time);
    place<QLabel>(this, QStringLiteral("标签2"), l.typeLabel, QStringLiteral("交易类型"));
    type_ = place<QComboBox>(
        this, adding ? QStringLiteral("组合框_交易类型") : QStringLiteral("组合框_交易类别"), l.type);
    type_->addItems({ledger::kBuy, ledger::kSell});
    type_->setCurrentIndex(0);
    place<QLabel>(this, QStringLiteral("标签6"), l.gramsLabel, QStringLiteral("交易克数"));
    grams_ = place<QLineEdit>(this, QStringLiteral("编辑框_交易克数"), l.grams);
    place<QLabel>(this, QStringLiteral("标签4"), l.priceLabel, QStringLiteral("交易价格"));
    price_ = place<QLineEdit>(this, QStringLiteral("编辑框_交易价格"), l.price);
    place<QLabel>(this, QStringLiteral("标签7"), l.amountLabel, QStringLiteral("交易金额"));
    amount_ = place<QLineEdit>(this, QStringLiteral("编辑框_交易金额"), l.amount);
    amount_->setReadOnly(true);
    auto* confirmButton =
        place<QPushButton>(this, adding ? QStringLiteral("按钮_确定") : QStringLiteral("按钮_确认"),
                           l.confirm, QStringLiteral("确定"));
    auto* cancelButton =
        place<QPushButton>(this, QStringLiteral("按钮_取消"), l.cancel, QStringLiteral("取消"));
    confirmButton->setDefault(true);

    connect(grams_, &QLineEdit::textChanged, this, &LedgerEntryWindow::updateAmount);
    connect(price_, &QLineEdit::textChanged, this, &LedgerEntryWindow::updateAmount);
    connect(confirmButton, &QPushButton::clicked, this, &LedgerEntryWindow::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    if (adding)
        time_->setText(RecordFile::dateTimeText(services_.clock->now()));
    else
        ready_ = loadRecord();
}

bool LedgerEntryWindow::loadRecord() {
    ledger::EntryReading reading = ledger::readLedgerEntry(appPath(recordpasswords::kLedgerFile), record_);
    // Another program may have changed the file since the list was filled.
    if (reading.result == ledger::Result::Done && shown_ && !ledger::sameEntry(reading.entry, *shown_))
        reading.result = ledger::Result::NoSuchEntry;
    switch (reading.result) {
    case ledger::Result::Done:
        break;
    case ledger::Result::NoSuchEntry:
        services_.dialogs->message(this, ledger::kNoSuchEntryText, QString());
        if (changed_)
            changed_();
        return false;
    default:
        showRecordOpenFailure(*services_.dialogs, this);
        return false;
    }
    const ledger::Entry& e = reading.entry;
    shown_ = e;
    time_->setText(RecordFile::dateTimeText(e.time));
    type_->setCurrentIndex(e.type == ledger::kBuy ? 0 : 1);
    price_->setText(numtext::valueText(e.price));
    grams_->setText(QString::number(e.grams));
    // The amount is computed afresh from the boxes, not taken from the file.
    updateAmount();
    return true;
}

void LedgerEntryWindow::updateAmount() {
    amount_->setText(numtext::valueText(ledger::amountFor(price_->text(), grams_->text())));
    // A long amount shows its beginning in the narrow box.
    amount_->setCursorPosition(0);
}

void LedgerEntryWindow::failAndClose() {
    showRecordOpenFailure(*services_.dialogs, this);
    reject();
}

void LedgerEntryWindow::confirm() {
    const QDateTime time = RecordFile::dateTimeOfText(time_->text().trimmed());
    if (!time.isValid()) {
        services_.dialogs->message(this,
                                   QStringLiteral("交易时间格式不正确，例如：%1")
                                       .arg(RecordFile::dateTimeText(services_.clock->now())),
                                   QString());
        return;
    }
    const QString path = appPath(recordpasswords::kLedgerFile);
    const double price = numtext::leadingNumber(price_->text());
    const double amount = numtext::leadingNumber(amount_->text());
    ledger::Result result;
    if (mode_ == Mode::Add) {
        result = ledger::addLedgerEntry(path, time, type_->currentText(), grams_->text(), price, amount);
    } else {
        result = ledger::modifyLedgerEntry(path, record_, time, type_->currentText(),
                                           numtext::leadingNumber(grams_->text()), price, amount, shown_);
    }
    switch (result) {
    case ledger::Result::NotEnoughGold:
        services_.dialogs->message(this, QStringLiteral("黄金不足！"), QString());
        return; // stays open for correction
    case ledger::Result::Failed:
        failAndClose();
        return;
    case ledger::Result::NoSuchEntry:
        services_.dialogs->message(this, ledger::kNoSuchEntryText, QString());
        if (changed_)
            changed_();
        reject();
        return;
    case ledger::Result::Done:
        break;
    }
    if (changed_)
        changed_();
    accept();
}
