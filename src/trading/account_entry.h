#pragma once

#include <QObject>
#include <QPointer>

class NewSimulationWindow;
class QuoteModel;
class QWidget;
class TradingWindow;
struct Services;

// Entering the simulated account ("模拟炒金"): once prices have arrived, the
// trading window on the account the record file holds, or the new-simulation
// window when it holds none yet. Each window exists once.
class AccountEntry : public QObject {
    Q_OBJECT
public:
    // The windows belong to `window`; they trade at the prices of `quotes`.
    AccountEntry(Services& services, const QuoteModel& quotes, QWidget* window);

    void enter();
    // "新建模拟炒金": starts the account afresh.
    void openNewSimulation();

private:
    Services& services_;
    const QuoteModel& quotes_;
    QWidget* window_;
    QPointer<TradingWindow> tradingWindow_;
    QPointer<NewSimulationWindow> newSimulationWindow_;
};
