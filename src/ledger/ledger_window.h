#pragma once

#include "ledger_book.h"

#include <QMainWindow>

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableWidget;
struct Services;

// "交易管理平台": the user's ledger of real trades, its statistics, and a
// valuation of the gold held at a price the user types.
class LedgerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit LedgerWindow(Services& services, QWidget* parent = nullptr);

    // Fills the list and shows the statistics; false (the window closing)
    // when the ledger file does not open.
    bool refresh();
    // False when the ledger could not be read at the start: the window has
    // already closed itself and must not be shown.
    bool ready() const { return ready_; }
    // The selected entry's record number, 0 when no row is selected.
    int selectedRecord() const;
    // The entry the list shows as `record`.
    std::optional<ledger::Entry> shownEntry(int record) const;
    // Every entry the list shows, in its order.
    const QList<ledger::Entry>& entries() const { return shown_; }

    void addEntry();
    void modifyEntry();
    void deleteEntry();
    void deleteAll();

signals:
    // The list and the statistics show the file anew.
    void refreshed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The build steps, in the order the controls are made.
    void buildMenu();
    void buildEntryTable();
    void buildStatistics();
    void fillList(const QList<ledger::Entry>& entries);
    void showStatistics(const ledger::LedgerStats& stats);
    void valueHoldings();
    void colourResult();
    void failAndClose();
    void layoutClient();

    Services& services_;
    QWidget* client_;
    QTableWidget* entries_;
    QGroupBox* statistics_;
    QLabel* tradeCount_;
    QLabel* buyCount_;
    QLabel* sellCount_;
    QLabel* buyTotal_;
    QLabel* sellTotal_;
    QLabel* goldHeld_;
    QLineEdit* valuationPrice_;
    QLabel* result_;
    QMenu* operations_;
    // The last statistics pass, for the valuation.
    ledger::LedgerStats lastStats_;
    QList<ledger::Entry> shown_; // the entries the list shows, in its order
    bool ready_ = false;
};
