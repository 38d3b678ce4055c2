#pragma once

#include "diagnostics/diagnostics.h"

#include <QObject>
#include <memory>

class QuoteModel;
class QWidget;
class RequestTally;
class StateDump;
class UiWatchdog;
struct Services;

// The diagnostic machinery a run was asked for (Diagnostics): the state dump,
// the UI watchdog, the trade drill, the soak's request tally and the traces.
// With nothing asked it does nothing at all.
class Probes : public QObject {
public:
    Probes(const Diagnostics& asked, QObject* parent = nullptr);
    ~Probes() override;

    // Starts the dump, the watchdog and the drill. While a soak runs, the
    // services' HTTP goes through the request tally from here on.
    void start(Services& services);
    // "aurivex-trace NAME" on standard output, when start-up is traced.
    void milestone(const char* name) const;
    // The main window is up: the dump shows its prices, the news link is
    // traced, and the watchdog counts from a second later, once its first
    // paints are done.
    void mainWindowShown(QWidget* window, QuoteModel& quotes);
    // The last dump and watchdog figures, at exit.
    void finish();

private:
    const Diagnostics asked_;
    std::unique_ptr<RequestTally> tally_;
    std::unique_ptr<StateDump> dump_;
    UiWatchdog* watchdog_ = nullptr;
};
