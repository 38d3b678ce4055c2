#include "new_simulation_window.h"

#include "platform/dialogs.h"
#include "platform/services.h"
#include "records/open_failure.h"
#include "trading/account_book.h"
#include "ui/fixed_size.h"
#include "ui/place.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

NewSimulationWindow::NewSimulationWindow(Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(services) {
    setObjectName(QStringLiteral("新建模拟炒金"));
    setWindowTitle(QStringLiteral("新建模拟炒金"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Lets the skin paint the window's background.
    setAttribute(Qt::WA_StyledBackground);
    makeFixedSize(this, {380, 180});

    place<QLabel>(this, QStringLiteral("标签2"), {17, 17, 60, 20}, QStringLiteral("炒金银行："));
    bank_ = place<QComboBox>(this, QStringLiteral("组合框_模拟炒金银行"), {87, 17, 100, 20});
    bank_->addItem(QStringLiteral("中国工商银行"), 1);
    bank_->addItem(QStringLiteral("中国建设银行"), 2);
    bank_->addItem(QStringLiteral("中国银行"), 3);
    place<QLabel>(this, QStringLiteral("标签1"), {215, 16, 55, 20}, QStringLiteral("起始资金："));
    capital_ = place<QComboBox>(this, QStringLiteral("组合框_模拟起始资金"), {273, 16, 65, 20});
    const std::pair<const char*, int> capitals[] = {{"5千", 5000},    {"1万", 10000},   {"5万", 50000},
                                                    {"10万", 100000}, {"50万", 500000}, {"80万", 800000}};
    for (const auto& [text, value] : capitals)
        capital_->addItem(QString::fromUtf8(text), value);
    place<QLabel>(this, QStringLiteral("标签3"), {342, 16, 16, 20}, QStringLiteral("元"));
    auto* confirmButton =
        place<QPushButton>(this, QStringLiteral("按钮_确认"), {63, 70, 80, 22}, QStringLiteral("确定创建"));
    auto* cancelButton =
        place<QPushButton>(this, QStringLiteral("按钮_取消"), {223, 70, 80, 22}, QStringLiteral("取消"));
    place<QLabel>(this, QStringLiteral("标签4"), {23, 110, 328, 32},
                  QStringLiteral("注意：\n     创建新的模拟炒金后以前的炒金数据将全部被清空！"));
    // Both lists always have a selection: the first item.
    bank_->setCurrentIndex(0);
    capital_->setCurrentIndex(0);

    connect(confirmButton, &QPushButton::clicked, this, &NewSimulationWindow::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
}

void NewSimulationWindow::confirm() {
    switch (accountbook::startAfresh(bank_->currentData().toInt(), capital_->currentData().toInt())) {
    case accountbook::Status::Done:
        services_.dialogs->message(this, QStringLiteral("新建模拟交易成功，请重新进入！"), QString(),
                                   Dialogs::Icon::Information);
        break;
    case accountbook::Status::TradesKept:
        // The account was reset, but its old trades could not be cleared.
        services_.dialogs->message(this, QStringLiteral("新建模拟交易成功，请重新进入！"), QString(),
                                   Dialogs::Icon::Information);
        showRecordOpenFailure(*services_.dialogs, this);
        break;
    case accountbook::Status::NoAccount:
        // No account to reset: the trades stay as they are.
        services_.dialogs->message(this, QStringLiteral("新建模拟交易失败！"), QString());
        break;
    default:
        // Nothing was reset, so the trades stay too.
        showRecordOpenFailure(*services_.dialogs, this);
        break;
    }
    close();
}
