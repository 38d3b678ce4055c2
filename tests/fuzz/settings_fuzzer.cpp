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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

    const QString otherBefore = settings::readItem(path, otherSection, otherKey);
    const bool otherExisted = settings::keyExists(path, otherSection, otherKey);
    if (settings::writeItem(path, section, key, value)) {
        FUZZ_CHECK(settings::readItem(path, section, key) == value);
        FUZZ_CHECK(settings::keyExists(path, section, key));
        if (otherSection != section || otherKey != key) {
            FUZZ_CHECK(settings::readItem(path, otherSection, otherKey) == otherBefore);
            FUZZ_CHECK(settings::keyExists(path, otherSection, otherKey) == otherExisted);
        }
    } else {
        FUZZ_CHECK(fileBytes(path) == old);
    }
    return 0;
}
