// config.ini as a user could leave it, read and then written: a write that
// reports success reads back, every other key keeps its value, and a refused
// write leaves the file byte for byte.
#include "fuzz_file.h"
#include "platform/gbk.h"
#include "settings/settings_store.h"

#include <cstdint>
#include <cstdio>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

QString name(FuzzedDataProvider& input) {
    return gbk::decode(QByteArray::fromStdString(input.ConsumeRandomLengthString(24)));
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const QString section = name(input);
    const QString key = name(input);
    const QString value = name(input);
    const QString otherSection = input.ConsumeBool() ? section : name(input);
    const QString otherKey = name(input);
    const QByteArray old = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());
    const QString path = writeFuzzFile(QStringLiteral("config.ini"), old);

    // Each check reads the file the way one action does: once, into a snapshot.
    const settings::Snapshot before = settings::Snapshot::load(path);
    const QString otherBefore = before.item(otherSection, otherKey);
    const bool otherExisted = before.keyExists(otherSection, otherKey);
    if (settings::writeItem(path, section, key, value)) {
        const settings::Snapshot after = settings::Snapshot::load(path);
        FUZZ_CHECK(after.item(section, key) == value);
        FUZZ_CHECK(after.keyExists(section, key));
        if (otherSection != section || otherKey != key) {
            FUZZ_CHECK(after.item(otherSection, otherKey) == otherBefore);
            FUZZ_CHECK(after.keyExists(otherSection, otherKey) == otherExisted);
        }
    } else {
        FUZZ_CHECK(fileBytes(path) == old);
    }
    return 0;
}
