#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
struct Services;

// "添加交易记录" and "修改交易记录": one row of inputs for a ledger entry. The
// amount follows price × whole grams as the user types.
class LedgerEntryWindow : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // `record` is the entry to modify (Modify only). `changed` refreshes the
    // ledger window after a stored change.
    LedgerEntryWindow(Services& services, Mode mode, int record, std::function<void()> changed,
                      QWidget* parent = nullptr);

    void confirm();

private:
    void loadRecord();
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
};
