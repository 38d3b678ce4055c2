#include "change_filter.h"

#include "quotes/trading_hours.h"

std::optional<history::Change> ChangeFilter::offer(history::Series series, const QString& text,
                                                   const QDateTime& now) {
    const history::Fen fen = history::fenOf(text);
    auto& last = last_[static_cast<size_t>(history::indexOf(series))];
    if (stopped_ || fen == 0 || fen == last || tradinghours::isClosed(now))
        return std::nullopt;
    last = fen;
    return history::Change{now.toMSecsSinceEpoch(), fen};
}
