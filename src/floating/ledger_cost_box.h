#pragma once

#include <QObject>
#include <functional>
#include <optional>

class QCheckBox;
class QLineEdit;
class QWidget;
namespace settings {
class ConfigFile;
class Snapshot;
} // namespace settings

// "用记账均价" in the floating strip's settings: while ticked, the strip's
// buy price ("您银行的买入价") is the average cost of the gold the ledger of
// real trades holds, so "您的涨跌" reads against what the gold really cost;
// the price box follows the ledger and takes no typing then. With no gold
// held the box keeps the price typed. Remembered with the strip's other
// settings (key "涨跌取记账均价"; missing means off).
class LedgerCostBox : public QObject {
    Q_OBJECT
public:
    // The average cost of the gold held, nullopt when none is held.
    using CostSource = std::function<std::optional<double>()>;

    LedgerCostBox(QWidget* strip, QLineEdit* buyPrice);
    // Where the cost comes from (the program's ledger); without one the box keeps the typed price.
    void setCostSource(CostSource source);

    QCheckBox* box() const { return box_; }
    // Reads the ledger's average cost into the price box, when ticked.
    void refresh();
    // Ticks the box when the settings say so (loading only ever ticks).
    void load(const settings::Snapshot& config);
    bool save(const settings::ConfigFile& config) const;

private:
    void apply(bool on);

    QLineEdit* buyPrice_;
    QCheckBox* box_;
    CostSource cost_;
};
