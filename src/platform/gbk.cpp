#include "gbk.h"

#include <QList>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// One iconv descriptor per direction and thread, opened on first use: opening
// loads and unloads the converter module each time, which cost more than the
// conversion of a short text.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts with iconv, replacing every unconvertible input unit by `replacement`
// and stepping past it by `skip` bytes.
QByteArray convert(const Converter& converter, const QByteArray& input, const QByteArray& replacement,
                   size_t skip) {
    if (!converter.valid())
        return {};
    iconv_t cd = converter.get();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    QByteArray output;
    output.reserve(input.size() * 2 + 16);
    char buffer[4096];
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<qsizetype>(out - buffer));
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (a truncated sequence at the end): replace and step on.
        output += replacement;
        const size_t step = std::min(skip, inLeft);
        in += step;
        inLeft -= step;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return output;
}

} // namespace

namespace gbk {

QByteArray encode(const QString& text) {
    // UTF-32 input lets a failed character be skipped as one whole unit.
    const QList<uint> units = text.toUcs4();
    const QByteArray utf32(reinterpret_cast<const char*>(units.constData()),
                           units.size() * static_cast<qsizetype>(sizeof(uint)));
    thread_local const Converter toGbk("GBK", Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-32LE" : "UTF-32BE");
    return convert(toGbk, utf32, QByteArrayLiteral("?"), 4);
}

QString decode(const QByteArray& bytes) {
    thread_local const Converter fromGbk("UTF-8", "GBK");
    const QByteArray utf8 = convert(fromGbk, bytes, QByteArrayLiteral("\xEF\xBF\xBD"), 1);
    return QString::fromUtf8(utf8);
}

} // namespace gbk
