#pragma once

#include <QObject>
#include <QRandomGenerator>

class Dialogs;

// The program changes its record files by itself every few milliseconds: simulated buys,
// sells and fresh starts, ledger entries added, modified and deleted, through
// the calls the windows make. A crash test kills it at any moment and then
// checks the files. Each step prints "aurivex-drill N done|refused|failed";
// the first failure shows the record-file message once and ends the drill.
class TradeDrill : public QObject {
public:
    // Starts at once; `seed` decides every step.
    TradeDrill(quint32 seed, Dialogs& dialogs, QObject* parent);

private:
    void step();

    QRandomGenerator random_;
    Dialogs& dialogs_;
    int steps_ = 0;
    int timer_ = 0;
    void timerEvent(QTimerEvent* event) override;
};
