#pragma once

#include "ledger_book.h"
#include "quotes/quote_model.h"

#include <QObject>

class LedgerWindow;
class QComboBox;
class QLabel;

// Under the ledger window's statistics: the gold held valued at the current
// buy price of a bank the user picks (remembered in config.ini, ICBC at
// first), the average cost of what is held and the floating gain or loss if
// it were sold now, red for a gain and green for a loss as Chinese traders
// read them. Follows the bank's price as it changes and the ledger as the
// window refreshes it. Lives as long as its window.
class ValuationPanel : public QObject {
    Q_OBJECT
public:
    ValuationPanel(LedgerWindow* window, const QuoteModel& model);

    // "工行", "建行", "中行": the bank whose buy price values the gold.
    int bank() const;

private:
    void update();
    void onShownChanged(QuoteModel::Shown which);

    LedgerWindow* window_;
    const QuoteModel& model_;
    QComboBox* bank_;
    QLabel* price_;
    QLabel* average_;
    QLabel* value_;
    QLabel* floating_;
};
