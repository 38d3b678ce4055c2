#pragma once

#include <QObject>
#include <QRandomGenerator>

class Dialogs;

// With AURIVEX_TRADE_DRILL set to a number (a random seed), the program
// changes its record files by itself every few milliseconds: simulated buys,
// sells and fresh starts, ledger entries added, modified and deleted, through
// the calls the windows make. A crash test kills it at any moment and then
// checks the files. Each step prints "aurivex-drill N done|refused|failed";
// the first failure shows the record-file message once and ends the drill.
// Off by default.
class TradeDrill : public QObject {
public:
    // Starts a drill when the environment asks for one; null otherwise.
    static TradeDrill* startIfAsked(Dialogs& dialogs, QObject* parent);

private:
    TradeDrill(quint32 seed, Dialogs& dialogs, QObject* parent);
    void step();

    QRandomGenerator random_;
    Dialogs& dialogs_;
    int steps_ = 0;
    int timer_ = 0;
    void timerEvent(QTimerEvent* event) override;
};
