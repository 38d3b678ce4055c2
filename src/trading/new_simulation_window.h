#pragma once

#include <QWidget>

class QComboBox;
struct Services;

// "新建模拟炒金": starts the simulated account afresh at a chosen bank and
// starting capital, and deletes the simulated trades.
class NewSimulationWindow : public QWidget {
    Q_OBJECT
public:
    explicit NewSimulationWindow(Services& services, QWidget* parent = nullptr);

    void confirm();

private:
    Services& services_;
    QComboBox* bank_;
    QComboBox* capital_;
};
