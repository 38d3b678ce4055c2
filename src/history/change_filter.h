#pragma once

#include "price_series.h"

#include <QDateTime>
#include <array>
#include <optional>

// Which shown prices become history: a price is recorded when it differs from
// the last one recorded for its series, not every time it is shown again.
// While the market is closed (the weekend window) nothing is recorded, and
// after the quote page's data error nothing more in this run.
class ChangeFilter {
public:
    // The change to record for `text` shown in `series` at `now`; nullopt when
    // it is not a price, is the price last recorded, or nothing may be recorded.
    std::optional<history::Change> offer(history::Series series, const QString& text, const QDateTime& now);
    void stopForDataError() { stopped_ = true; }
    bool stopped() const { return stopped_; }

private:
    std::array<history::Fen, history::kSeriesCount> last_{};
    bool stopped_ = false;
};
