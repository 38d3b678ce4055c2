#pragma once

#include "holding_valuation.h"

#include <QObject>
#include <functional>

class LedgerWindow;
class QComboBox;
class QLabel;

// Under the ledger window's statistics: the gold held valued at the current
// buy price of a bank the user picks (remembered in config.ini, ICBC at
// first), the average cost of what is held and the floating gain or loss if
// it were sold now, red for a gain and green for a loss as Chinese traders
// read them. Follows the ledger as the window refreshes it, and the prices
// when told. Lives as long as its window.
class ValuationPanel : public QObject {
    Q_OBJECT
public:
    // `buyPrice` gives the shown buy price text of bank 0 (ICBC), 1 (CCB) or 2 (BOC).
    ValuationPanel(LedgerWindow* window, std::function<QString(int bank)> buyPrice);

    // 0 (工行), 1 (建行) or 2 (中行): the bank whose buy price values the gold.
    int bank() const;
    // The banks' prices moved.
    void pricesChanged() { update(); }

private:
    void update();

    LedgerWindow* window_;
    std::function<QString(int bank)> buyPrice_;
    ledger::Holding holding_;
    QComboBox* bank_;
    QLabel* price_;
    QLabel* average_;
    QLabel* value_;
    QLabel* floating_;
};
