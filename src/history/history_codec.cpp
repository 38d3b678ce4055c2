#include "history_codec.h"

#include <limits>

namespace history::codec {

namespace {

quint64 zigzag(qint64 v) {
    return (quint64(v) << 1) ^ quint64(v >> 63);
}

qint64 unzigzag(quint64 v) {
    return qint64(v >> 1) ^ -qint64(v & 1);
}

void putVarint(QByteArray& out, quint64 v) {
    while (v >= 0x80) {
        out.append(char(v | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

// Reads the bytes from `at` onwards, one number at a time.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}
    bool atEnd() const { return at_ >= bytes_.size(); }
    std::optional<quint64> varint() {
        quint64 v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (atEnd())
                return std::nullopt;
            const auto byte = quint8(bytes_[at_++]);
            v |= quint64(byte & 0x7f) << shift;
            if (!(byte & 0x80))
                return v;
        }
        return std::nullopt;
    }
    std::optional<qint64> signedVarint() {
        const auto v = varint();
        return v ? std::optional<qint64>(unzigzag(*v)) : std::nullopt;
    }

private:
    const QByteArray& bytes_;
    qsizetype at_ = 0;
};

// A price held in fen fits 32 bits; a larger difference means broken bytes.
bool fitsFen(qint64 v) {
    return v >= 0 && v <= 0x7fffffff;
}

} // namespace

QByteArray packChanges(const QList<Change>& changes, qint64 originMs) {
    QByteArray out;
    out.reserve(changes.size() * 4);
    qint64 ms = originMs;
    qint64 fen = 0;
    for (const Change& c : changes) {
        putVarint(out, zigzag(c.ms - ms));
        putVarint(out, zigzag(c.fen - fen));
        ms = c.ms;
        fen = c.fen;
    }
    return out;
}

std::optional<QList<Change>> unpackChanges(const QByteArray& bytes, qint64 originMs) {
    QList<Change> changes;
    if (!unpackChanges(bytes, originMs, changes, std::numeric_limits<qint64>::min(),
                       std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return changes;
}

bool unpackChanges(const QByteArray& bytes, qint64 originMs, QList<Change>& into, qint64 fromMs,
                   qint64 toMs) {
    const qsizetype before = into.size();
    Reader in(bytes);
    qint64 ms = originMs;
    qint64 fen = 0;
    while (!in.atEnd()) {
        const auto dt = in.signedVarint();
        const auto df = dt ? in.signedVarint() : std::nullopt;
        ms += dt ? *dt : 0;
        fen += df ? *df : 0;
        if (!df || !fitsFen(fen)) {
            into.resize(before);
            return false;
        }
        if (ms >= fromMs && ms < toMs)
            into.append({ms, Fen(fen)});
    }
    return true;
}

QByteArray packBars(const QList<Bar>& bars, qint64 originMs) {
    QByteArray out;
    out.reserve(bars.size() * 6);
    qint64 minute = originMs / kMinuteMs - 1;
    qint64 close = 0;
    for (const Bar& b : bars) {
        const qint64 m = b.ms / kMinuteMs;
        putVarint(out, quint64(m - minute - 1));
        putVarint(out, zigzag(b.open - close));
        putVarint(out, quint64(b.high - b.open));
        putVarint(out, quint64(b.open - b.low));
        putVarint(out, zigzag(b.close - b.open));
        minute = m;
        close = b.close;
    }
    return out;
}

std::optional<QList<Bar>> unpackBars(const QByteArray& bytes, qint64 originMs) {
    QList<Bar> bars;
    if (!unpackBars(bytes, originMs, bars, std::numeric_limits<qint64>::min(),
                    std::numeric_limits<qint64>::max()))
        return std::nullopt;
    return bars;
}

bool unpackBars(const QByteArray& bytes, qint64 originMs, QList<Bar>& into, qint64 fromMs, qint64 toMs) {
    const qsizetype before = into.size();
    Reader in(bytes);
    qint64 minute = originMs / kMinuteMs - 1;
    qint64 close = 0;
    while (!in.atEnd()) {
        const auto gap = in.varint();
        const auto open = gap ? in.signedVarint() : std::nullopt;
        const auto up = open ? in.varint() : std::nullopt;
        const auto down = up ? in.varint() : std::nullopt;
        const auto move = down ? in.signedVarint() : std::nullopt;
        if (!move || *gap > quint64(kDayMs) || *up > 0x7fffffff || *down > 0x7fffffff) {
            into.resize(before);
            return false;
        }
        minute += qint64(*gap) + 1;
        const qint64 o = close + *open;
        const qint64 h = o + qint64(*up);
        const qint64 l = o - qint64(*down);
        const qint64 c = o + *move;
        if (!fitsFen(o) || !fitsFen(h) || !fitsFen(l) || !fitsFen(c) || c > h || c < l) {
            into.resize(before);
            return false;
        }
        if (minute * kMinuteMs >= fromMs && minute * kMinuteMs < toMs)
            into.append({minute * kMinuteMs, Fen(o), Fen(h), Fen(l), Fen(c)});
        close = c;
    }
    return true;
}

} // namespace history::codec
