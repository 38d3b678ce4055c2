// Open-and-close times of record files: the first keyed open of a process
// (which pays the key derivation), further keyed opens of the property file,
// and opens of a file without a password. Prints figures; asserts nothing.
#include "figure.h"
#include "records/passwords.h"
#include "records/record_file.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const QString createFlag = QStringLiteral("--create-in");

bool makeFile(const QString& path, const QString& password, const QList<RecordFile::Field>& fields) {
    if (!RecordFile::create(path, password, fields))
        return false;
    RecordFile file;
    if (!file.open(path, password))
        return false;
    file.appendBlank();
    return true;
}

// Milliseconds for `runs` open-read-close rounds; negative when an open failed.
double timeOpens(const QString& path, const QString& password, int runs) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i) {
        RecordFile file;
        if (!file.open(path, password))
            return -1;
        file.read(file.fields().first().name);
        file.close();
    }
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString password = recordpasswords::propertyPassword();
    if (args.size() == 3 && args[1] == createFlag) {
        const bool made = makeFile(args[2] + QStringLiteral("/property.edb"), password,
                                   recordpasswords::propertyFields()) &&
                          makeFile(args[2] + QStringLiteral("/transaction.edb"), QString(),
                                   recordpasswords::transactionFields());
        return made ? 0 : 1;
    }
    // The files come from another process, so this one has no key cached yet.
    QTemporaryDir dir;
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {createFlag, dir.path()}) != 0) {
        std::fprintf(stderr, "could not create the files\n");
        return 1;
    }
    const QString property = dir.filePath(QStringLiteral("property.edb"));
    const QString plain = dir.filePath(QStringLiteral("transaction.edb"));
    printFigure("record file: first keyed open (derives the key)", timeOpens(property, password, 1), "ms");
    printFigure("record file: further keyed open", timeOpens(property, password, 100) / 100, "ms");
    printFigure("record file: open without a password", timeOpens(plain, QString(), 100) / 100, "ms");
    return 0;
}
