#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One handle on one record file: an ordered list of records with named, typed
// fields, kept in an SQLCipher database with a single table. Everything done
// between open() and close() is one transaction, so a user action's changes
// reach the file together or not at all, even if the process dies midway.
class RecordFile {
public:
    enum class FieldType { Integer, Decimal, Text, DateTime };
    struct Field {
        QString name;
        FieldType type;
        bool operator==(const Field&) const = default;
    };

    RecordFile();
    ~RecordFile(); // closes, committing
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens an existing record file; never creates a file or folder. An empty
    // password is for a file without one. Fails, changing nothing, for a
    // missing or unreadable file, a password that does not match, a file that
    // is not a record file, or one whose fields differ from `expected` (when
    // given): a file laid out otherwise would have its fields mixed up. The
    // first record (if any) becomes current. A change that a crash cut short
    // is rolled back first. While another handle has the file open, waits up
    // to 2 s for its close.
    bool open(const QString& path, const QString& password, const QList<Field>& expected = {});
    // Opens for reading only: a snapshot of the file that waits for no
    // writer, for actions that only look. Every change through this handle is
    // refused. A change that a crash cut short is still rolled back first,
    // which needs write access for that moment.
    bool openForReading(const QString& path, const QString& password, const QList<Field>& expected = {});
    // Opens a second file inside `primary`'s transaction: closing `primary`
    // commits both files atomically. Must be called before anything was
    // changed through `primary`, and not for a file already open on it. This
    // handle's close() only ends its use.
    bool openJoined(RecordFile& primary, const QString& path, const QString& password,
                    const QList<Field>& expected = {});
    // Commits and releases; true when every change made through the handle
    // (and the handles joined to it) is in the file. Once a change failed, or
    // when the commit itself fails (a full disk), nothing of the transaction
    // is kept and the result is false. On a joined handle it only ends its
    // use, reporting whether the shared transaction is still sound. Safe to
    // call when closed or never opened.
    bool close();
    // Gives the transaction up: close() then keeps nothing of it (on a joined
    // handle: nothing of the shared transaction) and reports false.
    void cancel();
    bool isOpen() const;
    // A change through this handle's transaction has failed: close() will
    // keep nothing.
    bool failed() const;

    // Records are numbered 1..count() in storage order; 0 means none.
    int count() const;
    void goTo(int n); // out of range leaves no current record
    void goFirst();
    void goLast();
    int current() const;

    // int, double, QString or QDateTime (null when empty); an invalid QVariant
    // when there is no current record or no such field.
    QVariant read(const QString& field) const;
    // Converts `value` to the field's type (a fraction written to an integer
    // field is dropped). False when there is no current record or no such field.
    bool write(const QString& field, const QVariant& value);
    // Sets fields 1..values.size() by position; nullopt leaves a field as it is.
    // False, changing nothing, when there is no current record.
    bool modify(const QList<std::optional<QVariant>>& values);
    // Appends a record with every field empty (0, 0.0, "", null date-time) and
    // makes it current. On failure no record is current, so the writes that
    // were meant for the new record cannot land on another one.
    bool appendBlank();
    // Marks the current record; purgeDeleted() removes the marked records.
    // Marks not purged before close() are forgotten.
    void markDeleted();
    // Removes the marked records; the first remaining record becomes current.
    bool purgeDeleted();
    // Removes every record.
    bool clear();

    // Bulk forms for files with many records, one statement each instead of
    // one per record. They leave the current record as it is.
    //
    // Every record's values of `fields` (every field in file order when
    // empty), in record order, typed as read() gives them. Empty when the
    // handle is not open or a field is unknown.
    QList<QList<QVariant>> readAll(const QStringList& fields = {}) const;
    // Sets `field` of records 1..values.size() as write() would; nullopt
    // leaves a record's value as it is. False, changing nothing, for an
    // unknown field, more values than records, or a handle that cannot write.
    bool writeColumn(const QString& field, const QList<std::optional<QVariant>>& values);

    QList<Field> fields() const;

    // Creates a record file with no records; fails if `path` exists. Only the
    // installation tools create record files.
    static bool create(const QString& path, const QString& password, const QList<Field>& fields);

    // The date-time form kept in the file: local time, to the second.
    static QString dateTimeText(const QDateTime& value);
    static QDateTime dateTimeOfText(const QString& text);

private:
    struct Connection;

    bool openFile(const QString& path, const QString& password, bool readOnly, const QList<Field>& expected);
    void markFailed();
    bool attachTable(const QString& schema);
    void loadRowIds();
    int fieldIndex(const QString& field) const;
    bool canChange() const;
    bool execute(const QString& sql);
    sqlite3* db() const;
    QString table() const;
    sqlite3_stmt* cached(const QString& key, const QString& sql) const;
    void dropStatements() const;
    void forget();

    std::unique_ptr<Connection> own_; // set on a primary handle
    Connection* connection_ = nullptr;
    QString schema_; // "main", or the joined file's name on the connection
    QList<Field> fields_;
    std::vector<qint64> rowIds_; // in record order
    std::vector<qint64> marked_;
    int current_ = 0;
    mutable std::vector<std::pair<QString, sqlite3_stmt*>> statements_;
};
