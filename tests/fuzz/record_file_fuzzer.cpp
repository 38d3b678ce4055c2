// A record file of any bytes (and a leftover journal of any bytes) opened as
// the program opens its files: it opens or is refused, never crashes, and a
// change it reports as kept is in the file when it is opened again.
#include "fuzz_file.h"
#include "records/passwords.h"
#include "records/record_file.h"

#include <cstdint>
#include <cstdio>
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlcipher/sqlite3.h>

namespace {

void readEverything(const RecordFile& file) {
    for (const QList<QVariant>& record : file.readAll())
        for (const QVariant& value : record)
            (void)value.toString();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // SQLite hands each new page cache a block of slots up front, sized by
    // the file's page size: megabytes per connection for a header that says
    // 64 KiB, freshly mapped under ASan every time. Pages come one by one
    // instead; the record file's own code is the same.
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int mode = input.ConsumeIntegralInRange(0, 3);
    const bool journal = input.ConsumeBool();
    const QByteArray journalBytes =
        journal ? QByteArray::fromStdString(input.ConsumeRandomLengthString(4096)) : QByteArray();
    const QByteArray bytes = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    const QString path = writeFuzzFile(QStringLiteral("record.edb"), bytes);
    QFile::remove(path + QStringLiteral("-journal"));
    if (journal)
        writeFuzzFile(QStringLiteral("record.edb-journal"), journalBytes);

    const QString password = mode == 3 ? recordpasswords::propertyPassword() : QString();
    const QList<RecordFile::Field> expected =
        mode == 0 ? recordpasswords::ledgerFields() : QList<RecordFile::Field>();
    RecordFile file;
    if (mode == 1) {
        if (file.openForReading(path, password)) {
            readEverything(file);
            FUZZ_CHECK(!file.appendBlank());
            file.close();
        }
        return 0;
    }
    if (!file.open(path, password, expected))
        return 0;
    readEverything(file);
    const int before = file.count();
    file.goLast();
    for (const RecordFile::Field& field : file.fields())
        (void)file.read(field.name);
    const bool appended = file.appendBlank();
    if (appended) {
        for (const RecordFile::Field& field : file.fields())
            file.write(field.name, QStringLiteral("12.5"));
    }
    if (file.close()) {
        RecordFile again;
        FUZZ_CHECK(again.openForReading(path, password));
        FUZZ_CHECK(again.count() == before + (appended ? 1 : 0));
    }
    return 0;
}
