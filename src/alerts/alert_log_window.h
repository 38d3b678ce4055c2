#pragma once

#include "history/alert_record.h"

#include <QWidget>

class AlertLog;
class QLabel;
class QPushButton;
class QTableView;
struct Services;

// "提醒记录": every alert that reached the user, newest first, with its time,
// bank, rule, threshold, price and channel. New hits join the top while the
// window is open; the list can be emptied (after a confirmation) and
// exported as CSV.
class AlertLogWindow : public QWidget {
    Q_OBJECT
public:
    AlertLogWindow(Services& services, AlertLog& log, QWidget* parent = nullptr);
    // A long list's pages go back to the system.
    ~AlertLogWindow() override;

    // The handlers, public for the tests that drive them as a click would.
    void clearLog();
    void exportData();
    // Whether the log has been read.
    bool loaded() const { return loaded_; }
    // The entries listed, newest first.
    const QList<history::AlertRecord>& entries() const;

private:
    class Model;

    void onRead(quint64 serial, const QList<history::AlertRecord>& records);
    void onRecorded(const history::AlertRecord& record);
    void onCleared();
    void showCount();

    Services& services_;
    AlertLog& log_;
    Model* model_;
    QTableView* table_;
    QLabel* count_;
    QPushButton* exportButton_;
    QPushButton* clearButton_;
    bool loaded_ = false;
    // Hits that came while the log was being read: the read did not see them.
    QList<history::AlertRecord> arrived_;
    // Only the latest read counts; clearing makes any read under way stale.
    quint64 readSerial_ = 0;
};
