#pragma once

#include "change_filter.h"
#include "history_store.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class Clock;
class QThread;
class Timer;

namespace history {
class Worker;
}

// The program's price history: records the shown prices as they change and
// reads them back for the charts. The file is written and read on a thread
// of its own, so the user-interface thread pays only for noticing a change.
// Changes are gathered and committed together every half minute (and before
// every read and at exit): a commit a minute instead of one per price, and a
// killed process loses at most the last half minute.
class QuoteFetcher;
class QuoteModel;

class PriceHistory : public QObject {
    Q_OBJECT
public:
    using Spans = QList<std::pair<history::Series, HistoryStore::Span>>;
    // The program's history file, in its directory.
    static constexpr const char* kFile = "DataBase/history.db";
    static constexpr int kFlushMs = 30'000;
    static constexpr int kRollUpMs = 3'600'000;

    // Opens (or creates) the store at `path` on the history's thread; when it
    // cannot, the history stays off and reads answer empty.
    PriceHistory(const QString& path, Clock& clock, QObject* parent = nullptr);
    // Commits what is gathered and closes the file.
    ~PriceHistory() override;

    // A shown price; recorded when it is a change (see ChangeFilter).
    void offer(history::Series series, const QString& text);
    // The quote page's data error: nothing more is recorded in this run.
    void stopForDataError() { filter_.stopForDataError(); }
    // Offers every price `model` shows as it changes (the series are the
    // model's eight, in its order), until `fetcher` raises the data error.
    void follow(const QuoteModel& model, const QuoteFetcher& fetcher);

    // Reads `series` from `fromMs` to `toMs` once everything offered so far
    // is in the file, and hands the result to `done` on this thread, unless
    // `context` is gone by then. With a `resolutionMs`, each series comes as
    // bars of that period (laid out `utcOffsetSeconds` ahead of UTC) and no
    // changes: condensed on the history's thread, not on this one.
    void read(const QList<history::Series>& series, qint64 fromMs, qint64 toMs, QObject* context,
              std::function<void(const Spans&)> done, qint64 resolutionMs = 0, int utcOffsetSeconds = 0);
    // The time of the oldest price held (0 when none), handed over as read() does.
    void firstTime(QObject* context, std::function<void(qint64)> done);
    // The alert log in the same file: an entry is committed with the prices.
    void logAlert(const history::AlertRecord& record);
    // The log's entries, newest first, handed over as read() does.
    void readAlerts(QObject* context, std::function<void(const QList<history::AlertRecord>&)> done);
    // Empties the log, entries not yet committed included.
    void clearAlerts();
    // Commits what is gathered and waits until it is in the file.
    void flush();
    // The clock the history records by.
    Clock& clock() const { return clock_; }
    // For the crash drill: a history of its own on the program's file that
    // records made-up changes (drawn from `seed`) every few milliseconds and
    // commits them at once, printing "aurivex-history kept N" with the number
    // committed so far.
    static PriceHistory* startDrill(quint32 seed, QObject* parent);

signals:
    // A change was recorded (it reaches the file with the next commit).
    void recorded(history::Series series, history::Change change);

private:
    void rollUp();
    // Runs `work` on the history's thread and hands its result to `done` on
    // this one, unless `context` is gone by then.
    template <typename Result>
    void handBack(QObject* context, std::function<Result()> work, std::function<void(const Result&)> done);

    Clock& clock_;
    ChangeFilter filter_;
    QThread* thread_;
    history::Worker* worker_;
    Timer* rollUpTimer_;
};
