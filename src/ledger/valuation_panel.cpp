#include "valuation_panel.h"

#include "core/app_dir.h"
#include "core/number_text.h"
#include "ledger_window.h"
#include "settings/config_file.h"
#include "settings/settings_keys.h"
#include "ui/place.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace {

const QStringList kBanks = {QStringLiteral("工行"), QStringLiteral("建行"), QStringLiteral("中行")};

QString money(double yuan) {
    return QString::number(yuan, 'f', 2);
}

} // namespace

ValuationPanel::ValuationPanel(LedgerWindow* window, std::function<QString(int bank)> buyPrice)
    : QObject(window), window_(window), buyPrice_(std::move(buyPrice)) {
    // Three rows in the room the statistics leave at the foot of their group.
    auto* group = window->findChild<QGroupBox*>(QStringLiteral("分组框_交易统计"));
    place<QLabel>(group, QStringLiteral("标签_估值银行"), {12, 408, 52, 17}, QStringLiteral("估值银行"));
    bank_ = place<QComboBox>(group, QStringLiteral("组合框_估值银行"), {66, 408, 58, 17});
    bank_->addItems(kBanks);
    place<QLabel>(group, QStringLiteral("标签_估值买入价说明"), {132, 408, 40, 17}, QStringLiteral("买入价"));
    price_ = place<QLabel>(group, QStringLiteral("标签_估值买入价"), {174, 408, 72, 17});
    place<QLabel>(group, QStringLiteral("标签_持仓均价说明"), {12, 425, 52, 17}, QStringLiteral("持仓均价"));
    average_ = place<QLabel>(group, QStringLiteral("标签_持仓均价"), {66, 425, 62, 17});
    place<QLabel>(group, QStringLiteral("标签_持仓市值说明"), {132, 425, 40, 17}, QStringLiteral("市值"));
    value_ = place<QLabel>(group, QStringLiteral("标签_持仓市值"), {174, 425, 72, 17});
    place<QLabel>(group, QStringLiteral("标签_浮动盈亏说明"), {12, 442, 52, 17}, QStringLiteral("浮动盈亏"));
    floating_ = place<QLabel>(group, QStringLiteral("标签_浮动盈亏"), {66, 442, 160, 17});

    // A missing or unknown key values the gold at ICBC's price.
    const settings::ConfigFile config = settings::ConfigFile::program();
    bank_->setCurrentIndex(std::max(0, int(kBanks.indexOf(config.value(settings::key::valuationBank)))));
    connect(bank_, &QComboBox::currentIndexChanged, this, [this, config](int index) {
        if (config.exists())
            config.write(settings::key::valuationBank, kBanks.value(index));
        update();
    });
    // The holding is worked out once per reading of the ledger, not at every price.
    const auto readHolding = [this] {
        holding_ = ledger::holdingOf(window_->entries());
        update();
    };
    connect(window, &LedgerWindow::refreshed, this, readHolding);
    readHolding();
}

int ValuationPanel::bank() const {
    return bank_->currentIndex();
}

void ValuationPanel::update() {
    average_->setText(money(holding_.averageCost()));
    const QString priceText = buyPrice_(bank());
    price_->setText(priceText.isEmpty() ? QStringLiteral("--") : priceText);
    if (priceText.isEmpty()) {
        value_->setText(QStringLiteral("--"));
        floating_->setText(QStringLiteral("--"));
        floating_->setStyleSheet(QString());
        return;
    }
    const ledger::Valuation v = ledger::valueHolding(holding_, numtext::leadingNumber(priceText));
    value_->setText(money(v.value));
    floating_->setText((v.floating > numtext::kTolerance ? QStringLiteral("+") : QString()) +
                       money(v.floating) + QStringLiteral(" 元"));
    // Red for a gain and green for a loss, as Chinese traders read them.
    QString colour = QStringLiteral("#000000");
    if (v.floating > numtext::kTolerance)
        colour = QStringLiteral("#e00000");
    else if (v.floating < -numtext::kTolerance)
        colour = QStringLiteral("#008a3e");
    floating_->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(colour));
}
