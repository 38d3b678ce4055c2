#include "history_store.h"

#include "bar_rules.h"
#include "history_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <map>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

using namespace history;

namespace {

// "AuRH": marks the file as this program's price history.
constexpr int kApplicationId = 0x41755248;
constexpr int kBatch = 256;
// Changes are packed per ten minutes: small enough that a slot's blob stays
// within its page, and that a commit rewrites the last page or two.
constexpr qint64 kSlotMs = 10 * history::kMinuteMs;

qint64 floorDiv(qint64 value, qint64 step) {
    const qint64 q = value / step;
    return value % step < 0 ? q - 1 : q;
}

enum Statement {
    kReadSlot,
    kWriteSlot,
    kDeleteSlot,
    kReadDay,
    kWriteDay,
    kDaysBetween,
    kSlotsBetween,
    kSlotsBefore,
    kDeleteDaysBefore,
    kFirst,
    kRawBytes,
    kAddAlert,
    kReadAlerts,
    kTrimAlerts,
    kStatements,
};

// Resets a statement for its next use when the scope ends.
struct Used {
    sqlite3_stmt* s;
    ~Used() {
        if (s) {
            sqlite3_reset(s);
            sqlite3_clear_bindings(s);
        }
    }
};

QByteArray blobOf(sqlite3_stmt* s, int column) {
    return QByteArray(static_cast<const char*>(sqlite3_column_blob(s, column)),
                      sqlite3_column_bytes(s, column));
}

// The alert log came after the prices: files made before it get the table
// when they are next opened, and older programs pass over it.
constexpr const char* kAlertTable =
    "CREATE TABLE IF NOT EXISTS alerts(id INTEGER PRIMARY KEY, ms INTEGER NOT NULL, channel TEXT NOT NULL, "
    "bank TEXT NOT NULL, rule TEXT NOT NULL, threshold TEXT NOT NULL, price TEXT NOT NULL)";

bool bindText(sqlite3_stmt* s, int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

// Texts repeat from row to row (channels, banks, rules, and thresholds and
// prices while a rule holds): a column keeps its last few, compared by their
// bytes before a new string is made, so that a long log is read without an
// allocation per cell and its rows share their strings.
class TextPool {
public:
    QString take(sqlite3_stmt* s, int column) {
        const char* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        const int size = sqlite3_column_bytes(s, column);
        if (size == 0)
            return {};
        for (const auto& [utf8, text] : recent_)
            if (utf8.size() == size && std::memcmp(utf8.constData(), bytes, size_t(size)) == 0)
                return text;
        auto& slot = recent_[next_++ % recent_.size()];
        slot = {QByteArray(bytes, size), QString::fromUtf8(bytes, size)};
        return slot.second;
    }

private:
    std::array<std::pair<QByteArray, QString>, 8> recent_;
    size_t next_ = 0;
};

bool bindBlob(sqlite3_stmt* s, int index, const QByteArray& bytes) {
    return sqlite3_bind_blob(s, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

} // namespace

HistoryStore::~HistoryStore() {
    close();
}

void HistoryStore::close() {
    for (sqlite3_stmt*& s : statements_) {
        sqlite3_finalize(s);
        s = nullptr;
    }
    sqlite3_close(db_);
    db_ = nullptr;
}

bool HistoryStore::open(const QString& path) {
    close();
    path_ = path;
    if (openFile())
        return true;
    if (!damaged_)
        return false;
    // What is there cannot be read as a history: it is kept aside, once, and
    // the history begins again.
    close();
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    QFile::rename(path, aside);
    for (const char* suffix : {"-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    damaged_ = false;
    return openFile();
}

void HistoryStore::noteError(int code) {
    const int primary = code & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
        damaged_ = true;
}

bool HistoryStore::exec(const char* sql) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    noteError(rc);
    return rc == SQLITE_OK;
}

bool HistoryStore::openFile() {
    // The folder is the installation's; the file alone is ours to make. Like
    // everything in DataBase/ it is the user's alone (SQLite gives its -wal
    // and -shm files the same mode).
    if (!QFileInfo(QFileInfo(path_).absolutePath()).isDir() || QFileInfo(path_).isDir())
        return false;
    const QByteArray name = QFile::encodeName(path_);
    if (const int made = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600); made >= 0)
        ::close(made);
    const int rc = sqlite3_open_v2(QFile::encodeName(path_).constData(), &db_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        close();
        return false;
    }
    sqlite3_busy_timeout(db_, 2000);
    if (!setUp()) {
        close();
        return false;
    }
    return true;
}

int HistoryStore::number(const char* sql) {
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql, -1, &s, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(s);
    noteError(rc);
    const int value = rc == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
    sqlite3_finalize(s);
    return value;
}

bool HistoryStore::setUp() {
    // Nothing is changed before the file has proved to be a history (or empty).
    if (!exec("PRAGMA cell_size_check = ON; PRAGMA temp_store = MEMORY"))
        return false;
    const int tables = number("SELECT count(*) FROM sqlite_master");
    if (tables < 0)
        return false;
    if (tables > 0 && number("PRAGMA application_id") != kApplicationId) {
        // Someone else's database: not ours to write into.
        damaged_ = true;
        return false;
    }
    // NORMAL synchronisation in WAL mode loses nothing to a killed process,
    // only possibly the last commits to a power cut, and spares a flush per
    // commit. auto_vacuum counts only before the first table.
    if (!exec("PRAGMA auto_vacuum = INCREMENTAL; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; "
              "PRAGMA journal_size_limit = 4194304"))
        return false;
    if (tables > 0)
        return exec(kAlertTable);
    // Another handle may be making the same new file at this moment.
    const QByteArray create =
        "BEGIN IMMEDIATE; "
        "CREATE TABLE IF NOT EXISTS changes(slot INTEGER NOT NULL, series INTEGER NOT NULL, data BLOB NOT "
        "NULL, "
        "PRIMARY KEY(slot, series)) WITHOUT ROWID; "
        "CREATE TABLE IF NOT EXISTS bars(day INTEGER NOT NULL, series INTEGER NOT NULL, data BLOB NOT NULL, "
        "PRIMARY KEY(day, series)) WITHOUT ROWID; " +
        QByteArray(kAlertTable) + "; PRAGMA application_id = " + QByteArray::number(kApplicationId) +
        "; PRAGMA user_version = 1; COMMIT";
    if (exec(create.constData()))
        return true;
    if (!sqlite3_get_autocommit(db_))
        exec("ROLLBACK");
    return false;
}

sqlite3_stmt* HistoryStore::statement(int index, const char* sql) {
    sqlite3_stmt*& s = statements_[size_t(index)];
    if (!s) {
        const int rc = sqlite3_prepare_v2(db_, sql, -1, &s, nullptr);
        if (rc != SQLITE_OK) {
            noteError(rc);
            sqlite3_finalize(s);
            s = nullptr;
        }
    }
    return s;
}

bool HistoryStore::inTransaction(const std::function<bool()>& work) {
    if (!db_ || !exec("BEGIN IMMEDIATE"))
        return false;
    if (work() && exec("COMMIT"))
        return true;
    if (!sqlite3_get_autocommit(db_))
        exec("ROLLBACK");
    if (damaged_)
        open(path_);
    return false;
}

bool HistoryStore::run(int index, const char* sql, qint64 key, int series, const QByteArray& bytes,
                       QByteArray* row) {
    if (row)
        row->clear();
    sqlite3_stmt* s = statement(index, sql);
    if (!s)
        return false;
    const Used used{s};
    sqlite3_bind_int64(s, 1, key);
    sqlite3_bind_int(s, 2, series);
    if (!bytes.isNull())
        bindBlob(s, 3, bytes);
    const int rc = sqlite3_step(s);
    noteError(rc);
    if (rc == SQLITE_ROW && row)
        *row = blobOf(s, 0);
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

std::optional<QList<Change>> HistoryStore::changesOf(qint64 slot, int series) {
    QByteArray bytes;
    if (!run(kReadSlot, "SELECT data FROM changes WHERE slot = ?1 AND series = ?2", slot, series, {}, &bytes))
        return std::nullopt;
    // A slot whose bytes do not read is begun again rather than lost with the rest.
    return codec::unpackChanges(bytes, slot * kSlotMs).value_or(QList<Change>{});
}

bool HistoryStore::append(const QList<std::pair<Series, Change>>& changes) {
    // Grouped by slot and series, each group in the order it came.
    std::map<std::pair<qint64, int>, QList<Change>> groups;
    for (const auto& [series, change] : changes)
        groups[{floorDiv(change.ms, kSlotMs), indexOf(series)}].append(change);
    return inTransaction([&] {
        for (const auto& [key, added] : groups) {
            const auto [slot, series] = key;
            std::optional<QList<Change>> all = changesOf(slot, series);
            if (!all)
                return false;
            *all += added;
            if (!run(kWriteSlot, "INSERT OR REPLACE INTO changes(slot, series, data) VALUES (?1, ?2, ?3)",
                     slot, series, codec::packChanges(*all, slot * kSlotMs)))
                return false;
        }
        return true;
    });
}

bool HistoryStore::rollUpChunks(const QList<Chunk>& chunks) {
    return inTransaction([&] {
        // The bars of every series and day these chunks touch, written once each.
        std::map<std::pair<qint64, int>, QList<Bar>> days;
        for (const Chunk& chunk : chunks) {
            const qint64 slot = chunk.slot;
            const int series = chunk.series;
            std::optional<QList<Change>> changes = changesOf(slot, series);
            if (!changes)
                return false;
            std::stable_sort(changes->begin(), changes->end(),
                             [](const Change& a, const Change& b) { return a.ms < b.ms; });
            // A slot lies within one of the epoch's days.
            auto& bars = days[{floorDiv(slot * kSlotMs, kDayMs), series}];
            bars = bars::merge(bars, bars::minuteBars(*changes));
            if (!run(kDeleteSlot, "DELETE FROM changes WHERE slot = ?1 AND series = ?2", slot, series, {}))
                return false;
        }
        for (const auto& [key, added] : days) {
            const auto [day, series] = key;
            QByteArray bytes;
            if (!run(kReadDay, "SELECT data FROM bars WHERE day = ?1 AND series = ?2", day, series, {},
                     &bytes))
                return false;
            const QList<Bar> held = codec::unpackBars(bytes, day * kDayMs).value_or(QList<Bar>{});
            if (!run(kWriteDay, "INSERT OR REPLACE INTO bars(day, series, data) VALUES (?1, ?2, ?3)", day,
                     series, codec::packBars(bars::merge(held, added), day * kDayMs)))
                return false;
        }
        return true;
    });
}

QList<HistoryStore::Chunk> HistoryStore::chunksBefore(qint64 slot, int limit) {
    QList<Chunk> chunks;
    sqlite3_stmt* s =
        statement(kSlotsBefore,
                  "SELECT slot, series, length(data) FROM changes WHERE slot < ?1 ORDER BY slot LIMIT ?2");
    if (!s)
        return chunks;
    const Used used{s};
    sqlite3_bind_int64(s, 1, slot);
    sqlite3_bind_int(s, 2, limit);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        chunks.append({sqlite3_column_int64(s, 0), sqlite3_column_int(s, 1), sqlite3_column_int64(s, 2)});
    noteError(rc);
    return chunks;
}

qint64 HistoryStore::rawBytes() {
    sqlite3_stmt* s = statement(kRawBytes, "SELECT coalesce(sum(length(data)), 0) FROM changes");
    if (!s)
        return 0;
    const Used used{s};
    return sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
}

int HistoryStore::rollUp(qint64 nowMs) {
    if (!db_)
        return 0;
    int rolled = 0;
    // Chunks wholly older than the raw span, a batch per transaction.
    const qint64 cutoff = floorDiv(nowMs - kRawKeptMs, kSlotMs);
    for (;;) {
        const QList<Chunk> chunks = chunksBefore(cutoff, kBatch);
        if (chunks.isEmpty() || !rollUpChunks(chunks))
            break;
        rolled += int(chunks.size());
    }
    // Over the budget, the oldest chunks go to bars early, as many as the excess.
    for (qint64 excess = rawBytes() - rawBudget_; excess > 0;) {
        QList<Chunk> chunks = chunksBefore(std::numeric_limits<qint64>::max(), kBatch);
        qsizetype taken = 0;
        for (qint64 covered = 0; taken < chunks.size() && covered < excess; ++taken)
            covered += chunks[taken].bytes;
        chunks.resize(taken);
        if (chunks.isEmpty() || !rollUpChunks(chunks))
            break;
        rolled += int(chunks.size());
        for (const Chunk& c : chunks)
            excess -= c.bytes;
    }
    bool dropped = false;
    if (sqlite3_stmt* s = statement(kDeleteDaysBefore, "DELETE FROM bars WHERE day < ?1")) {
        const Used used{s};
        sqlite3_bind_int64(s, 1, floorDiv(nowMs - kBarsKeptMs, kDayMs));
        noteError(sqlite3_step(s));
        dropped = sqlite3_changes(db_) > 0;
    }
    if (rolled > 0 || dropped)
        exec("PRAGMA incremental_vacuum");
    if (damaged_)
        open(path_);
    return rolled;
}

HistoryStore::Span HistoryStore::read(Series series, qint64 fromMs, qint64 toMs) {
    Span span;
    if (!db_ || toMs <= fromMs)
        return span;
    const auto rows = [&](int index, const char* sql, qint64 step, const auto& take) {
        sqlite3_stmt* s = statement(index, sql);
        if (!s)
            return;
        const Used used{s};
        sqlite3_bind_int(s, 1, indexOf(series));
        sqlite3_bind_int64(s, 2, floorDiv(fromMs, step));
        sqlite3_bind_int64(s, 3, floorDiv(toMs - 1, step));
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            take(sqlite3_column_int64(s, 0) * step, blobOf(s, 1));
        noteError(rc);
    };
    rows(kDaysBetween, "SELECT day, data FROM bars WHERE day BETWEEN ?2 AND ?3 AND series = ?1 ORDER BY day",
         kDayMs, [&](qint64 origin, const QByteArray& bytes) {
             codec::unpackBars(bytes, origin, span.bars, fromMs, toMs);
         });
    rows(kSlotsBetween,
         "SELECT slot, data FROM changes WHERE slot BETWEEN ?2 AND ?3 AND series = ?1 ORDER BY slot", kSlotMs,
         [&](qint64 origin, const QByteArray& bytes) {
             codec::unpackChanges(bytes, origin, span.changes, fromMs, toMs);
         });
    // Out of order only after a clock was set back.
    const auto earlier = [](const Change& a, const Change& b) { return a.ms < b.ms; };
    if (!std::is_sorted(span.changes.begin(), span.changes.end(), earlier))
        std::stable_sort(span.changes.begin(), span.changes.end(), earlier);
    return span;
}

qint64 HistoryStore::firstMs() {
    sqlite3_stmt* s =
        statement(kFirst, "SELECT (SELECT min(day) FROM bars), (SELECT min(slot) FROM changes)");
    if (!s)
        return 0;
    const Used used{s};
    if (sqlite3_step(s) != SQLITE_ROW)
        return 0;
    qint64 first = 0;
    if (sqlite3_column_type(s, 0) != SQLITE_NULL)
        first = sqlite3_column_int64(s, 0) * kDayMs;
    if (sqlite3_column_type(s, 1) != SQLITE_NULL) {
        const qint64 slot = sqlite3_column_int64(s, 1) * kSlotMs;
        first = first == 0 ? slot : std::min(first, slot);
    }
    return first;
}

bool HistoryStore::appendAlerts(const QList<AlertRecord>& records) {
    return inTransaction([&] {
        sqlite3_stmt* s = statement(
            kAddAlert,
            "INSERT INTO alerts(ms, channel, bank, rule, threshold, price) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
        if (!s)
            return false;
        for (const AlertRecord& r : records) {
            const Used used{s};
            sqlite3_bind_int64(s, 1, r.ms);
            int index = 2;
            for (const QString* text : {&r.channel, &r.bank, &r.rule, &r.threshold, &r.price})
                bindText(s, index++, *text);
            const int rc = sqlite3_step(s);
            noteError(rc);
            if (rc != SQLITE_DONE)
                return false;
        }
        // Ids rise with every entry, so the newest alertsKept_ lie above this line.
        sqlite3_stmt* trim =
            statement(kTrimAlerts, "DELETE FROM alerts WHERE id <= (SELECT max(id) FROM alerts) - ?1");
        if (!trim)
            return false;
        const Used used{trim};
        sqlite3_bind_int(trim, 1, alertsKept_);
        const int rc = sqlite3_step(trim);
        noteError(rc);
        return rc == SQLITE_DONE;
    });
}

QList<AlertRecord> HistoryStore::alerts(int limit) {
    QList<AlertRecord> records;
    sqlite3_stmt* s =
        db_ ? statement(kReadAlerts, "SELECT ms, channel, bank, rule, threshold, price FROM alerts "
                                     "ORDER BY id DESC LIMIT ?1")
            : nullptr;
    if (!s)
        return records;
    // Sized once: a list grown row by row leaves its earlier buffers behind.
    records.reserve(std::min(limit, std::max(number("SELECT count(*) FROM alerts"), 0)));
    const Used used{s};
    sqlite3_bind_int(s, 1, limit);
    std::array<TextPool, 5> pools;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        records.append({sqlite3_column_int64(s, 0), pools[0].take(s, 1), pools[1].take(s, 2),
                        pools[2].take(s, 3), pools[3].take(s, 4), pools[4].take(s, 5)});
    noteError(rc);
    return records;
}

bool HistoryStore::clearAlerts() {
    if (!inTransaction([&] { return exec("DELETE FROM alerts"); }))
        return false;
    exec("PRAGMA incremental_vacuum");
    return true;
}
