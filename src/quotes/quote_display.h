#pragma once

#include "quotes/quote_panels.h"

#include <QObject>

class QuoteCycle;
class QuoteFetcher;
class QuoteModel;
class Timer;
struct Services;
namespace endpoints {
class Endpoints;
}
namespace settings {
class Snapshot;
}

// The main window's quote display: the quote model and its page fetch every
// 60 s, the bank cards under their splitter bar at the foot of the first chart
// page, the international panel in the right column, and the cycle that turns
// the two base prices into the eight shown ones. The window gives it the
// places to build on and lays the panels out; the rest is the display's own,
// the data error's message included.
class QuoteDisplay : public QObject {
    Q_OBJECT
public:
    static constexpr int kFetchIntervalMs = 60000;

    // What the splitter bar slides over: the tab control and the speed panel
    // fix its range, and the 24-hour chart moves with the cards.
    struct SplitterSpan {
        QWidget* tabs = nullptr;
        QWidget* speedPanel = nullptr;
        QWidget* chart = nullptr;
    };

    // The model and the fetch of the page `hosts` names; the timers go on `window`.
    QuoteDisplay(QWidget* window, Services& services, const endpoints::Endpoints& hosts);

    QuoteModel& model() const { return *model_; }
    QuoteFetcher& fetcher() const { return *fetcher_; }

    // The splitter bar and the three bank cards at the foot of `page`, each
    // card's link to its bank's site in `hosts`.
    void buildBankPanel(QWidget* page, const SplitterSpan& span, const endpoints::Endpoints& hosts);
    // The international panel in `rightColumn`; then the update cycle runs over both.
    void buildIntlPanel(QWidget* rightColumn);
    const quotepanels::BankPanel& bankPanel() const { return bank_; }
    const quotepanels::IntlPanel& intlPanel() const { return intl_; }

    // The creation handler's first step: the first fetch, then the tooltips.
    void start();
    // The start-up holds: the banks whose updates "黄金选项" keeps stopped.
    void applyHolds(const settings::Snapshot& config);
    // The closed-market check, as the start-up runs it.
    void checkTradingDay();

private:
    void showDataError();
    void attachTooltips();
    void toggleBankPanel();

    Services& services_;
    QWidget* window_;
    QuoteModel* model_;
    QuoteFetcher* fetcher_;
    Timer* fetchTimer_;
    QuoteCycle* cycle_ = nullptr;
    quotepanels::BankPanel bank_;
    quotepanels::IntlPanel intl_;
    SplitterSpan span_;
};
