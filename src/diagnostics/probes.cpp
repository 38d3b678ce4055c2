#include "probes.h"

#include "diagnostics/news_step_trace.h"
#include "diagnostics/request_tally.h"
#include "diagnostics/state_dump.h"
#include "diagnostics/trade_drill.h"
#include "diagnostics/ui_watchdog.h"
#include "history/price_history.h"
#include "platform/services.h"

#include <QTimer>
#include <QWidget>
#include <cstdio>

Probes::Probes(const Diagnostics& asked, QObject* parent) : QObject(parent), asked_(asked) {}

Probes::~Probes() = default;

void Probes::start(Services& services) {
    if (!asked_.stateDumpPath.isEmpty()) {
        dump_ = std::make_unique<StateDump>(asked_.stateDumpPath, *services.dialogs);
        if (asked_.soakSpeed > 1) {
            tally_ = std::make_unique<RequestTally>(*services.http);
            services.http = tally_.get();
            dump_->setRequestTally(tally_.get());
        }
        dump_->start();
    }
    if (!asked_.uiWatchdogPath.isEmpty())
        watchdog_ = new UiWatchdog(asked_.uiWatchdogPath, this);
    if (asked_.tradeDrillSeed) {
        new TradeDrill(*asked_.tradeDrillSeed, *services.dialogs, this);
        PriceHistory::startDrill(*asked_.tradeDrillSeed, this);
    }
}

void Probes::milestone(const char* name) const {
    if (!asked_.startupTrace)
        return;
    std::printf("aurivex-trace %s\n", name);
    std::fflush(stdout);
}

void Probes::mainWindowShown(QWidget* window, QuoteModel& quotes) {
    if (dump_)
        dump_->setQuoteModel(&quotes);
    if (asked_.newsTrace) {
        if (auto* link = window->findChild<QWidget*>(QStringLiteral("新闻显示链接框")))
            new NewsStepTrace(link);
    }
    if (watchdog_)
        QTimer::singleShot(1000, watchdog_, [watchdog = watchdog_] { watchdog->startCounting(); });
}

void Probes::finish() {
    if (dump_)
        dump_->write();
    if (watchdog_)
        watchdog_->write();
}
