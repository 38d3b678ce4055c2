#include "ledger_cost_box.h"

#include "settings/config_file.h"
#include "settings/settings_keys.h"
#include "ui/place.h"

#include <QCheckBox>
#include <QLineEdit>

LedgerCostBox::LedgerCostBox(QWidget* strip, QLineEdit* buyPrice) : QObject(strip), buyPrice_(buyPrice) {
    // Between the bank row and the price row, over the price box it fills.
    box_ = place<QCheckBox>(strip, QStringLiteral("选择框_涨跌取记账均价"), {103, 90, 150, 15},
                            QStringLiteral("用记账均价"));
    box_->setToolTip(QStringLiteral("选择后，您的买入价取交易管理中所持黄金的平均成本！"));
    connect(box_, &QCheckBox::toggled, this, &LedgerCostBox::apply);
}

void LedgerCostBox::apply(bool on) {
    buyPrice_->setReadOnly(on);
    refresh();
}

void LedgerCostBox::setCostSource(CostSource source) {
    cost_ = std::move(source);
    refresh();
}

void LedgerCostBox::refresh() {
    if (!box_->isChecked() || !cost_)
        return;
    if (const std::optional<double> cost = cost_())
        buyPrice_->setText(QString::number(*cost, 'f', 2));
}

void LedgerCostBox::load(const settings::Snapshot& config) {
    if (config.value(settings::key::gainFromLedger))
        box_->setChecked(true);
}

bool LedgerCostBox::save(const settings::ConfigFile& config) const {
    return config.write(settings::key::gainFromLedger, box_->isChecked());
}
