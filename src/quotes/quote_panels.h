#pragma once

#include "panel_rules.h"

#include <QString>
#include <array>

class Launcher;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

// The controls of the quote display: three bank cards under a splitter bar at
// the foot of the first chart page, and the international price panel.
namespace quotepanels {

struct BankRow {
    QWidget* card = nullptr;
    QLabel* buy = nullptr;
    QLabel* sell = nullptr;
    QProgressBar* progress = nullptr;
    QLabel* status = nullptr;
    QPushButton* start = nullptr;
    QPushButton* stop = nullptr;
};

struct BankPanel {
    QPushButton* splitter = nullptr;
    QFrame* background = nullptr;
    QFrame* adaptive = nullptr;
    std::array<BankRow, 3> rows; // ICBC, CCB, BOC
};

struct IntlPanel {
    QFrame* frame = nullptr;
    QLabel* buy = nullptr;
    QLabel* sell = nullptr;
    QProgressBar* progress = nullptr;
    QWidget* canvas = nullptr;
    QLabel* connecting = nullptr;
};

// Builds the splitter and bank panel on `page`; the links open through `launcher`.
BankPanel buildBankPanel(QWidget* page, Launcher* launcher, const std::array<QString, 3>& siteUrls);
// Builds the international panel inside `rightColumn`.
IntlPanel buildIntlPanel(QWidget* rightColumn);

} // namespace quotepanels
