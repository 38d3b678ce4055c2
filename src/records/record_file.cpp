#include "records/record_file.h"

#include "records/key_derivation.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <algorithm>
#include <cmath>
#include <limits>
#include <sqlcipher/sqlite3.h>

// The connection a primary handle owns; joined handles borrow it.
struct RecordFile::Connection {
    sqlite3* db = nullptr;
    bool changed = false; // something was written in the running transaction
    bool failed = false;  // a change failed: the transaction keeps nothing
    bool readOnly = false;
    int joins = 0;
    std::vector<RecordFile*> handles; // every open handle on this connection
};

namespace {

const QString tableName = QStringLiteral("records");
const QString dateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Waits out another handle's transaction on the same file (news worker and
// user-interface thread) rather than failing at once.
constexpr int busyTimeoutMs = 2000;

// The key derivation is slow by design (milliseconds), so it runs once per password
// per process; SQLCipher is then handed the raw key and skips its own.
constexpr int kdfIterations = 20000;

QByteArray rawKeyForm(const QString& password) {
    static QMutex mutex;
    static QHash<QString, QByteArray> keys;
    const QMutexLocker lock(&mutex);
    auto found = keys.constFind(password);
    if (found != keys.constEnd())
        return *found;
    const QByteArray key =
        recordkey::pbkdf2Sha256(password.toUtf8(), QByteArrayLiteral("Aurivex.edb/1"), kdfIterations, 32);
    if (key.isEmpty())
        return {};
    const QByteArray form = "x'" + key.toHex() + "'";
    keys.insert(password, form);
    return form;
}

QString quoted(const QString& identifier) {
    QString text = identifier;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

const char* typeName(RecordFile::FieldType type) {
    switch (type) {
    case RecordFile::FieldType::Integer:
        return "INTEGER";
    case RecordFile::FieldType::Decimal:
        return "REAL";
    case RecordFile::FieldType::Text:
        return "TEXT";
    case RecordFile::FieldType::DateTime:
        return "DATETIME";
    }
    return "TEXT";
}

std::optional<RecordFile::FieldType> typeOfName(const QString& name) {
    for (auto type : {RecordFile::FieldType::Integer, RecordFile::FieldType::Decimal,
                      RecordFile::FieldType::Text, RecordFile::FieldType::DateTime}) {
        if (name.compare(QLatin1String(typeName(type)), Qt::CaseInsensitive) == 0)
            return type;
    }
    return std::nullopt;
}

bool exec(sqlite3* db, const QByteArray& sql) {
    return sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool applyKey(sqlite3* db, const QString& password) {
    if (password.isEmpty())
        return true;
    // No key, no file: an empty key would leave a new file unencrypted.
    const QByteArray key = rawKeyForm(password);
    return !key.isEmpty() && exec(db, "PRAGMA key = \"" + key + "\"");
}

QString columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

// The fields of `schema`'s record table; empty when there is no such table or
// a column has a type no record file uses. Reading it also proves the key.
std::optional<QList<RecordFile::Field>> readFields(sqlite3* db, const QString& schema) {
    const QByteArray sql = ("PRAGMA " + quoted(schema) + ".table_info(" + quoted(tableName) + ")").toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    QList<RecordFile::Field> fields;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto type = typeOfName(columnText(statement, 2));
        if (!type) {
            rc = SQLITE_ERROR;
            break;
        }
        fields.append({columnText(statement, 1), *type});
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE || fields.isEmpty())
        return std::nullopt;
    return fields;
}

int toInteger(const QVariant& value) {
    bool ok = false;
    double number =
        value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    if (!ok || std::isnan(number))
        return 0;
    number = std::trunc(number);
    return static_cast<int>(
        std::clamp(number, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

double toDecimal(const QVariant& value) {
    bool ok = false;
    const double number =
        value.typeId() == QMetaType::QString ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    return ok ? number : 0.0;
}

QDateTime toDateTime(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return RecordFile::dateTimeOfText(value.toString().trimmed());
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    default:
        return value.toDateTime();
    }
}

void bindField(sqlite3_stmt* statement, int index, RecordFile::FieldType type, const QVariant& value) {
    switch (type) {
    case RecordFile::FieldType::Integer:
        sqlite3_bind_int(statement, index, toInteger(value));
        return;
    case RecordFile::FieldType::Decimal:
        sqlite3_bind_double(statement, index, toDecimal(value));
        return;
    case RecordFile::FieldType::Text: {
        const QString text = value.typeId() == QMetaType::QDateTime
                                 ? RecordFile::dateTimeText(value.toDateTime())
                                 : value.toString();
        const QByteArray bytes = text.toUtf8();
        sqlite3_bind_text(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    case RecordFile::FieldType::DateTime: {
        const QByteArray bytes = RecordFile::dateTimeText(toDateTime(value)).toUtf8();
        if (bytes.isEmpty())
            sqlite3_bind_null(statement, index);
        else
            sqlite3_bind_text(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

QVariant columnValue(sqlite3_stmt* statement, int column, RecordFile::FieldType type) {
    switch (type) {
    case RecordFile::FieldType::Integer: {
        const qint64 number = sqlite3_column_int64(statement, column);
        return int(
            std::clamp<qint64>(number, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }
    case RecordFile::FieldType::Decimal:
        return sqlite3_column_double(statement, column);
    case RecordFile::FieldType::Text:
        return columnText(statement, column);
    case RecordFile::FieldType::DateTime:
        if (sqlite3_column_type(statement, column) == SQLITE_NULL)
            return QDateTime();
        return RecordFile::dateTimeOfText(columnText(statement, column));
    }
    return {};
}

// The date-time of a text in exactly the stored form, taken apart by hand:
// lists read one per record, and the general parser takes some 25 µs for
// each. nullopt for any other text; the parser has the last word on those.
std::optional<QDateTime> storedDateTime(const QString& text) {
    static constexpr char form[] = "dddd-dd-dd dd:dd:dd";
    if (text.size() != qsizetype(sizeof form) - 1)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (form[i] == 'd' ? c < u'0' || c > u'9' : c != char16_t(form[i]))
            return std::nullopt;
    }
    auto number = [&text](qsizetype from, qsizetype length) {
        int value = 0;
        for (qsizetype i = from; i < from + length; ++i)
            value = value * 10 + (text[i].unicode() - u'0');
        return value;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    // QDateTime would take an invalid time for midnight; the parser refuses it.
    if (!QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return QDateTime();
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// A process killed while it changed or committed a file leaves the file's
// journal behind, and the file must be put back from it before anyone reads
// it. A read-only connection cannot do that (SQLite then refuses every read),
// so a writing connection opens the file once and reads it, which is what
// makes SQLite play the journal back. Joined files are done the same way: each
// file's journal names the shared one and is played back on its own file's
// first read. Failing here changes nothing; the open that follows reports it.
void rollBackLeftoverJournal(const QString& path, const QString& password) {
    if (!QFileInfo::exists(path + QStringLiteral("-journal")))
        return;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, busyTimeoutMs);
        if (applyKey(db, password))
            exec(db, "SELECT count(*) FROM sqlite_master");
    }
    sqlite3_close(db);
}

// Leaves a cached statement ready for its next use.
struct ResetOnExit {
    sqlite3_stmt* statement;
    ~ResetOnExit() {
        if (statement) {
            sqlite3_reset(statement);
            sqlite3_clear_bindings(statement);
        }
    }
};

// Attaches the file at `path` to `db` as `schema`, opened with `password`.
bool attachFile(sqlite3* db, const QString& schema, const QString& path, const QString& password) {
    sqlite3_stmt* attach = nullptr;
    const QByteArray sql = ("ATTACH DATABASE ?1 AS " + quoted(schema) + " KEY ?2").toUtf8();
    const QByteArray file = path.toUtf8();
    // Without a KEY the attached file would inherit the primary's key; an
    // empty one means a file without a password.
    const QByteArray key = password.isEmpty() ? QByteArray("") : rawKeyForm(password);
    bool attached = (password.isEmpty() || !key.isEmpty()) &&
                    sqlite3_prepare_v2(db, sql.constData(), -1, &attach, nullptr) == SQLITE_OK;
    if (attached) {
        sqlite3_bind_text(attach, 1, file.constData(), int(file.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(attach, 2, key.constData(), int(key.size()), SQLITE_TRANSIENT);
        attached = sqlite3_step(attach) == SQLITE_DONE;
    }
    sqlite3_finalize(attach);
    return attached;
}

} // namespace

RecordFile::RecordFile() = default;

RecordFile::~RecordFile() {
    close();
}

QString RecordFile::dateTimeText(const QDateTime& value) {
    if (!value.isValid())
        return {};
    return value.toLocalTime().toString(dateTimeFormat);
}

QDateTime RecordFile::dateTimeOfText(const QString& text) {
    if (const auto stored = storedDateTime(text))
        return *stored;
    return QDateTime::fromString(text, dateTimeFormat);
}

bool RecordFile::open(const QString& path, const QString& password, const QList<Field>& expected) {
    return openFile(path, password, false, expected);
}

bool RecordFile::openForReading(const QString& path, const QString& password, const QList<Field>& expected) {
    return openFile(path, password, true, expected);
}

bool RecordFile::openFile(const QString& path, const QString& password, bool readOnly,
                          const QList<Field>& expected) {
    close();
    // SQLite would refuse a missing file too; this also keeps folders out.
    if (!QFileInfo(path).isFile())
        return false;
    if (readOnly)
        rollBackLeftoverJournal(path, password);
    sqlite3* db = nullptr;
    const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const bool opened = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) == SQLITE_OK;
    auto connection = std::make_unique<Connection>();
    connection->db = db;
    connection->readOnly = readOnly;
    if (opened)
        sqlite3_busy_timeout(db, busyTimeoutMs);
    // Key and schema are checked before anything could write, so a wrong
    // password or a foreign file leaves the file untouched.
    std::optional<QList<Field>> fields;
    // A damaged file's pages are checked as they are read, so a broken cell
    // is reported as corruption instead of being read past its page.
    if (opened && (readOnly || !sqlite3_db_readonly(db, "main")) && applyKey(db, password) &&
        exec(db, "PRAGMA cell_size_check = ON"))
        fields = readFields(db, QStringLiteral("main"));
    if (fields && !expected.isEmpty() && *fields != expected)
        fields.reset();
    // Temporary data stays in memory, out of files outside the record file.
    const char* settings = readOnly ? "PRAGMA temp_store = MEMORY"
                                    : "PRAGMA temp_store = MEMORY; PRAGMA journal_mode = DELETE; "
                                      "PRAGMA synchronous = FULL";
    if (!fields || !exec(db, settings)) {
        sqlite3_close(db);
        return false;
    }
    // A reader takes a snapshot; a writer holds the file for its whole action.
    if (!exec(db, readOnly ? "BEGIN" : "BEGIN IMMEDIATE")) {
        sqlite3_close(db);
        return false;
    }
    own_ = std::move(connection);
    connection_ = own_.get();
    connection_->handles.push_back(this);
    schema_ = QStringLiteral("main");
    fields_ = *fields;
    loadRowIds();
    goFirst();
    return true;
}

bool RecordFile::openJoined(RecordFile& primary, const QString& path, const QString& password,
                            const QList<Field>& expected) {
    close();
    Connection* connection = primary.connection_;
    // ATTACH is refused inside a transaction, so the primary's is committed and
    // begun again around it; that is harmless only while nothing was changed.
    if (&primary == this || !connection || connection->changed || !primary.canChange())
        return false;
    // ATTACH would create a missing file.
    if (!QFileInfo(path).isFile())
        return false;
    sqlite3* db = connection->db;
    // A file attached twice would wait on its own lock.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const RecordFile* handle : connection->handles) {
        const char* name = sqlite3_db_filename(db, handle->schema_.toUtf8().constData());
        if (name && QFileInfo(QString::fromUtf8(name)).canonicalFilePath() == canonical)
            return false;
    }
    const QString schema = QStringLiteral("joined%1").arg(++connection->joins);
    if (!exec(db, "COMMIT"))
        return false;

    const bool attached = attachFile(db, schema, path, password);

    const QByteArray prefix = "PRAGMA " + quoted(schema).toUtf8();
    std::optional<QList<Field>> fields;
    if (attached && !sqlite3_db_readonly(db, schema.toUtf8().constData()))
        fields = readFields(db, schema);
    if (fields && !expected.isEmpty() && *fields != expected)
        fields.reset();
    if (fields && !exec(db, prefix + ".journal_mode = DELETE; " + prefix + ".synchronous = FULL"))
        fields.reset();
    if (attached && !fields)
        exec(db, "DETACH DATABASE " + quoted(schema).toUtf8());

    bool begun = exec(db, "BEGIN IMMEDIATE");
    if (fields && !begun) {
        exec(db, "DETACH DATABASE " + quoted(schema).toUtf8());
        fields.reset();
        begun = exec(db, "BEGIN IMMEDIATE");
    }
    // The primary's records may have changed while it was outside a transaction;
    // if it could not get one back, canChange() keeps it from writing.
    for (RecordFile* handle : connection->handles)
        handle->loadRowIds();
    if (!fields)
        return false;

    connection_ = connection;
    connection_->handles.push_back(this);
    schema_ = schema;
    fields_ = *fields;
    loadRowIds();
    goFirst();
    return true;
}

bool RecordFile::close() {
    if (!connection_)
        return true;
    if (!own_) {
        // A joined file stays attached until the primary commits both.
        const bool sound = !connection_->failed;
        std::erase(connection_->handles, this);
        dropStatements();
        forget();
        return sound;
    }
    for (RecordFile* handle : connection_->handles) {
        handle->dropStatements();
        if (handle != this)
            handle->forget();
    }
    sqlite3* db = connection_->db;
    bool kept = !connection_->failed;
    if (!sqlite3_get_autocommit(db)) {
        // A failed COMMIT (a full disk) may leave the transaction open; it is
        // rolled back so that the file stays as it was before the action.
        if (!kept || !exec(db, "COMMIT")) {
            kept = false;
            if (!sqlite3_get_autocommit(db))
                exec(db, "ROLLBACK");
        }
    }
    sqlite3_close(db);
    own_.reset();
    forget();
    return kept;
}

void RecordFile::cancel() {
    markFailed();
}

bool RecordFile::failed() const {
    return connection_ && connection_->failed;
}

void RecordFile::markFailed() {
    if (connection_)
        connection_->failed = true;
}

void RecordFile::forget() {
    connection_ = nullptr;
    schema_.clear();
    fields_.clear();
    rowIds_.clear();
    marked_.clear();
    current_ = 0;
}

bool RecordFile::isOpen() const {
    return connection_ != nullptr;
}

int RecordFile::count() const {
    return int(rowIds_.size());
}

void RecordFile::goTo(int n) {
    current_ = n >= 1 && n <= count() ? n : 0;
}

void RecordFile::goFirst() {
    goTo(1);
}

void RecordFile::goLast() {
    goTo(count());
}

int RecordFile::current() const {
    return current_;
}

QList<RecordFile::Field> RecordFile::fields() const {
    return fields_;
}

sqlite3* RecordFile::db() const {
    return connection_ ? connection_->db : nullptr;
}

QString RecordFile::table() const {
    return quoted(schema_) + u'.' + quoted(tableName);
}

int RecordFile::fieldIndex(const QString& field) const {
    for (qsizetype i = 0; i < fields_.size(); ++i) {
        if (fields_[i].name == field)
            return int(i);
    }
    return -1;
}

// Writes only ever happen inside the handle's transaction.
bool RecordFile::canChange() const {
    return connection_ && !connection_->readOnly && !sqlite3_get_autocommit(connection_->db);
}

sqlite3_stmt* RecordFile::cached(const QString& key, const QString& sql) const {
    for (const auto& [cachedKey, statement] : statements_) {
        if (cachedKey == key)
            return statement;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db(), sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    statements_.emplace_back(key, statement);
    return statement;
}

void RecordFile::dropStatements() const {
    for (const auto& entry : statements_)
        sqlite3_finalize(entry.second);
    statements_.clear();
}

bool RecordFile::execute(const QString& sql) {
    if (!canChange())
        return false;
    if (!exec(db(), sql.toUtf8())) {
        markFailed();
        return false;
    }
    connection_->changed = true;
    return true;
}

void RecordFile::loadRowIds() {
    rowIds_.clear();
    sqlite3_stmt* statement =
        cached(QStringLiteral("rowids"), "SELECT rowid FROM " + table() + " ORDER BY rowid");
    const ResetOnExit reset{statement};
    while (statement && sqlite3_step(statement) == SQLITE_ROW)
        rowIds_.push_back(sqlite3_column_int64(statement, 0));
    std::erase_if(marked_,
                  [this](qint64 id) { return !std::binary_search(rowIds_.begin(), rowIds_.end(), id); });
    if (current_ > count())
        current_ = count();
}

QVariant RecordFile::read(const QString& field) const {
    const int index = fieldIndex(field);
    if (current_ == 0 || index < 0)
        return {};
    sqlite3_stmt* statement =
        cached(u"read:"_qs + field, "SELECT " + quoted(field) + " FROM " + table() + " WHERE rowid = ?1");
    const ResetOnExit reset{statement};
    if (!statement)
        return {};
    sqlite3_bind_int64(statement, 1, rowIds_[current_ - 1]);
    if (sqlite3_step(statement) != SQLITE_ROW)
        return {};
    return columnValue(statement, 0, fields_[index].type);
}

bool RecordFile::write(const QString& field, const QVariant& value) {
    QList<std::optional<QVariant>> values(fields_.size());
    const int index = fieldIndex(field);
    if (index < 0)
        return false;
    values[index] = value;
    return modify(values);
}

bool RecordFile::modify(const QList<std::optional<QVariant>>& values) {
    if (current_ == 0 || !canChange() || values.size() > fields_.size())
        return false;
    QString assignments;
    QString key = u"modify:"_qs;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (!values[i])
            continue;
        if (!assignments.isEmpty())
            assignments += u", ";
        assignments += quoted(fields_[i].name) + u" = ?"_qs + QString::number(i + 1);
        key += QString::number(i) + u',';
    }
    if (assignments.isEmpty())
        return true;
    sqlite3_stmt* statement = cached(key, "UPDATE " + table() + " SET " + assignments + " WHERE rowid = ?" +
                                              QString::number(fields_.size() + 1));
    const ResetOnExit reset{statement};
    if (!statement) {
        markFailed();
        return false;
    }
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (values[i])
            bindField(statement, int(i + 1), fields_[i].type, *values[i]);
    }
    sqlite3_bind_int64(statement, int(fields_.size() + 1), rowIds_[current_ - 1]);
    if (sqlite3_step(statement) != SQLITE_DONE) {
        markFailed();
        return false;
    }
    connection_->changed = true;
    return true;
}

bool RecordFile::appendBlank() {
    // Until the new record exists, no record is current.
    current_ = 0;
    if (!canChange())
        return false;
    QStringList blanks;
    for (const Field& field : fields_) {
        switch (field.type) {
        case FieldType::Integer:
            blanks << u"0"_qs;
            break;
        case FieldType::Decimal:
            blanks << u"0.0"_qs;
            break;
        case FieldType::Text:
            blanks << u"''"_qs;
            break;
        case FieldType::DateTime:
            blanks << u"NULL"_qs;
            break;
        }
    }
    if (!execute("INSERT INTO " + table() + " VALUES (" + blanks.join(u", ") + ")"))
        return false;
    // Without AUTOINCREMENT a new rowid is the largest plus one: always last.
    rowIds_.push_back(sqlite3_last_insert_rowid(db()));
    current_ = count();
    return true;
}

void RecordFile::markDeleted() {
    if (current_ == 0)
        return;
    const qint64 id = rowIds_[current_ - 1];
    if (std::find(marked_.begin(), marked_.end(), id) == marked_.end())
        marked_.push_back(id);
}

bool RecordFile::purgeDeleted() {
    if (marked_.empty())
        return true;
    if (!canChange())
        return false;
    for (qint64 id : marked_) {
        if (!execute("DELETE FROM " + table() + " WHERE rowid = " + QString::number(id)))
            return false;
        std::erase(rowIds_, id);
    }
    marked_.clear();
    goFirst();
    return true;
}

bool RecordFile::clear() {
    if (!execute("DELETE FROM " + table()))
        return false;
    rowIds_.clear();
    marked_.clear();
    current_ = 0;
    return true;
}

QList<QList<QVariant>> RecordFile::readAll(const QStringList& fields) const {
    if (!connection_)
        return {};
    QList<int> indexes;
    QStringList columns;
    for (const QString& field : fields) {
        const int index = fieldIndex(field);
        if (index < 0)
            return {};
        indexes << index;
    }
    if (fields.isEmpty()) {
        for (qsizetype i = 0; i < fields_.size(); ++i)
            indexes << int(i);
    }
    for (int index : indexes)
        columns << quoted(fields_[index].name);
    const QString list = columns.join(u", ");
    sqlite3_stmt* statement =
        cached(u"readAll:"_qs + list, "SELECT " + list + " FROM " + table() + " ORDER BY rowid");
    const ResetOnExit reset{statement};
    if (!statement)
        return {};
    QList<QList<QVariant>> records;
    records.reserve(count());
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QList<QVariant> values;
        values.reserve(indexes.size());
        for (qsizetype i = 0; i < indexes.size(); ++i)
            values << columnValue(statement, int(i), fields_[indexes[i]].type);
        records << values;
    }
    return records;
}

bool RecordFile::writeColumn(const QString& field, const QList<std::optional<QVariant>>& values) {
    const int index = fieldIndex(field);
    if (index < 0 || values.size() > count() || !canChange())
        return false;
    if (std::none_of(values.begin(), values.end(), [](const auto& value) { return value.has_value(); }))
        return true;
    sqlite3_stmt* statement = cached(u"column:"_qs + field, "UPDATE " + table() + " SET " + quoted(field) +
                                                                " = ?1 WHERE rowid = ?2");
    if (!statement) {
        markFailed();
        return false;
    }
    // A savepoint makes the column all or nothing within the open transaction.
    if (!exec(db(), "SAVEPOINT write_column")) {
        markFailed();
        return false;
    }
    bool done = true;
    for (qsizetype i = 0; done && i < values.size(); ++i) {
        if (!values[i])
            continue;
        const ResetOnExit reset{statement};
        bindField(statement, 1, fields_[index].type, *values[i]);
        sqlite3_bind_int64(statement, 2, rowIds_[i]);
        done = sqlite3_step(statement) == SQLITE_DONE;
    }
    if (!done) {
        exec(db(), "ROLLBACK TO write_column");
        markFailed();
    }
    exec(db(), "RELEASE write_column");
    if (done)
        connection_->changed = true;
    return done;
}

bool RecordFile::create(const QString& path, const QString& password, const QList<Field>& fields) {
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink() || fields.isEmpty())
        return false;
    QStringList names;
    QStringList columns;
    for (const Field& field : fields) {
        if (field.name.isEmpty() || names.contains(field.name))
            return false;
        names << field.name;
        columns << quoted(field.name) + u' ' + QLatin1String(typeName(field.type));
    }
    sqlite3* db = nullptr;
    bool done = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                nullptr) == SQLITE_OK;
    done = done && applyKey(db, password) &&
           exec(db, ("CREATE TABLE " + quoted(tableName) + " (" + columns.join(u", ") + ")").toUtf8());
    sqlite3_close(db);
    if (!done)
        QFile::remove(path);
    return done;
}
