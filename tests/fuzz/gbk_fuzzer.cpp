// GBK both ways: any bytes decode, and what GBK can hold survives the trip.
#include "fuzz_file.h"
#include "platform/gbk.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = gbk::decode(bytes);
    // Decoding never loses a byte's worth of text: every byte yields at most one character.
    FUZZ_CHECK(text.size() <= bytes.size());
    const QByteArray again = gbk::encode(text);
    // Text decoded from GBK is GBK text: encoding it and decoding again gives it back
    // (U+FFFD, which GBK lacks, comes back as "?").
    QString expected = text;
    expected.replace(QChar(0xFFFD), u'?');
    FUZZ_CHECK(gbk::decode(again) == expected);
    // Bytes read as UTF-16 text: encoding never fails, and a "?" stands for what GBK lacks.
    const QString wide = QString::fromUtf16(reinterpret_cast<const char16_t*>(data), qsizetype(size / 2));
    const QByteArray encoded = gbk::encode(wide);
    FUZZ_CHECK(encoded.size() <= 2 * wide.size());
    FUZZ_CHECK(gbk::decode(encoded).size() <= wide.size());
    return 0;
}
