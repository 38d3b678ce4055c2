#pragma once

#include "ledger_book.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLineEdit;
struct Services;

// "添加交易记录" and "修改交易记录": one row of inputs for a ledger entry. The
// amount follows price × whole grams as the user types.
class LedgerEntryWindow : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // `record` is the entry to modify (Modify only), and `shown` the entry
    // the ledger window showed as it: the file must still hold that entry
    // there. `changed` refreshes the ledger window after a stored change.
    LedgerEntryWindow(Services& services, Mode mode, int record, std::function<void()> changed,
                      QWidget* parent = nullptr, std::optional<ledger::Entry> shown = std::nullopt);

    void confirm();
    // False when the modify window could not load its entry: it has shown why
    // and must not be shown.
    bool ready() const { return ready_; }

private:
    bool loadRecord();
    void updateAmount();
    void failAndClose();

    Services& services_;
    Mode mode_;
    int record_;
    std::function<void()> changed_;
    QLineEdit* time_;
    QComboBox* type_;
    QLineEdit* grams_;
    QLineEdit* price_;
    QLineEdit* amount_;
    std::optional<ledger::Entry> shown_; // the entry being modified, as loaded
    bool ready_ = true;
};
