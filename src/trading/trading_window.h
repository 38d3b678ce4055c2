#pragma once

#include "account_book.h"
#include "trading_rules.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTableWidget;
class QToolBar;
class QuoteModel;
class Timer;
struct Services;

// "模拟炒金平台": the simulated account at the live prices of one bank, the
// buy and sell boxes, and the list of past simulated trades, newest first.
class TradingWindow : public QWidget {
    Q_OBJECT
public:
    // `opening` is the account as the property record holds it when the
    // window opens.
    TradingWindow(Services& services, const QuoteModel& quotes, const accountbook::Account& opening,
                  QWidget* parent = nullptr);

    void buy();
    void sell();
    // Refills the trade list from the transaction file; false (and the window
    // closing) when the file does not open.
    bool fillTradeList();
    void clearTrades();
    void startNewSimulation();
    // False when the trade list could not be filled at the start: the window
    // has already closed itself and must not be shown.
    bool ready() const { return ready_; }

signals:
    // "新建交易": the main window opens the new-simulation window.
    void newSimulationRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The build steps, in the order the controls are made.
    void buildToolbar();
    void buildTradeControls();
    void buildAccountBoxes();
    void buildTradeTable();
    void feedPrices();
    void updateBuyCost();
    void updateSellProceeds();
    tradingrules::Account account() const;
    // Shows a refusal, or records the trade and shows the account on file
    // after it; the profit of a sell when the trade went through.
    std::optional<double> complete(const tradingrules::Outcome& outcome, QLineEdit* quantity);
    void showAccount(const accountbook::Account& account);
    // Shows the account as the file holds it now; false (and the window
    // closing) when the file fails or the account moved to another bank.
    bool showAccountOnFile();
    void accountStartedAfresh();
    void failAndClose();

    Services& services_;
    const QuoteModel& quotes_;
    int bankCode_;
    tradingrules::Bank bank_;
    tradingrules::PriceFeed feed_;

    QToolBar* toolbar_;
    QLineEdit* buyPrice_;
    QLineEdit* sellPrice_;
    QLineEdit* buyQuantity_;
    QLineEdit* sellQuantity_;
    QLineEdit* buyCost_;
    QLineEdit* sellProceeds_;
    QLineEdit* held_;
    QLineEdit* capital_;
    QLineEdit* cash_;
    QLineEdit* profit_;
    QTableWidget* trades_;
    Timer* priceFeed_;
    bool ready_ = false;
};
