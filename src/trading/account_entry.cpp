#include "account_entry.h"

#include "platform/dialogs.h"
#include "platform/services.h"
#include "quotes/quote_model.h"
#include "records/open_failure.h"
#include "trading/account_book.h"
#include "trading/new_simulation_window.h"
#include "trading/trading_window.h"
#include "ui/open_once.h"

AccountEntry::AccountEntry(Services& services, const QuoteModel& quotes, QWidget* window)
    : QObject(window), services_(services), quotes_(quotes), window_(window) {}

void AccountEntry::enter() {
    if (quotes_.baseBuy().isEmpty() || quotes_.baseSell().isEmpty()) {
        services_.dialogs->message(window_, QStringLiteral("服务器还未连接，请稍后在进入！"), QString());
        return;
    }
    const accountbook::Reading reading = accountbook::readAccount();
    if (reading.status == accountbook::Status::Failed) {
        showRecordOpenFailure(*services_.dialogs, window_);
        services_.quit(0);
        return;
    }
    if (reading.status == accountbook::Status::NoAccount) {
        openNewSimulation();
        return;
    }
    TradingWindow* opened = openOnce(tradingWindow_, [&] {
        auto* window = new TradingWindow(services_, quotes_, reading.account, window_);
        connect(window, &TradingWindow::newSimulationRequested, this, &AccountEntry::openNewSimulation);
        return window;
    });
    if (opened && opened->ready())
        opened->show();
}

void AccountEntry::openNewSimulation() {
    if (NewSimulationWindow* opened =
            openOnce(newSimulationWindow_, [this] { return new NewSimulationWindow(services_, window_); }))
        opened->show();
}
