#pragma once

#include "alert_record.h"
#include "price_series.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;

// The local price history, "DataBase/history.db": every change of every
// shown price for the last 90 days, and one-minute bars of each price beyond
// that, for ten years. Prices are public, so the file is plain SQLite
// without a password, written ahead (WAL): a change committed before the
// process is killed is in the file, and the file always opens.
//
// Changes are packed per series and ten minutes, bars per series and day (see
// history_codec.h), which keeps a year of all eight prices in tens of
// megabytes and a year's read to a few thousand rows.
//
// Unlike the record files the program creates this file when it is missing:
// it holds nothing the user entered. One handle is used from one thread.
class HistoryStore {
public:
    static constexpr qint64 kRawKeptMs = 90 * history::kDayMs;
    static constexpr qint64 kBarsKeptMs = 3653 * history::kDayMs;
    // Changes beyond this (a price that flaps far faster than the quote
    // cycle) are rolled up into bars early, so the file stays bounded.
    static constexpr qint64 kRawBudgetBytes = 48 * 1024 * 1024;
    // The alert log keeps its newest entries: a rule that holds for a whole
    // day on two channels makes about 50,000.
    static constexpr int kAlertsKept = 100'000;

    // What the file holds of one series between two times.
    struct Span {
        QList<history::Bar> bars;       // rolled-up minutes, in rising time
        QList<history::Change> changes; // the changes since, in rising time
    };

    explicit HistoryStore(qint64 rawBudgetBytes = kRawBudgetBytes, int alertsKept = kAlertsKept)
        : rawBudget_(rawBudgetBytes), alertsKept_(alertsKept) {}
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens the file, creating it when missing (never its folder). A file
    // that is damaged or not a history is moved aside to "<path>.damaged"
    // and begun afresh. False when the file can be neither opened nor created
    // (a read-only or full disk): then the history stays off.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Adds changes, all or none, in one transaction.
    bool append(const QList<std::pair<history::Series, history::Change>>& changes);
    // Rolls changes older than 90 days (and the oldest beyond the budget)
    // into bars, drops bars older than ten years and gives the freed pages
    // back. Returns how many ten-minute chunks of one series were rolled up.
    int rollUp(qint64 nowMs);
    // One series from `fromMs` (inclusive) to `toMs` (exclusive).
    Span read(history::Series series, qint64 fromMs, qint64 toMs);
    // The time of the oldest thing held, or 0 when the file is empty.
    qint64 firstMs();

    // The alert log, a table of its own: entries are added in one transaction,
    // all or none, and the oldest beyond the newest alertsKept go.
    bool appendAlerts(const QList<history::AlertRecord>& records);
    // The newest `limit` entries, newest first.
    QList<history::AlertRecord> alerts(int limit = kAlertsKept);
    bool clearAlerts();

    QString path() const { return path_; }

private:
    bool openFile();
    bool setUp();
    bool exec(const char* sql);
    // The first column of the first row, -1 when there is none.
    int number(const char* sql);
    sqlite3_stmt* statement(int index, const char* sql);
    bool inTransaction(const std::function<bool()>& work);
    // Runs a statement on (key, series) with `bytes` as its third parameter
    // unless null; a row's first column lands in `row` when given. False on an error.
    bool run(int index, const char* sql, qint64 key, int series, const QByteArray& bytes,
             QByteArray* row = nullptr);
    // One series' changes of ten minutes.
    struct Chunk {
        qint64 slot;
        int series;
        qint64 bytes;
    };
    // One series' changes of a slot; nullopt when the file cannot be read.
    std::optional<QList<history::Change>> changesOf(qint64 slot, int series);
    bool rollUpChunks(const QList<Chunk>& chunks);
    // The oldest chunks before `slot`.
    QList<Chunk> chunksBefore(qint64 slot, int limit);
    qint64 rawBytes();
    void noteError(int code);

    QString path_;
    sqlite3* db_ = nullptr;
    std::array<sqlite3_stmt*, 16> statements_{};
    bool damaged_ = false;
    qint64 rawBudget_;
    int alertsKept_;
};
